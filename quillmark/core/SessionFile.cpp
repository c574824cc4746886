#include "quillmark/core/SessionFile.h"

#include <ctime>
#include <mutex>
#include <vector>

#include "quillmark/base/SystemErrorText.h"
#include "quillmark/core/DeviceFields.h"
#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/LastSaves.h"
#include "quillmark/core/ObjectReader.h"
#include "quillmark/core/SafeFileWriter.h"
#include "quillmark/core/SessionText.h"
#include "quillmark/core/TemporaryFiles.h"
#include "quillmark/core/Trace.h"

namespace qm {

namespace {

// "YYYYMMDD-HHMMSS" in local time.
std::string FileTimeStamp(std::int32_t now) {
    const std::time_t value = now;
    std::tm local{};
    ::localtime_r(&value, &local);
    char text[32];
    return std::string(text, std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local));
}

// Moves a rejected session file out of the way of the next save, under a name no file has yet.
void KeepRejectedFile(const std::string& path, const std::string& reason, const IClock& clock,
                      IFileSystem& files) {
    const std::string base = path + ".rejected-" + FileTimeStamp(clock.Now());
    std::string kept = base;
    for (int number = 1; files.Exists(kept); ++number) kept = base + "-" + std::to_string(number);
    if (const int error = files.Rename(path, kept)) {
        QM_TRACE("LoadSession", 1, "Unable to keep the rejected session file %s (%s): %s", path.c_str(),
                 reason.c_str(), SystemErrorText(error).c_str());
        return;
    }
    QM_TRACE("LoadSession", 1, "Session file %s rejected (%s), kept as %s", path.c_str(), reason.c_str(),
             kept.c_str());
}

}  // namespace

std::string SessionFilePath(const std::string& directory) {
    return directory + std::string(kSessionFileName);
}

TSessionFileRead ReadSessionFile(const std::string& path, const IClock& clock, IFileSystem& files) {
    TSessionFileRead read{TSessionFileRead::TOutcome::Unreadable, nullptr, {}};
    std::string text;
    if (const int error = files.ReadFile(path, text)) {
        read.reason = "Unable to read " + path + ": " + SystemErrorText(error);
        return read;
    }
    try {
        read.state = ReadSessionText(text, clock);
        read.outcome = TSessionFileRead::TOutcome::Loaded;
    } catch (const TObjectReadError& error) {
        read.outcome = TSessionFileRead::TOutcome::Rejected;
        read.reason = error.what();
    }
    return read;
}

std::unique_ptr<TSessionState> LoadSession(const std::string& path, const IClock& clock, IFileSystem& files) {
    RemoveLeftoverTemporaryFiles(files, path);
    TSessionFileRead read = ReadSessionFile(path, clock, files);
    if (read.outcome == TSessionFileRead::TOutcome::Loaded) return std::move(read.state);
    if (read.outcome == TSessionFileRead::TOutcome::Rejected)
        KeepRejectedFile(path, read.reason, clock, files);
    return std::make_unique<TSessionState>(clock);
}

// Only copying the devices holds the device list's lock; the text is made, written, flushed and
// renamed after it is released, and not written at all when the file already holds it. Saves
// take turns, so that the copy and the text keep their memory from save to save: fresh memory of
// the session's size costs more in page faults than making the text, and under the lock.
void SaveSession(TSessionState& state, const std::string& path, IFileSystem& files) {
    static std::mutex turn;
    static std::vector<TDeviceFields> devices;
    static std::string text;
    std::lock_guard saving(turn);
    {
        TDeviceListLock lock(state.DeviceList());
        CopyDeviceFields(state.DeviceList(), devices);
    }
    text.clear();
    WriteSessionText(state, devices, text);
    if (LastSaves().Unchanged(files, path, text)) return;
    TSafeFileWriter file(files, path);
    file.Write(text);
    file.Commit();
    LastSaves().Remember(files, path, text);
}

}  // namespace qm
