// Tests that a database server accepts TCP connections on its port: connect, close, send nothing.
// Every step and every failure is traced under module 9.

#include <zemautils/trace.h>
#include <zemautils/utils.h>

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "database_connectivity_internal.h"
#include "service_trace.h"

namespace {

bool ResolveWithGetaddrinfo(const char* name, std::uint32_t* address) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* results = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &results) != 0 || !results) return false;
    *address = ntohl(reinterpret_cast<const sockaddr_in*>(results->ai_addr)->sin_addr.s_addr);
    freeaddrinfo(results);
    return true;
}

std::atomic<zema::HostResolver> g_resolver{&ResolveWithGetaddrinfo};

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

void RemoveTrailingLineFeed(char* text) {
    const std::size_t length = std::strlen(text);
    if (length > 0 && text[length - 1] == '\n') text[length - 1] = '\0';
}

// A dotted address as inet_addr reads it; an unreadable text gives 255.255.255.255.
std::uint32_t DottedAddress(const char* text) {
    in_addr parsed{};
    return inet_aton(text, &parsed) ? ntohl(parsed.s_addr) : INADDR_NONE;
}

// Connects a blocking socket, waiting out the system's own connect time-out. A signal during the
// wait does not abandon the attempt: the connection goes on and its outcome is collected.
bool Connect(int socket, std::uint32_t address, std::uint16_t port) {
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(port);
    target.sin_addr.s_addr = htonl(address);
    if (connect(socket, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0) return true;
    if (errno != EINTR) return false;
    pollfd wait{socket, POLLOUT, 0};
    int ready = 0;
    while ((ready = poll(&wait, 1, -1)) == -1 && errno == EINTR) {
    }
    int error = 0;
    socklen_t length = sizeof error;
    return ready == 1 && getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

std::int32_t TestPort(std::uint32_t address, std::uint16_t port) {
    if (TraceModuleLevel(TRACE_MODULE_UTILS) & 0x80) {
        TracePrintTag(TRACE_MODULE_UTILS, "TestPort", __LINE__);
        TracePrintf(" ==>TRACING Enter ...\n");
    }
    zema::TraceServiceLine(TRACE_MODULE_UTILS, 1, "TestPort", __LINE__, "Testing port %d on %X", port,
                           address);
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    if (socket == -1) {
        zema::TraceServiceLine(TRACE_MODULE_UTILS, 1, "TestPort", __LINE__,
                               "Unable to create TestPort socket");
        return UTILS_CANNOT_RESOLVE;
    }
    const bool connected = Connect(socket, address, port);
    close(socket);
    if (!connected) {
        zema::TraceServiceLine(TRACE_MODULE_UTILS, 1, "TestPort", __LINE__,
                               "Unable to connect to port %d on %X", port, address);
        return UTILS_CONNECTION_FAILED;
    }
    zema::TraceServiceLine(TRACE_MODULE_UTILS, 1, "TestPort", __LINE__, "TestPort successful");
    return UTILS_OK;
}

}  // namespace

namespace zema {

void SetHostResolver(HostResolver resolver) {
    g_resolver.store(resolver ? resolver : &ResolveWithGetaddrinfo);
}

}  // namespace zema

extern "C" int32_t ZEMACheckDatabaseConnectivity(char* server, uint16_t port) {
    constexpr const char* kFunction = "ZEMACheckDatabaseConnectivity";
    if (!server) return UTILS_BAD_ARGUMENT;
    zema::TraceServiceLine(TRACE_MODULE_UTILS, 1, kFunction, __LINE__,
                           "ZEMACheckDatabaseConnectivity testing server %s", server);
    std::uint32_t address = 0;
    if (IsAsciiLetter(server[0])) {
        RemoveTrailingLineFeed(server);
        if (!g_resolver.load()(server, &address)) {
            zema::TraceServiceLine(TRACE_MODULE_UTILS, 1, kFunction, __LINE__,
                                   "Unable to resolve server name to address for %s", server);
            return UTILS_CANNOT_RESOLVE;
        }
    } else {
        address = DottedAddress(server);
    }
    if (const std::int32_t error = TestPort(address, port)) return error;
    zema::TraceServiceLine(TRACE_MODULE_UTILS, 1, kFunction, __LINE__,
                           "ZEMACheckDatabaseConnectivity successful");
    return UTILS_OK;
}
