#include "quillmark/bluetooth/platform/LocalRadios.h"

#include "quillmark/bluetooth/platform/HciRadios.h"
#include "quillmark/bluetooth/platform/ManagementRadios.h"
#include "quillmark/bluetooth/platform/linux/LinuxHciDevices.h"

namespace qm::bt {

// The fallback is the kernel's, whatever the factory: a factory with no kernel behind it (the
// emulated radio) has a management channel of its own and never falls back.
std::unique_ptr<TLocalRadios> MakeLocalRadios(TSocketFactory& sockets) {
    return MakeManagementRadios(sockets, kManagementReplyMs,
                                MakeHciRadios(sockets, MakeLinuxHciDevices(), kManagementReplyMs));
}

}  // namespace qm::bt
