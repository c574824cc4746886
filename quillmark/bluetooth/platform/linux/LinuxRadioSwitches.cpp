// The Bluetooth kill switches through the kernel's rfkill device: reading it without blocking
// gives one Add record per switch present; writing a Change record switches one, a Change All
// record every switch of a type. The controller's switch is the rfkillN entry of its sysfs folder.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "quillmark/bluetooth/platform/RadioSwitches.h"
#include "quillmark/bluetooth/platform/UniqueFd.h"
#include "quillmark/bluetooth/platform/linux/KernelRfkillAbi.h"

namespace qm::bt {

namespace {

using kernel::TRfkillEvent;

// Applies one record to the Bluetooth switches known so far.
void Apply(const TRfkillEvent& event, std::map<std::uint32_t, TRadioSwitch>& switches) {
    if (event.type != kernel::kRfkillTypeBluetooth) return;
    if (event.op == kernel::kRfkillOpDelete) {
        switches.erase(event.index);
    } else if (event.op == kernel::kRfkillOpAdd || event.op == kernel::kRfkillOpChange) {
        switches[event.index] = TRadioSwitch{event.index, event.soft != 0, event.hard != 0};
    }
}

// Reads records until none is waiting (or the end of a file standing in for the device). One read
// per record, of the first record size: a longer record of a newer kernel is cut to it.
int ReadSwitches(int fd, std::map<std::uint32_t, TRadioSwitch>& switches) {
    for (;;) {
        TRfkillEvent event{};
        const ssize_t got = ::read(fd, &event, sizeof event);
        if (got == static_cast<ssize_t>(sizeof event)) {
            Apply(event, switches);
        } else if (got >= 0) {
            return 0;
        } else if (errno == EAGAIN) {
            return 0;
        } else if (errno != EINTR) {
            return errno;
        }
    }
}

// The switch id of a sysfs entry named rfkillN; none for any other entry.
std::optional<std::uint32_t> RfkillEntryId(const std::string& name) {
    constexpr std::string_view kPrefix = "rfkill";
    if (!name.starts_with(kPrefix) || name.size() == kPrefix.size()) return std::nullopt;
    std::uint32_t id = 0;
    const char* end = name.data() + name.size();
    const auto [at, error] = std::from_chars(name.data() + kPrefix.size(), end, id);
    if (error != std::errc() || at != end) return std::nullopt;
    return id;
}

class TLinuxRadioSwitches : public TRadioSwitches {
public:
    TLinuxRadioSwitches(std::string device, std::string sysfsRoot)
        : device_(std::move(device)), sysfsRoot_(std::move(sysfsRoot)) {}

    int List(std::vector<TRadioSwitch>& switches) override {
        std::map<std::uint32_t, TRadioSwitch> present;
        if (const int error = Read(present)) return error;
        switches.clear();
        for (const auto& [id, entry] : present) switches.push_back(entry);
        return 0;
    }

    int SetBlocked(std::uint32_t id, bool blocked) override {
        std::map<std::uint32_t, TRadioSwitch> present;
        if (const int error = Read(present)) return error;
        if (!present.count(id)) return ENODEV;
        return Write({id, kernel::kRfkillTypeBluetooth, kernel::kRfkillOpChange, blocked, 0});
    }

    int SetAllBlocked(bool blocked) override {
        return Write({0, kernel::kRfkillTypeBluetooth, kernel::kRfkillOpChangeAll, blocked, 0});
    }

    // ENODEV when there is no controller hciN.
    int SwitchOfController(std::uint16_t index, std::uint32_t& id) override {
        std::error_code error;
        const auto folder =
            std::filesystem::path(sysfsRoot_) / "class/bluetooth" / ("hci" + std::to_string(index));
        std::filesystem::directory_iterator entry(folder, error);
        if (error) return error == std::errc::no_such_file_or_directory ? ENODEV : error.value();
        for (; entry != std::filesystem::directory_iterator(); entry.increment(error)) {
            if (const auto found = RfkillEntryId(entry->path().filename().string())) {
                id = *found;
                return 0;
            }
        }
        return error ? error.value() : ENOENT;
    }

private:
    int Read(std::map<std::uint32_t, TRadioSwitch>& present) {
        const TUniqueFd fd(::open(device_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
        if (!fd.Valid()) return errno;
        return ReadSwitches(fd.Get(), present);
    }

    // Appending changes nothing on the device and lets a file stand in for it.
    int Write(const TRfkillEvent& event) {
        const TUniqueFd fd(::open(device_.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
        if (!fd.Valid()) return errno;
        for (;;) {
            const ssize_t written = ::write(fd.Get(), &event, sizeof event);
            if (written == static_cast<ssize_t>(sizeof event)) return 0;
            if (written >= 0) return EIO;
            if (errno != EINTR) return errno;
        }
    }

    const std::string device_;
    const std::string sysfsRoot_;
};

}  // namespace

std::unique_ptr<TRadioSwitches> MakeLinuxRadioSwitches(const std::string& device,
                                                       const std::string& sysfsRoot) {
    return std::make_unique<TLinuxRadioSwitches>(device, sysfsRoot);
}

}  // namespace qm::bt
