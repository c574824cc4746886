#include <zemautils/trace.h>
#include <zemautils/utils.h>

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "database_connectivity_internal.h"
#include "service_trace_capture.h"

namespace {

using zematest::TraceCapture;
using zematest::TracedLine;

// A TCP socket bound to an ephemeral loop-back port; listening or, to stand for a closed port,
// bound only.
class LoopbackPort {
public:
    explicit LoopbackPort(bool listening) {
        socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
            (listening && listen(socket_, 4) != 0))
            ADD_FAILURE() << "cannot set up the loop-back port";
        port_ = ntohs(address.sin_port);
    }
    ~LoopbackPort() { close(socket_); }
    LoopbackPort(const LoopbackPort&) = delete;
    LoopbackPort& operator=(const LoopbackPort&) = delete;

    uint16_t Port() const { return port_; }

private:
    int socket_ = -1;
    uint16_t port_ = 0;
};

// Resolves "db.example" to the loop-back address and nothing else; remembers what it was asked.
std::string g_askedName;
bool FakeResolver(const char* name, uint32_t* address) {
    g_askedName = name;
    if (g_askedName != "db.example") return false;
    *address = INADDR_LOOPBACK;
    return true;
}

std::string Format(const char* format, int port) {
    char text[128];
    std::snprintf(text, sizeof text, format, port);
    return text;
}

struct ConnectivityCase {
    const char* name;
    const char* server;
    bool listening;
    int32_t result;
    const char* serverAfter;          // the caller's text after the call
    std::vector<const char*> traced;  // "%d" stands for the port
};

class ConnectivityTest : public testing::TestWithParam<ConnectivityCase> {
protected:
    void SetUp() override { zema::SetHostResolver(&FakeResolver); }
    void TearDown() override { zema::SetHostResolver(nullptr); }
};

TEST_P(ConnectivityTest, ResultAndTraceLines) {
    const ConnectivityCase& c = GetParam();
    const TraceCapture trace(TRACE_MODULE_UTILS, 1);
    const LoopbackPort port(c.listening);
    std::string server = c.server;

    EXPECT_EQ(ZEMACheckDatabaseConnectivity(server.data(), port.Port()), c.result);

    EXPECT_STREQ(server.c_str(), c.serverAfter);
    std::vector<TracedLine> expected;
    for (const char* text : c.traced) {
        const std::string line = Format(text, port.Port());
        const bool own =
            line.rfind("ZEMACheckDatabaseConnectivity", 0) == 0 || line.rfind("Unable to resolve", 0) == 0;
        expected.push_back({own ? "ZEMACheckDatabaseConnectivity" : "TestPort", "L1 - " + line});
    }
    EXPECT_EQ(trace.Lines(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Servers, ConnectivityTest,
    testing::Values(
        ConnectivityCase{
            "OpenPortOfDottedAddress",
            "127.0.0.1",
            true,
            0,
            "127.0.0.1",
            {"ZEMACheckDatabaseConnectivity testing server 127.0.0.1", "Testing port %d on 7F000001",
             "TestPort successful", "ZEMACheckDatabaseConnectivity successful"}},
        ConnectivityCase{"ClosedPort",
                         "127.0.0.1",
                         false,
                         200,
                         "127.0.0.1",
                         {"ZEMACheckDatabaseConnectivity testing server 127.0.0.1",
                          "Testing port %d on 7F000001", "Unable to connect to port %d on 7F000001"}},
        ConnectivityCase{
            "HostNameLosesItsTrailingLineFeed",
            "db.example\n",
            true,
            0,
            "db.example",
            {"ZEMACheckDatabaseConnectivity testing server db.example", "Testing port %d on 7F000001",
             "TestPort successful", "ZEMACheckDatabaseConnectivity successful"}},
        ConnectivityCase{"UnresolvableHostName",
                         "nowhere.invalid",
                         true,
                         120,
                         "nowhere.invalid",
                         {"ZEMACheckDatabaseConnectivity testing server nowhere.invalid",
                          "Unable to resolve server name to address for nowhere.invalid"}},
        ConnectivityCase{"UnreadableAddressIsTheBroadcastAddress",
                         "999.1.2.3",
                         true,
                         200,
                         "999.1.2.3",
                         {"ZEMACheckDatabaseConnectivity testing server 999.1.2.3",
                          "Testing port %d on FFFFFFFF", "Unable to connect to port %d on FFFFFFFF"}}),
    [](const testing::TestParamInfo<ConnectivityCase>& info) { return info.param.name; });

TEST(ZEMACheckDatabaseConnectivity, EntryLineOfThePortTestNeedsBit7) {
    zema::SetHostResolver(&FakeResolver);
    const TraceCapture trace(TRACE_MODULE_UTILS, 128);
    const LoopbackPort port(true);
    std::string server = "127.0.0.1";
    EXPECT_EQ(ZEMACheckDatabaseConnectivity(server.data(), port.Port()), 0);
    const std::vector<TracedLine> lines = trace.Lines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1], (TracedLine{"TestPort", " ==>TRACING Enter ..."}));
    zema::SetHostResolver(nullptr);
}

TEST(ZEMACheckDatabaseConnectivity, NothingIsTracedAtLevel0) {
    const TraceCapture trace(TRACE_MODULE_UTILS, 0);
    const LoopbackPort port(false);
    std::string server = "127.0.0.1";
    EXPECT_EQ(ZEMACheckDatabaseConnectivity(server.data(), port.Port()), 200);
    EXPECT_TRUE(trace.Lines().empty());
}

// "localhost" comes from the hosts file, so the system resolver answers without the network.
TEST(ZEMACheckDatabaseConnectivity, SystemResolverFindsLocalhost) {
    const LoopbackPort port(true);
    std::string server = "localhost";
    EXPECT_EQ(ZEMACheckDatabaseConnectivity(server.data(), port.Port()), 0);
}

TEST(ZEMACheckDatabaseConnectivity, MissingServerIsRefused) {
    EXPECT_EQ(ZEMACheckDatabaseConnectivity(nullptr, 1), 106);
}

}  // namespace
