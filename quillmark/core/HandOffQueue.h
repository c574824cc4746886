#pragma once
// Work handed to one serving thread (the main thread of a front end without a GUI toolkit's own
// message loop): synchronous hand-offs, whose caller waits and gets the work's exception back, and
// posted work that nobody waits for. The serving thread runs both in the order they came.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>

namespace qm {

class THandOffQueue {
public:
    // From any thread but the serving one: runs the work on the serving thread and returns when it
    // has run; an exception of the work is raised again here.
    void Synchronize(const std::function<void()>& work);
    // From any thread: queues the work and returns at once.
    void Post(std::function<void()> work);
    // From any thread: makes the serving thread check its end condition now.
    void Wake();

    // On the serving thread: runs handed-over work until done() is true. done() is checked after
    // every batch of work, when woken, and at least once per poll interval. An exception of posted
    // work leaves this function (the work is gone from the queue).
    void ServeUntil(const std::function<bool()>& done,
                    std::chrono::milliseconds poll = std::chrono::milliseconds(100));

private:
    struct THandOff {
        std::function<void()> work;
        bool* finished = nullptr;  // null for posted work
        std::exception_ptr* error = nullptr;
    };

    void RunOne(std::unique_lock<std::mutex>& lock);

    std::mutex FMutex;
    std::condition_variable FWork;
    std::condition_variable FFinished;
    std::deque<THandOff> FQueue;
    bool FWoken = false;
};

}  // namespace qm
