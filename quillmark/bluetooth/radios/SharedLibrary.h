#pragma once
// A shared library loaded by file name from the library search path, and its entry points bound
// by name. The library stays loaded while the object lives.

#include <string>

namespace qm::bt {

class TSharedLibrary {
public:
    TSharedLibrary() = default;
    TSharedLibrary(const TSharedLibrary&) = delete;
    TSharedLibrary& operator=(const TSharedLibrary&) = delete;
    ~TSharedLibrary();

    // Loads the library; false when it cannot be found or is not a loadable library.
    bool Load(const char* fileName);
    bool Loaded() const { return handle_ != nullptr; }
    void Unload();
    // Leaves the library loaded for the rest of the process, whatever becomes of this object.
    void KeepLoaded() { handle_ = nullptr; }

    // The entry point of that name, or null when the library does not export it.
    template <class TFunction>
    TFunction Bind(const char* name) const {
        return reinterpret_cast<TFunction>(Symbol(name));
    }

private:
    void* Symbol(const char* name) const;

    void* handle_ = nullptr;
};

// Whether a file of that name lies in one of the directories the dynamic loader searches for the
// program's libraries (the library path of the environment, the program's run path, the system's
// directories). The file is not opened.
bool IsOnLibrarySearchPath(const std::string& fileName);

}  // namespace qm::bt
