#include "FakeLibraryPath.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace radiotest {

namespace {

constexpr const char* kDirectoryVariable = "QM_FAKE_LIBRARY_PATH";

std::vector<std::string> CommandLine() {
    std::ifstream file("/proc/self/cmdline", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::vector<std::string> arguments;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\0', start);
        arguments.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return arguments;
}

void StartAgainWithDirectory() {
    std::string directory = (std::filesystem::temp_directory_path() / "qm-radio-libs-XXXXXX").string();
    if (::mkdtemp(directory.data()) == nullptr) std::abort();
    const char* previous = std::getenv("LD_LIBRARY_PATH");
    ::setenv("LD_LIBRARY_PATH", (previous ? directory + ":" + previous : directory).c_str(), 1);
    ::setenv(kDirectoryVariable, directory.c_str(), 1);
    std::vector<std::string> arguments = CommandLine();
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    ::execv("/proc/self/exe", argv.data());
    std::abort();
}

// Started again, the process removes its directory when it ends.
struct TStartup {
    TStartup() {
        if (std::getenv(kDirectoryVariable) == nullptr) StartAgainWithDirectory();
    }
    ~TStartup() {
        std::error_code error;
        std::filesystem::remove_all(FakeLibraryPath::Directory(), error);
    }
} startup;

}  // namespace

std::filesystem::path FakeLibraryPath::Directory() { return std::getenv(kDirectoryVariable); }

void FakeLibraryPath::Clear() {
    for (const auto& entry : std::filesystem::directory_iterator(Directory())) std::filesystem::remove(entry.path());
}

void FakeLibraryPath::Install(std::string_view variant, std::string_view fileName) {
    const std::filesystem::path built = std::filesystem::path(QM_FAKE_RADIO_LIBRARIES_DIR) / variant / fileName;
    std::filesystem::create_symlink(built, Directory() / fileName);
}

void FakeLibraryPath::Write(std::string_view fileName, std::string_view bytes) {
    std::ofstream(Directory() / fileName, std::ios::binary) << bytes;
}

}  // namespace radiotest
