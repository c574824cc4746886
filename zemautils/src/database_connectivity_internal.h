#pragma once
// Seam of ZEMACheckDatabaseConnectivity for the library's own tests: the host-name resolver, so a
// test never waits on DNS.

#include <cstdint>

namespace zema {

// Resolves a host name to its first IPv4 address (host byte order); false when it cannot.
using HostResolver = bool (*)(const char* name, std::uint32_t* address);

// Replaces the getaddrinfo resolver (nullptr restores it).
void SetHostResolver(HostResolver resolver);

}  // namespace zema
