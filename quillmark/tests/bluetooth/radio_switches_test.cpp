// The rfkill switches with a file standing in for /dev/rfkill (records as the kernel reads them
// out; what is written is appended) and a temporary sysfs tree.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "quillmark/bluetooth/platform/RadioSwitches.h"
#include "testsupport/ScopedTempDir.h"

namespace {

using qm::bt::TRadioSwitch;
using testsupport::ScopedTempDir;

constexpr char kBluetooth = 2, kWlan = 1;
constexpr char kAdd = 0, kDelete = 1, kChange = 2, kChangeAll = 3;

std::string Record(std::uint32_t id, char type, char op, bool soft, bool hard) {
    return {static_cast<char>(id),
            static_cast<char>(id >> 8),
            static_cast<char>(id >> 16),
            static_cast<char>(id >> 24),
            type,
            op,
            soft,
            hard};
}

struct TSwitches {
    explicit TSwitches(const std::string& records)
        : device(dir.write("rfkill", records)),
          switches(qm::bt::MakeLinuxRadioSwitches(device, dir / "sys")) {}

    std::string Written(std::size_t initialSize) const {
        return ScopedTempDir::read(device).substr(initialSize);
    }

    ScopedTempDir dir;
    std::filesystem::path device;
    std::unique_ptr<qm::bt::TRadioSwitches> switches;
};

std::string Text(const std::vector<TRadioSwitch>& switches) {
    std::string text;
    for (const auto& s : switches)
        text += std::to_string(s.id) + (s.softBlocked ? "s" : "") + (s.hardBlocked ? "h" : "") + " ";
    return text;
}

TEST(RadioSwitches, ListsTheBluetoothSwitchesInIdOrder) {
    struct TCase {
        const char* what;
        std::string records;
        std::string expected;
    };
    const std::vector<TCase> cases{
        {"none", "", ""},
        {"states, other kinds left out",
         Record(0, kBluetooth, kAdd, false, false) + Record(1, kWlan, kAdd, false, false) +
             Record(2, kBluetooth, kAdd, true, false) + Record(3, kBluetooth, kAdd, true, true),
         "0 2s 3sh "},
        {"id order", Record(9, kBluetooth, kAdd, false, true) + Record(4, kBluetooth, kAdd, false, false),
         "4 9h "},
        {"changed", Record(0, kBluetooth, kAdd, false, false) + Record(0, kBluetooth, kChange, true, false),
         "0s "},
        {"removed",
         Record(0, kBluetooth, kAdd, false, false) + Record(1, kBluetooth, kAdd, false, false) +
             Record(0, kBluetooth, kDelete, false, false),
         "1 "},
        {"change all is no switch", Record(5, kBluetooth, kChangeAll, true, false), ""},
        {"cut short record ignored", Record(0, kBluetooth, kAdd, false, false) + "\x01\x00\x00", "0 "},
    };
    for (const auto& c : cases) {
        TSwitches s(c.records);
        std::vector<TRadioSwitch> list{TRadioSwitch{77}};
        ASSERT_EQ(s.switches->List(list), 0) << c.what;
        EXPECT_EQ(Text(list), c.expected) << c.what;
    }
}

TEST(RadioSwitches, MissingDeviceIsAnError) {
    ScopedTempDir dir;
    std::vector<TRadioSwitch> list;
    const auto switches = qm::bt::MakeLinuxRadioSwitches(dir / "none", dir.path());
    EXPECT_EQ(switches->List(list), ENOENT);
    EXPECT_EQ(switches->SetAllBlocked(true), ENOENT);
}

TEST(RadioSwitches, BlockingWritesChangeRecords) {
    const std::string present =
        Record(1, kWlan, kAdd, false, false) + Record(2, kBluetooth, kAdd, false, false);
    struct TCase {
        const char* what;
        std::function<int(qm::bt::TRadioSwitches&)> set;
        int result;
        std::string written;
    };
    const std::vector<TCase> cases{
        {"block one", [](auto& s) { return s.SetBlocked(2, true); }, 0,
         Record(2, kBluetooth, kChange, true, false)},
        {"unblock one", [](auto& s) { return s.SetBlocked(2, false); }, 0,
         Record(2, kBluetooth, kChange, false, false)},
        {"gone", [](auto& s) { return s.SetBlocked(3, true); }, ENODEV, ""},
        {"not Bluetooth", [](auto& s) { return s.SetBlocked(1, true); }, ENODEV, ""},
        {"block all", [](auto& s) { return s.SetAllBlocked(true); }, 0,
         Record(0, kBluetooth, kChangeAll, true, false)},
        {"unblock all", [](auto& s) { return s.SetAllBlocked(false); }, 0,
         Record(0, kBluetooth, kChangeAll, false, false)},
    };
    for (const auto& c : cases) {
        TSwitches s(present);
        EXPECT_EQ(c.set(*s.switches), c.result) << c.what;
        EXPECT_EQ(s.Written(present.size()), c.written) << c.what;
    }
}

TEST(RadioSwitches, ControllerSwitchIsItsRfkillEntry) {
    TSwitches s("");
    const auto controllers = s.dir / "sys/class/bluetooth";
    for (const char* folder : {"hci0/rfkill", "hci0/rfkill7x", "hci0/power", "hci0/rfkill12", "hci1/power"})
        std::filesystem::create_directories(controllers / folder);
    struct TCase {
        std::uint16_t index;
        int result;
        std::uint32_t id;
    };
    for (const TCase& c : {TCase{0, 0, 12}, TCase{1, ENOENT, 99}, TCase{2, ENODEV, 99}}) {
        std::uint32_t id = 99;
        EXPECT_EQ(s.switches->SwitchOfController(c.index, id), c.result) << c.index;
        EXPECT_EQ(id, c.id) << c.index;
    }
}

}  // namespace
