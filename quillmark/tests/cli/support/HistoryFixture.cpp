#include "support/HistoryFixture.h"

#include "quillmark/history/SqliteHistoryStore.h"

namespace clitest {

qm::TRecordedSighting Sighted(const std::string& address, qm::TTransport transport, std::int64_t receivedMs,
                              std::optional<std::int8_t> rssi, const std::string& location) {
    qm::TRecordedSighting recorded;
    recorded.sighting.address = address;
    recorded.sighting.transport = transport;
    recorded.sighting.receivedMs = receivedMs;
    recorded.sighting.rssi = rssi;
    recorded.sighting.eir = std::string("\x02\x01\x06", 3);
    recorded.location = location;
    return recorded;
}

void WriteHistory(const std::string& storePath, std::vector<qm::TRecordedSighting> sightings,
                  std::int32_t nowSeconds) {
    qm::TSettableClock clock(nowSeconds);
    qm::THistoryStoreOptions options;
    options.clock = &clock;
    // A store that fails to write shows in what the tests read back.
    qm::TSqliteHistoryStore store(
        storePath, [](const std::string&) {}, options);
    store.SightingsRecorded(std::move(sightings));
    store.Flush();
}

}  // namespace clitest
