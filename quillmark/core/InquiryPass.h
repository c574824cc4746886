#pragma once
// One inquiry pass, as the discovery thread runs it, and the thread's services that the pass uses.
// The Bluetooth layer implements the pass; the core never includes it.

#include <string>

namespace qm {

class IDiscoveryServices {
public:
    virtual ~IDiscoveryServices() = default;
    // True once termination of the discovery thread has been requested.
    virtual bool IsTerminated() const = 0;
    // The message as a log line of the main window; returns when it is logged (and saved).
    virtual void ThreadLog(const std::string& message) = 0;
    // The found sound, then the list-changed notice with parameter 1. Never call it while holding
    // the device list's lock.
    virtual void NewDeviceFound() = 0;
};

class IInquiryPass {
public:
    virtual ~IInquiryPass() = default;
    // Runs one pass; true when it completed. Failures are raised as TError.
    virtual bool Perform(IDiscoveryServices& thread) = 0;
};

}  // namespace qm
