#pragma once
// Which wave file a found sound plays. The session keeps its path as stored; a path that cannot
// be played here (the Windows default, a missing file, a directory) falls back to the chime
// installed with the program.

#include <string>

namespace qm::ui {

// The installed chime for a program in programDirectory (ending with "/"): "found.wav" beside
// the program when it is there (the build tree), else "../share/quillmark/sounds/found.wav"
// relative to it (an installed program). Gives the installed path when neither exists.
std::string DefaultFoundSoundFile(const std::string& programDirectory);

// The file to play for the session's path: empty for an empty path (silence); defaultWav for the
// Windows default path or a path that names no readable regular file; otherwise the path itself.
std::string ChooseFoundSoundFile(const std::string& path, const std::string& defaultWav);

}  // namespace qm::ui
