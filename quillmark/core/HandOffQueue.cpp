#include "quillmark/core/HandOffQueue.h"

namespace qm {

void THandOffQueue::Synchronize(const std::function<void()>& work) {
    bool finished = false;
    std::exception_ptr error;
    std::unique_lock lock(FMutex);
    FQueue.push_back({work, &finished, &error});
    FWork.notify_one();
    FFinished.wait(lock, [&] { return finished; });
    lock.unlock();
    if (error) std::rethrow_exception(error);
}

void THandOffQueue::Post(std::function<void()> work) {
    std::lock_guard lock(FMutex);
    FQueue.push_back({std::move(work)});
    FWork.notify_one();
}

void THandOffQueue::Wake() {
    std::lock_guard lock(FMutex);
    FWoken = true;
    FWork.notify_one();
}

void THandOffQueue::ServeUntil(const std::function<bool()>& done, std::chrono::milliseconds poll) {
    while (!done()) {
        std::unique_lock lock(FMutex);
        FWork.wait_for(lock, poll, [this] { return !FQueue.empty() || FWoken; });
        FWoken = false;
        while (!FQueue.empty()) RunOne(lock);
    }
}

// Runs the first hand-off without the lock held, so that the work may hand off or post in turn.
void THandOffQueue::RunOne(std::unique_lock<std::mutex>& lock) {
    THandOff handOff = std::move(FQueue.front());
    FQueue.pop_front();
    lock.unlock();
    std::exception_ptr error;
    try {
        handOff.work();
    } catch (...) {
        error = std::current_exception();
    }
    lock.lock();
    if (!handOff.finished) {
        if (error) std::rethrow_exception(error);
        return;
    }
    *handOff.error = error;
    *handOff.finished = true;
    FFinished.notify_all();
}

}  // namespace qm
