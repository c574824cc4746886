// The kernel socket factory, as far as a machine without Bluetooth hardware can check it.

#include <gtest/gtest.h>

#include <fcntl.h>

#include <cerrno>
#include <cstring>

#include "quillmark/bluetooth/platform/LocalRadios.h"
#include "quillmark/bluetooth/platform/ProtocolPlatform.h"
#include "quillmark/bluetooth/platform/linux/LinuxSocketFactory.h"

namespace {

TEST(LinuxSockets, FilterPassesExactlyTheInquiryEvents) {
    const auto filter = qm::bt::InquiryEventFilter();
    EXPECT_EQ(filter.typeMask, 1u << 4);
    EXPECT_EQ(filter.eventMask[0], (1u << 0x01) | (1u << 0x02) | (1u << 0x07) | (1u << 0x0E) | (1u << 0x0F));
    EXPECT_EQ(filter.eventMask[1], (1u << (0x22 - 32)) | (1u << (0x2F - 32)));
}

// Without Bluetooth in the kernel or without a powered adapter, the inquiry is an ordinary
// failure carrying the system's error.
TEST(LinuxSockets, MissingBluetoothIsAnOrdinaryFailure) {
    qm::bt::TLinuxSocketFactory sockets;
    int error = 0;
    if (sockets.OpenController(error).Valid()) GTEST_SKIP() << "this machine has a powered Bluetooth adapter";
    EXPECT_NE(error, 0);
    qm::bt::TProtocolPlatform platform(sockets);
    std::unique_ptr<qm::bt::TInquiryLookup> lookup;
    const auto status = platform.BeginInquiry(lookup);
    EXPECT_EQ(status.code, qm::bt::TLookupCode::Failed);
    EXPECT_EQ(status.systemError, error);
    EXPECT_FALSE(lookup);
}

TEST(LinuxSockets, ManagementChannelIsCloseOnExec) {
    qm::bt::TLinuxSocketFactory sockets;
    int error = 0;
    const qm::bt::TUniqueFd fd = sockets.OpenManagement(error);
    if (!fd.Valid()) GTEST_SKIP() << "no management channel here: " << std::strerror(error);
    EXPECT_TRUE(::fcntl(fd.Get(), F_GETFD) & FD_CLOEXEC);
}

TEST(LinuxSockets, AbsentControllerIsAnOrdinaryFailure) {
    qm::bt::TLinuxSocketFactory sockets;
    int error = 0;
    EXPECT_FALSE(sockets.OpenControllerAt(0xFFFE, error).Valid());
    EXPECT_NE(error, 0);
}

// Without Bluetooth in the kernel neither the management channel nor its fallback is there: the
// list of the machine's radios is an ordinary failure, not an empty success.
TEST(LinuxSockets, LocalRadiosWithoutBluetoothAreAnOrdinaryFailure) {
    qm::bt::TLinuxSocketFactory sockets;
    int error = 0;
    if (sockets.OpenManagement(error).Valid() || error != EAFNOSUPPORT)
        GTEST_SKIP() << "this kernel has Bluetooth";
    std::vector<qm::bt::TLocalRadio> radios;
    EXPECT_EQ(qm::bt::MakeLocalRadios(sockets)->List(radios), EAFNOSUPPORT);
}

}  // namespace
