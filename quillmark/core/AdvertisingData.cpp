#include "quillmark/core/AdvertisingData.h"

#include "quillmark/core/Utf8.h"

namespace qm {

namespace {

using Bytes = std::span<const std::uint8_t>;

void TakeName(TAdvertisement& ad, Bytes data, bool complete) {
    if (ad.nameComplete || (ad.name && !complete)) return;
    ad.name = ValidUtf8(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
    ad.nameComplete = complete;
}

// Whole UUIDs only: a list whose length is not a multiple of the width loses its remainder.
void TakeUuids(TAdvertisement& ad, Bytes data, std::size_t width) {
    for (std::size_t at = 0; at + width <= data.size(); at += width)
        ad.serviceUuids.push_back(*TBluetoothUuid::FromLittleEndian(data.subspan(at, width)));
}

void TakeServiceData(TAdvertisement& ad, Bytes data, std::size_t width) {
    if (data.size() < width) return;
    const Bytes payload = data.subspan(width);
    ad.serviceData.push_back(
        {*TBluetoothUuid::FromLittleEndian(data.first(width)), {payload.begin(), payload.end()}});
}

void TakeManufacturerData(TAdvertisement& ad, Bytes data) {
    if (data.size() < 2) return;
    const Bytes payload = data.subspan(2);
    ad.manufacturerData.push_back(
        {static_cast<std::uint16_t>(data[0] | data[1] << 8), {payload.begin(), payload.end()}});
}

void Decode(TAdvertisement& ad, std::uint8_t type, Bytes data) {
    switch (type) {
        case ad::kFlags:
            if (!ad.flags && !data.empty()) ad.flags = data[0];
            break;
        case ad::kShortenedName:
        case ad::kCompleteName:
            TakeName(ad, data, type == ad::kCompleteName);
            break;
        case ad::kIncomplete16:
        case ad::kComplete16:
        case ad::kIncomplete32:
        case ad::kComplete32:
        case ad::kIncomplete128:
        case ad::kComplete128:
            TakeUuids(ad, data, AdUuidWidth(type));
            break;
        case ad::kServiceData16:
        case ad::kServiceData32:
        case ad::kServiceData128:
            TakeServiceData(ad, data, AdUuidWidth(type));
            break;
        case ad::kManufacturerData:
            TakeManufacturerData(ad, data);
            break;
        case ad::kTxPower:
            if (!ad.txPower && !data.empty()) ad.txPower = static_cast<std::int8_t>(data[0]);
            break;
        case ad::kAppearance:
            if (!ad.appearance && data.size() >= 2)
                ad.appearance = static_cast<std::uint16_t>(data[0] | data[1] << 8);
            break;
        default:
            break;
    }
}

}  // namespace

std::size_t AdUuidWidth(std::uint8_t type) {
    switch (type) {
        case ad::kIncomplete16:
        case ad::kComplete16:
        case ad::kServiceData16:
            return 2;
        case ad::kIncomplete32:
        case ad::kComplete32:
        case ad::kServiceData32:
            return 4;
        case ad::kIncomplete128:
        case ad::kComplete128:
        case ad::kServiceData128:
            return 16;
        default:
            return 0;
    }
}

TAdvertisement ParseAdvertisingData(std::span<const std::uint8_t> data) {
    TAdvertisement ad;
    std::size_t at = 0;
    while (at < data.size()) {
        const std::size_t length = data[at];
        if (length == 0 || length > data.size() - at - 1) break;
        const std::uint8_t type = data[at + 1];
        const Bytes body = data.subspan(at + 2, length - 1);
        ad.structures.push_back({type, {body.begin(), body.end()}});
        Decode(ad, type, body);
        at += 1 + length;
    }
    return ad;
}

}  // namespace qm
