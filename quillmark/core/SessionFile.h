#pragma once
// The session file "Quillmark.dat": loading at start-up, saving whole at every save.
//
// A save copies the devices under the device list's lock and, after releasing it, makes the text
// in memory and writes it to a temporary file beside the session file (beside its target when the
// session file is a symbolic link), flushes it to disk and renames it over the session file, so a
// failed save never leaves a truncated file; in a directory that takes no new file, a writable
// session file is rewritten in place and flushed instead. A save of the text that the last save
// wrote is left out while the file is as that save left it. A file that the reader rejects is
// kept under a new name ("Quillmark.dat.rejected-YYYYMMDD-HHMMSS") before a fresh session is
// used, so that a later save does not destroy it.

#include <memory>
#include <string>
#include <string_view>

#include "quillmark/core/Clock.h"
#include "quillmark/core/FileSystem.h"
#include "quillmark/core/SessionState.h"

namespace qm {

inline constexpr std::string_view kSessionFileName = "Quillmark.dat";

// The session file in a directory given with its final slash (as ProgramDirectory gives it).
std::string SessionFilePath(const std::string& directory);

// The session stored at the path, or a fresh one when there is none or the reader rejects it.
// First removes the temporary files that saves of processes no longer running left beside the
// file. Never fails.
std::unique_ptr<TSessionState> LoadSession(const std::string& path, const IClock& clock = SystemClock(),
                                           IFileSystem& files = PosixFileSystem());

// Writes the session to the path, unless the file already holds the text that the last save to
// the path wrote (LastSaves.h). Throws TError: "Unable to create file: " and the path when the
// file cannot be created, otherwise an error naming the file.
void SaveSession(TSessionState& state, const std::string& path, IFileSystem& files = PosixFileSystem());

// What reading a session file gave, with the reason of a failure.
struct TSessionFileRead {
    enum class TOutcome { Loaded, Unreadable, Rejected };
    TOutcome outcome;
    std::unique_ptr<TSessionState> state;  // when Loaded
    std::string reason;                    // otherwise: one line, naming the line for Rejected
};
TSessionFileRead ReadSessionFile(const std::string& path, const IClock& clock, IFileSystem& files);

}  // namespace qm
