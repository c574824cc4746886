#include "quillmark/bluetooth/radios/SharedLibrary.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <utility>
#include <vector>

namespace qm::bt {

TSharedLibrary::~TSharedLibrary() { Unload(); }

bool TSharedLibrary::Load(const char* fileName) {
    Unload();
    handle_ = ::dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
    return handle_ != nullptr;
}

void TSharedLibrary::Unload() {
    if (handle_ != nullptr) ::dlclose(std::exchange(handle_, nullptr));
}

void* TSharedLibrary::Symbol(const char* name) const {
    return handle_ != nullptr ? ::dlsym(handle_, name) : nullptr;
}

namespace {

// The directories the loader would search for a library loaded by the program itself.
std::vector<std::string> LibrarySearchDirectories() {
    void* program = ::dlopen(nullptr, RTLD_LAZY);
    if (program == nullptr) return {};
    std::vector<std::string> directories;
    Dl_serinfo size{};
    if (::dlinfo(program, RTLD_DI_SERINFOSIZE, &size) == 0 && size.dls_size >= sizeof(Dl_serinfo)) {
        std::vector<unsigned char> storage(size.dls_size);
        auto* info = reinterpret_cast<Dl_serinfo*>(storage.data());
        *info = size;
        if (::dlinfo(program, RTLD_DI_SERINFO, info) == 0)
            for (unsigned i = 0; i < info->dls_cnt; ++i) directories.emplace_back(info->dls_serpath[i].dls_name);
    }
    ::dlclose(program);
    return directories;
}

}  // namespace

bool IsOnLibrarySearchPath(const std::string& fileName) {
    for (const std::string& directory : LibrarySearchDirectories()) {
        struct stat status {};
        const std::string path = (directory.empty() ? std::string(".") : directory) + "/" + fileName;
        if (::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode)) return true;
    }
    return false;
}

}  // namespace qm::bt
