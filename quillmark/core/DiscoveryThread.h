#pragma once
// The one background thread: inquiry passes back to back, a one-second pause after each, and after
// a failed pass a trace line, a log line and five seconds more. It never touches the user interface
// itself: log lines, the found sound, the list-changed notice and the scan indicator go to the main
// thread through the bridge, and the thread waits for each.

#include <atomic>
#include <string>
#include <thread>

#include "quillmark/core/FoundSound.h"
#include "quillmark/core/InquiryPass.h"
#include "quillmark/core/MainThreadBridge.h"
#include "quillmark/core/SessionState.h"
#include "quillmark/core/ThreadSleep.h"

namespace qm {

inline constexpr int kPassPauseMs = 1000;
inline constexpr int kErrorPauseMs = 5000;

class TDiscoveryThread : public IDiscoveryServices {
public:
    // Created suspended: nothing runs before Resume. Everything passed in must outlive the thread.
    TDiscoveryThread(IInquiryPass& pass, IMainThreadBridge& bridge, IFoundSound& sound,
                     const TSessionState& session, IThreadSleep& sleep = RealThreadSleep());
    // Requests termination and waits for the end while the bridge serves the thread's hand-offs;
    // the owner normally has done both already.
    ~TDiscoveryThread() override;
    TDiscoveryThread(const TDiscoveryThread&) = delete;
    TDiscoveryThread& operator=(const TDiscoveryThread&) = delete;

    void Resume();
    void Terminate() { FTerminated.store(true); }
    // True once the thread's body has returned, or while it was never resumed.
    bool Finished() const { return !FThread.joinable() || FFinished.load(); }
    // On the main thread: serves the bridge's hand-offs until the body has returned, then joins.
    // There is no plain join: a hand-off in flight would never end.
    void WaitFor();

    bool IsTerminated() const override { return FTerminated.load(); }
    void ThreadLog(const std::string& message) override;
    void NewDeviceFound() override;

private:
    void Run();
    void Execute();
    void PlayFoundSound();

    IInquiryPass& FPass;
    IMainThreadBridge& FBridge;
    IFoundSound& FSound;
    const TSessionState& FSession;
    IThreadSleep& FSleep;
    std::string FMessage;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    std::thread FThread;
};

}  // namespace qm
