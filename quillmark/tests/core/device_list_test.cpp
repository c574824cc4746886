#include "quillmark/core/DeviceList.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "quillmark/base/Error.h"
#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/Trace.h"
#include "testsupport/ScopedTempDir.h"

namespace {

using namespace qm;

class DeviceList : public ::testing::Test {
protected:
    TBTDevice& AddWith(const std::string& address) {
        TBTDevice& record = list_.Add();
        record.SetAddress(address);
        return record;
    }
    TDeviceList list_;
};

TEST_F(DeviceList, FindDeviceComparesBytes) {
    EXPECT_EQ(list_.FindDevice("(00:11:22:AA:BB:CC)"), nullptr);
    TBTDevice& record = AddWith("(00:11:22:AA:BB:CC)");
    EXPECT_EQ(list_.FindDevice("(00:11:22:AA:BB:CC)"), &record);
    EXPECT_EQ(list_.FindDevice("(00:11:22:aa:bb:cc)"), nullptr);
    EXPECT_EQ(list_.FindDevice(" (00:11:22:AA:BB:CC)"), nullptr);
    EXPECT_EQ(list_.FindDevice(""), nullptr);
}

TEST_F(DeviceList, FindDeviceFollowsAddressChanges) {
    TBTDevice& record = AddWith("(A)");
    record.SetAddress("(B)");
    EXPECT_EQ(list_.FindDevice("(A)"), nullptr);
    EXPECT_EQ(list_.FindDevice("(B)"), &record);
}

// With a shared address the lower index wins, however the records got there.
TEST_F(DeviceList, SharedAddressesFindTheLowestIndex) {
    AddWith("(X)");
    TBTDevice& second = AddWith("(A)");
    TBTDevice& third = list_.Add();
    TBTDevice& fourth = AddWith("(A)");
    third.SetAddress("(A)");
    EXPECT_EQ(list_.FindDevice("(A)"), &second);
    list_.Delete(1);
    EXPECT_EQ(list_.FindDevice("(A)"), &third);
    EXPECT_EQ(third.Index(), 1);
    third.SetAddress("(Z)");
    EXPECT_EQ(list_.FindDevice("(A)"), &fourth);
}

// Records without an address, as a session file may hold many, are found like any other: the one
// with the lowest index first, through deletions and address changes.
TEST_F(DeviceList, ManyRecordsWithoutAddress) {
    constexpr int kCount = 4000;
    for (int i = 0; i < kCount; ++i) {
        TBTDevice& record = list_.Add();
        if (i % 2 == 0) record.SetAddress("(" + std::to_string(i) + ")");
    }
    EXPECT_EQ(list_.FindDevice(""), &list_.Items(1));
    EXPECT_EQ(list_.FindDevice("(3998)"), &list_.Items(3998));
    list_.Delete(1);
    EXPECT_EQ(list_.FindDevice(""), &list_.Items(2));
    list_.Items(2).SetAddress("(named)");
    EXPECT_EQ(list_.FindDevice(""), &list_.Items(4));
    list_.Items(0).SetAddress("");
    EXPECT_EQ(list_.FindDevice(""), &list_.Items(0));
    for (int i = list_.Count() - 1; i >= 0; --i)
        if (list_.Items(i).Address().empty()) list_.Delete(i);
    EXPECT_EQ(list_.FindDevice(""), nullptr);
    EXPECT_EQ(list_.Count(), kCount / 2);
    EXPECT_EQ(list_.FindDevice("(named)"), &list_.Items(1));
}

TEST_F(DeviceList, DeleteMovesLaterRecordsDown) {
    AddWith("(0)");
    TBTDevice& one = AddWith("(1)");
    TBTDevice& two = AddWith("(2)");
    list_.Delete(0);
    EXPECT_EQ(list_.Count(), 2);
    EXPECT_EQ(&list_.Items(0), &one);
    EXPECT_EQ(two.Index(), 1);
    EXPECT_EQ(list_.FindDevice("(0)"), nullptr);
    EXPECT_THROW(list_.Delete(2), TError);
    EXPECT_THROW(list_.Items(-1), TError);
}

TEST_F(DeviceList, ClearForgetsEveryAddress) {
    AddWith("(0)");
    list_.Clear();
    EXPECT_EQ(list_.Count(), 0);
    EXPECT_EQ(list_.FindDevice("(0)"), nullptr);
    EXPECT_EQ(AddWith("(0)").Index(), 0);
}

TEST_F(DeviceList, NotifyChangedReachesTheNotifier) {
    struct Counter : IDeviceListNotifier {
        int calls = 0;
        void DeviceDataChanged() override { ++calls; }
    } counter;
    list_.NotifyChanged();
    list_.SetNotifier(&counter);
    list_.NotifyChanged();
    EXPECT_EQ(counter.calls, 1);
    list_.SetNotifier(nullptr);
}

// The holder enters again at once; another thread waits until the last release.
TEST_F(DeviceList, LockIsReentrantAndExcludesOtherThreads) {
    std::atomic<bool> entered{false};
    std::thread other;
    {
        TDeviceListLock outer(list_);
        {
            TDeviceListLock inner(list_);
            other = std::thread([this, &entered] {
                TDeviceListLock lock(list_);
                entered = true;
            });
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(entered);
    }
    other.join();
    EXPECT_TRUE(entered);
}

TEST_F(DeviceList, LockLinesAtLevel210) {
    testsupport::ScopedTempDir dir(testsupport::ScopedTempDir::Chdir::Yes);
    ASSERT_EQ(TraceStart("trace.log"), 0);
    TraceLevel(TRACE_MODULE_BLUETOOTH, 209);
    { TDeviceListLock lock(list_); }
    TraceLevel(TRACE_MODULE_BLUETOOTH, 210);
    { TDeviceListLock lock(list_); }
    TraceLevel(TRACE_MODULE_BLUETOOTH, 0);
    TraceStop();
    const std::string log = testsupport::ScopedTempDir::read("trace.log");
    const auto count = [&log](const std::string& text) {
        int n = 0;
        for (auto at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("L210 - TDeviceList::LockList\n"), 1) << log;
    EXPECT_EQ(count("L210 - TDeviceList::UnlockList\n"), 1) << log;
    EXPECT_LT(log.find("L210 - TDeviceList::LockList"), log.find("L210 - TDeviceList::UnlockList"));
}

}  // namespace
