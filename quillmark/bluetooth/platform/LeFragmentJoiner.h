#pragma once
// Joins the fragments of an extended advertising report: a report whose data status says more
// is to come is held until the rest of its advertisement arrives in further reports of the same
// advertiser (address type, address and advertising set), then the whole advertisement becomes
// one report, with the signal and time of its last fragment. A chain the controller marks
// truncated is kept as received. The joined data is bounded: what lies beyond kMaxData bytes is
// cut off, and at most kMaxChains chains are held at once (a new one pushes out the oldest, which
// is dropped). The fragments are hostile bytes: nothing grows without bound.

#include <cstddef>
#include <vector>

#include "quillmark/bluetooth/platform/HciPackets.h"

namespace qm::bt {

class TLeFragmentJoiner {
public:
    static constexpr std::size_t kMaxData = 1650;  // the longest advertising data a chain can carry
    static constexpr std::size_t kMaxChains = 32;

    // Takes one report; appends to complete every report that is whole now (none, this one, or
    // the advertisement it completes).
    void Take(THciLeReport report, std::vector<THciLeReport>& complete);

private:
    std::vector<THciLeReport> chains_;  // oldest first
};

}  // namespace qm::bt
