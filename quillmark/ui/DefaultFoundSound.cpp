#include "quillmark/ui/DefaultFoundSound.h"

#include <sys/stat.h>
#include <unistd.h>

#include "quillmark/core/SessionState.h"

namespace qm::ui {

namespace {

bool IsReadableRegularFile(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && ::access(path.c_str(), R_OK) == 0;
}

}  // namespace

std::string DefaultFoundSoundFile(const std::string& programDirectory) {
    const std::string besideProgram = programDirectory + "found.wav";
    if (IsReadableRegularFile(besideProgram)) return besideProgram;
    return programDirectory + "../share/quillmark/sounds/found.wav";
}

std::string ChooseFoundSoundFile(const std::string& path, const std::string& defaultWav) {
    if (path.empty()) return {};
    if (path == kDefaultFoundSound || !IsReadableRegularFile(path)) return defaultWav;
    return path;
}

}  // namespace qm::ui
