// The hand-off queue that serves the discovery thread's work on a front end's main thread.

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "quillmark/core/HandOffQueue.h"

namespace {

TEST(HandOffQueue, RunsWorkOnTheServingThreadInOrderAndReturnsErrors) {
    qm::THandOffQueue queue;
    const auto serving = std::this_thread::get_id();
    std::vector<int> order;
    std::atomic<bool> done{false};
    std::string caught;
    std::thread caller([&] {
        queue.Post([&] { order.push_back(1); });
        queue.Synchronize([&] {
            EXPECT_EQ(std::this_thread::get_id(), serving);
            order.push_back(2);
        });
        try {
            queue.Synchronize([] { throw std::runtime_error("work failed"); });
        } catch (const std::runtime_error& error) {
            caught = error.what();
        }
        done = true;
        queue.Wake();
    });
    queue.ServeUntil([&] { return done.load(); });
    caller.join();
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_EQ(caught, "work failed");
}

TEST(HandOffQueue, ErrorOfPostedWorkLeavesTheServingLoop) {
    qm::THandOffQueue queue;
    queue.Post([] { throw std::runtime_error("posted work failed"); });
    EXPECT_THROW(queue.ServeUntil([] { return false; }), std::runtime_error);
}

}  // namespace
