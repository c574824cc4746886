#include "quillmark/core/DiscoveryThread.h"

#include <pthread.h>

#include "quillmark/base/Error.h"
#include "quillmark/core/Trace.h"

namespace qm {

TDiscoveryThread::TDiscoveryThread(IInquiryPass& pass, IMainThreadBridge& bridge, IFoundSound& sound,
                                   const TSessionState& session, IThreadSleep& sleep)
    : FPass(pass), FBridge(bridge), FSound(sound), FSession(session), FSleep(sleep) {}

TDiscoveryThread::~TDiscoveryThread() {
    Terminate();
    WaitFor();
}

void TDiscoveryThread::Resume() {
    if (!FThread.joinable() && !FFinished.load()) FThread = std::thread([this] { Run(); });
}

void TDiscoveryThread::WaitFor() {
    if (!FThread.joinable()) return;
    FBridge.ServeUntil([this] { return FFinished.load(); });
    FThread.join();
}

// A failure that Execute does not handle (an error of the error path's own log line, or any other
// exception) ends the thread quietly; the program goes on without scanning.
void TDiscoveryThread::Run() {
    try {
        Execute();
    } catch (...) {
    }
    FFinished.store(true);
    FBridge.DiscoveryEnded();
}

void TDiscoveryThread::Execute() {
    QM_TRACE("TDiscoveryThread::Execute", 100, "Starting discovery thread");
    pthread_setname_np(pthread_self(), "DiscoveryThread");
    while (!IsTerminated()) {
        QM_TRACE("TDiscoveryThread::Execute", 10, "Discovery");
        try {
            if (FPass.Perform(*this)) FBridge.Synchronize([this] { FBridge.StartScanIndicator(); });
        } catch (const TError& error) {
            QM_TRACE("TDiscoveryThread::Execute", 1, "ERROR: %s", error.what());
            ThreadLog(error.Message());
            FSleep.Sleep(kErrorPauseMs);
        }
        FSleep.Sleep(kPassPauseMs);
    }
}

void TDiscoveryThread::ThreadLog(const std::string& message) {
    FMessage = message;
    FBridge.Synchronize([this] { FBridge.AddLogLine(FMessage); });
}

void TDiscoveryThread::NewDeviceFound() {
    FBridge.Synchronize([this] { PlayFoundSound(); });
    FBridge.Synchronize([this] { FBridge.PostListChanged(1); });
}

// Runs on the main thread, which alone changes the session's settings.
void TDiscoveryThread::PlayFoundSound() {
    if (!FSession.FoundSound().empty()) FSound.Play(FSession.FoundSound());
}

}  // namespace qm
