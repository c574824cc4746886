#pragma once
// A directory of this test process's own on the library search path. The loader reads the search
// path only when a program starts, so the test program starts itself once more with the directory
// on it before main runs; tests then put fake libraries into it (or leave them out) by file name.

#include <filesystem>
#include <string>
#include <string_view>

namespace radiotest {

class FakeLibraryPath {
public:
    // Empties the directory: no radio library is on the search path.
    static void Clear();
    // Places the built fake (variant folder, file name) under its file name.
    static void Install(std::string_view variant, std::string_view fileName);
    // Places a file with these bytes under this name.
    static void Write(std::string_view fileName, std::string_view bytes);
    static std::filesystem::path Directory();
};

}  // namespace radiotest
