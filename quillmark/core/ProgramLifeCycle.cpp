#include "quillmark/core/ProgramLifeCycle.h"

#include <zemautils/trace.h>

#include "quillmark/base/Error.h"
#include "quillmark/core/RestoreSignals.h"
#include "quillmark/core/SessionFile.h"
#include "quillmark/core/SessionLog.h"

namespace qm {

TProgramLifeCycle::TProgramLifeCycle(const TProgramParts& parts)
    : FSessionPath(parts.sessionPath), FLogView(parts.logView) {
    TraceLoadConfiguration(kTraceConfigurationFile);
    FSession = LoadSession(FSessionPath, parts.clock);
    if (parts.openHistoryReader) RestoreSignalsFrom(parts.openHistoryReader);
    if (parts.openHistory) FHistory = parts.openHistory(FSessionPath, HistoryLog(parts.bridge));
    FPass = parts.makePass(*FSession, FHistory.get());
    FDiscoveryThread =
        std::make_unique<TDiscoveryThread>(*FPass, parts.bridge, parts.sound, *FSession, parts.sleep);
    AddLogLine("Scan started in location " + FSession->Location());
}

// A store that cannot be read (missing, damaged, of a newer version) restores nothing.
void TProgramLifeCycle::RestoreSignalsFrom(const THistoryReaderFactory& openReader) {
    try {
        const std::unique_ptr<IHistoryReader> reader = openReader(FSessionPath);
        RestoreSignals(FSession->DeviceList(), *reader);
    } catch (const TError&) {
    }
}

// The store's writer says what happens to it from its own thread; the line reaches the log on the
// main thread. A save that fails there is reported by the next save that the operator sees.
THistoryLog TProgramLifeCycle::HistoryLog(IMainThreadBridge& bridge) {
    return [this, &bridge](const std::string& line) {
        bridge.Post([this, line] {
            try {
                AddLogLine(line);
            } catch (const TError&) {
            }
        });
    };
}

// The thread goes first (its destructor serves the hand-offs while it waits), then the pass it
// ran, then the store it wrote to, then the session they used.
TProgramLifeCycle::~TProgramLifeCycle() {
    FDiscoveryThread.reset();
}

void TProgramLifeCycle::Resume() {
    FDiscoveryThread->Resume();
}

void TProgramLifeCycle::AddLogLine(const std::string& text) {
    FLogView.LogLineAdded(AddSessionLogLine(*FSession, text));
    SaveSession();
}

void TProgramLifeCycle::SaveSession() {
    qm::SaveSession(*FSession, FSessionPath);
}

void TProgramLifeCycle::Stop() {
    if (FStopped) return;
    FStopped = true;
    FDiscoveryThread->Terminate();
    FDiscoveryThread->WaitFor();
    AddLogLine("Scan finished");
    SaveSession();
}

}  // namespace qm
