#pragma once
// The program's life from start-up to shut-down, the same for the main window and for the
// command-line scan, which both drive it:
//
//   start-up (constructor): trace configuration "trace.conf" from the current directory, the
//     session file, the records' signals from the history beside it, the history store, the
//     discovery thread created suspended, the log line "Scan started in location " with the
//     current location (which writes the session file);
//   Resume: at the first show of the front end, the thread starts scanning;
//   Stop: terminate the thread, wait for it while still serving its hand-offs, log "Scan finished",
//     save once more;
//   destruction: the history store closes once it has written what it was given.
//
// The front end supplies the main-thread bridge (hand-offs, list-changed notice, waiting), the found
// sound, the inquiry pass and the view of the log.

#include <functional>
#include <memory>
#include <string>

#include "quillmark/core/Clock.h"
#include "quillmark/core/DiscoveryThread.h"
#include "quillmark/core/FoundSound.h"
#include "quillmark/core/HistoryStore.h"
#include "quillmark/core/InquiryPass.h"
#include "quillmark/core/MainThreadBridge.h"
#include "quillmark/core/SessionState.h"
#include "quillmark/core/ThreadSleep.h"

namespace qm {

inline constexpr const char* kTraceConfigurationFile = "trace.conf";

// Shows each new log line on top of the front end's log view.
class ILogView {
public:
    virtual ~ILogView() = default;
    virtual void LogLineAdded(const std::string& line) = 0;
};

// Builds the inquiry pass over the loaded session; its sightings go to the sink (null without a
// history store).
using TInquiryPassFactory = std::function<std::unique_ptr<IInquiryPass>(TSessionState&, ISightingSink*)>;
// Opens the history store beside the session file; its lines go to the log.
using THistoryStoreFactory =
    std::function<std::unique_ptr<IHistoryStore>(const std::string& sessionPath, THistoryLog log)>;
// Opens a reader of that store (raises TError when it cannot be read).
using THistoryReaderFactory = std::function<std::unique_ptr<IHistoryReader>(const std::string& sessionPath)>;

struct TProgramParts {
    std::string sessionPath;  // the session file, usually SessionFilePath(ProgramDirectory())
    TInquiryPassFactory makePass;
    THistoryStoreFactory openHistory;        // empty: no history
    THistoryReaderFactory openHistoryReader;  // empty: the records' signals start empty
    IMainThreadBridge& bridge;
    IFoundSound& sound;
    ILogView& logView;
    const IClock& clock = SystemClock();
    IThreadSleep& sleep = RealThreadSleep();
};

class TProgramLifeCycle {
public:
    // Start-up up to the first log line. Throws the TError of the first save ("Unable to create
    // file: " and the path, or the file system's error naming the file). Everything in the parts
    // must outlive this object.
    explicit TProgramLifeCycle(const TProgramParts& parts);
    // Stops the thread if Stop did not (while serving its hand-offs), without logging or saving.
    ~TProgramLifeCycle();
    TProgramLifeCycle(const TProgramLifeCycle&) = delete;
    TProgramLifeCycle& operator=(const TProgramLifeCycle&) = delete;

    TSessionState& Session() { return *FSession; }
    // The history store, until Stop; null without one. The main thread hands it deletions.
    IHistoryStore* History() { return FHistory.get(); }
    const std::string& SessionPath() const { return FSessionPath; }

    // Starts the discovery thread; the first call only.
    void Resume();
    // Time text, ": ", the text: on top of the session log and of the log view, then a save.
    // An error of the save passes to the caller, after the line has been added.
    void AddLogLine(const std::string& text);
    void SaveSession();
    // Shut-down: terminate, wait while serving hand-offs, "Scan finished", save. Once; errors of
    // the saves pass to the caller.
    void Stop();

private:
    void RestoreSignalsFrom(const THistoryReaderFactory& openReader);
    THistoryLog HistoryLog(IMainThreadBridge& bridge);

    std::string FSessionPath;
    ILogView& FLogView;
    std::unique_ptr<TSessionState> FSession;
    std::unique_ptr<IHistoryStore> FHistory;
    std::unique_ptr<IInquiryPass> FPass;
    std::unique_ptr<TDiscoveryThread> FDiscoveryThread;
    bool FStopped = false;
};

}  // namespace qm
