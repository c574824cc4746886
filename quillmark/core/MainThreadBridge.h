#pragma once
// How the discovery thread reaches the main thread, which owns the user interface (the main window,
// or the console of the command-line scan).

#include <functional>
#include <string>

namespace qm {

class IMainThreadBridge {
public:
    virtual ~IMainThreadBridge() = default;

    // Runs the work on the main thread and returns when it has run. An exception of the work is
    // raised again in the caller. The main thread keeps serving these hand-offs while it waits for
    // the discovery thread to end.
    virtual void Synchronize(const std::function<void()>& work) = 0;
    // Posts the list-changed notice (0: records changed, 1: membership changed); returns at once,
    // from any thread.
    virtual void PostListChanged(int parameter) = 0;
    // Runs the work on the main thread later, while it serves; returns at once, from any thread.
    // Work still queued when the main thread stops serving is dropped.
    virtual void Post(std::function<void()> work) = 0;
    // Called by the discovery thread as its last act, so that a main thread waiting for its end
    // wakes up; returns at once.
    virtual void DiscoveryEnded() = 0;
    // On the main thread: runs the hand-offs (and whatever else the main thread serves) until
    // done() is true. done() is checked at least after every hand-off and after DiscoveryEnded.
    // The only way anything waits for the discovery thread's end.
    virtual void ServeUntil(const std::function<bool()>& done) = 0;

    // Main-thread work that the discovery thread hands over through Synchronize.
    // A time-stamped line on top of the session log, then a save of the session.
    virtual void AddLogLine(const std::string& text) = 0;
    // Shows the scan indicator after a pass.
    virtual void StartScanIndicator() = 0;
};

}  // namespace qm
