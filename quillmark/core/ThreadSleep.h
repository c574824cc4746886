#pragma once
// The pauses of the discovery thread, behind an interface so that tests run passes without waiting.

namespace qm {

class IThreadSleep {
public:
    virtual ~IThreadSleep() = default;
    virtual void Sleep(int milliseconds) = 0;
};

// Sleeps for real.
IThreadSleep& RealThreadSleep();

}  // namespace qm
