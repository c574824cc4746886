#pragma once
// History stores written for the CLI tests.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "quillmark/core/Sighting.h"

namespace clitest {

// A sighting at a UTC time in milliseconds, with an inquiry response so that the store keeps it
// as the device's latest.
qm::TRecordedSighting Sighted(const std::string& address, qm::TTransport transport, std::int64_t receivedMs,
                              std::optional<std::int8_t> rssi, const std::string& location);

// Writes the sightings into the store at the path and closes it. Minutes older than 30 days before
// nowSeconds are rolled up into hours.
void WriteHistory(const std::string& storePath, std::vector<qm::TRecordedSighting> sightings,
                  std::int32_t nowSeconds);

}  // namespace clitest
