#pragma once
// A fresh temporary directory for one test, removed with everything in it at the end.
// With Chdir::Yes the process works inside it meanwhile (code that reads files such as
// "trace.conf" from the current directory then sees only what the test put there).

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <stdexcept>
#include <cstdlib>

namespace testsupport {

class ScopedTempDir {
public:
    enum class Chdir { No, Yes };

    explicit ScopedTempDir(Chdir chdir = Chdir::No) {
        std::string pattern = (std::filesystem::temp_directory_path() / "qmtest-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
        if (chdir == Chdir::Yes) {
            previous_ = std::filesystem::current_path();
            std::filesystem::current_path(path_);
        }
    }
    ~ScopedTempDir() {
        std::error_code ec;
        if (!previous_.empty()) std::filesystem::current_path(previous_, ec);
        std::filesystem::remove_all(path_, ec);
    }
    ScopedTempDir(const ScopedTempDir&) = delete;
    ScopedTempDir& operator=(const ScopedTempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

    // Writes a file below the directory, bytes as given.
    std::filesystem::path write(std::string_view name, std::string_view bytes) const {
        auto file = path_ / name;
        std::ofstream out(file, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file;
    }

    // Reads a file below the directory (or any path), bytes as stored; empty when missing.
    static std::string read(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

}  // namespace testsupport
