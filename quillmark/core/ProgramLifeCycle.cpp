#include "quillmark/core/ProgramLifeCycle.h"

#include <zemautils/trace.h>

#include "quillmark/core/SessionFile.h"
#include "quillmark/core/SessionLog.h"

namespace qm {

TProgramLifeCycle::TProgramLifeCycle(const TProgramParts& parts)
    : FSessionPath(parts.sessionPath), FLogView(parts.logView) {
    TraceLoadConfiguration(kTraceConfigurationFile);
    FSession = LoadSession(FSessionPath, parts.clock);
    FPass = parts.makePass(*FSession);
    FDiscoveryThread =
        std::make_unique<TDiscoveryThread>(*FPass, parts.bridge, parts.sound, *FSession, parts.sleep);
    AddLogLine("Scan started in location " + FSession->Location());
}

// The thread goes first (its destructor serves the hand-offs while it waits), then the pass it
// ran, then the session both used.
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
