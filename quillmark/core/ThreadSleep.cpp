#include "quillmark/core/ThreadSleep.h"

#include <chrono>
#include <thread>

namespace qm {

namespace {

class TRealThreadSleep : public IThreadSleep {
public:
    void Sleep(int milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

}  // namespace

IThreadSleep& RealThreadSleep() {
    static TRealThreadSleep sleep;
    return sleep;
}

}  // namespace qm
