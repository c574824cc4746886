// Hostile advertising data: the parser must never read out of bounds; its structures must account
// for no more bytes than the input holds, each decoded field must come from a structure of its
// type, and the display texts must be valid UTF-8.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "quillmark/core/AdvertisingData.h"
#include "quillmark/core/AdvertisingText.h"
#include "quillmark/core/TrackerKind.h"
#include "quillmark/core/Utf8.h"

namespace {

bool Has(const qm::TAdvertisement& ad, std::uint8_t type) {
    return std::any_of(ad.structures.begin(), ad.structures.end(),
                       [type](const qm::TAdStructure& s) { return s.type == type; });
}

void CheckValidUtf8(const std::string& text) {
    if (qm::ValidUtf8(text) != text) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const qm::TAdvertisement ad = qm::ParseAdvertisingData(std::span<const std::uint8_t>(data, size));
    std::size_t consumed = 0;
    for (const qm::TAdStructure& s : ad.structures) {
        consumed += 2 + s.data.size();
        CheckValidUtf8(qm::AdStructureText(s));
        CheckValidUtf8(qm::AdTypeName(s.type));
    }
    if (consumed > size) std::abort();
    if (ad.flags && !Has(ad, qm::ad::kFlags)) std::abort();
    if (ad.txPower && !Has(ad, qm::ad::kTxPower)) std::abort();
    if (ad.appearance && !Has(ad, qm::ad::kAppearance)) std::abort();
    if (ad.name) {
        CheckValidUtf8(*ad.name);
        if (!Has(ad, ad.nameComplete ? qm::ad::kCompleteName : qm::ad::kShortenedName)) std::abort();
    }
    if (ad.nameComplete && !ad.name) std::abort();
    if (ad.manufacturerData.size() > size / 4 || ad.serviceData.size() > size / 4) std::abort();
    if (ad.serviceUuids.size() > size / 2) std::abort();
    if (const auto tracker = qm::TrackerKindOf(ad); tracker && ad.structures.empty()) std::abort();
    return 0;
}
