#pragma once
// The machine's controllers over the kernel's management channel: Read Controller Index List and
// Read Controller Information for what they are, Set Powered, Set Connectable and Set Discoverable
// for switching them, and Read Local Version Information on a raw HCI socket for the LMP subversion
// of a powered one. Each call opens its own channel, so no stale events pile up between calls.

#include <memory>

#include "quillmark/bluetooth/platform/LocalRadios.h"

namespace qm::bt {

inline constexpr int kManagementReplyMs = 2000;

// When the kernel has no management channel (its opening fails with EAFNOSUPPORT, EINVAL or
// EPROTONOSUPPORT), fallback answers instead; without one, that error is the result.
std::unique_ptr<TLocalRadios> MakeManagementRadios(TSocketFactory& sockets, int replyTimeoutMs,
                                                   std::unique_ptr<TLocalRadios> fallback);

}  // namespace qm::bt
