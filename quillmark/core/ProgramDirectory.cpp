#include "quillmark/core/ProgramDirectory.h"

#include <unistd.h>

#include <climits>

namespace qm {

std::string DirectoryOfFile(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) return "./";
    return std::string(path.substr(0, slash + 1));
}

std::string ProgramDirectory() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof path) return {};
    return DirectoryOfFile(std::string_view(path, static_cast<std::size_t>(length)));
}

}  // namespace qm
