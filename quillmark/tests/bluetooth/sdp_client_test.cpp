// The SDP query over the SDP client, against the emulated SDP servers, and the response parser.

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "quillmark/bluetooth/platform/SdpPdu.h"
#include "support/EmulatedPlatform.h"

namespace {

using qm::bt::TLookupCode;
using qm::bt::TServiceLookup;
using qmtest::TEmulatedPlatform;

constexpr const char* kAddress = "(00:11:22:AA:BB:CC)";

struct TQueryRun {
    TLookupCode begin = TLookupCode::Ok;
    int error = 0;
    std::vector<std::string> records;
};

TQueryRun RunQuery(TEmulatedPlatform& emulated, const std::string& address = kAddress) {
    TQueryRun run;
    std::unique_ptr<TServiceLookup> lookup;
    const auto status = emulated.Platform().BeginServiceLookup(address, lookup);
    run.begin = status.code;
    run.error = status.systemError;
    if (status.code != TLookupCode::Ok) return run;
    std::string record;
    while (lookup->Next(record).code == TLookupCode::Ok) run.records.push_back(record);
    return run;
}

std::string Scenario(const std::string& deviceFields, int mtu = 16) {
    return R"({"sdpMtu": )" + std::to_string(mtu) + R"(, "devices": [{"address": ")" + kAddress + "\", " +
           deviceFields + "}]}";
}

const char* kThreeRecords = R"("records": [
    {"classes": ["0x1101"], "rfcomm": 1, "name": "Serial Port"},
    {"hex": "35 08 09 00 00 0A 00 01 00 02"},
    {"classes": ["0x1105"], "rfcomm": 12, "obex": true, "name": "OBEX Object Push",
     "attributes": [["0x0300", {"text": "with\u0000zero"}]]}])";

TEST(SdpQuery, DeliversEveryRecordByteForByteAcrossContinuations) {
    for (int mtu : {1, 7, 16, 4096}) {
        TEmulatedPlatform emulated(Scenario(kThreeRecords, mtu));
        const auto& expected = emulated.Radio().Scenario().devices[0].records;
        const TQueryRun run = RunQuery(emulated);
        ASSERT_EQ(run.begin, TLookupCode::Ok) << "mtu " << mtu;
        EXPECT_EQ(run.records, expected) << "mtu " << mtu;
        EXPECT_EQ(run.records[1], std::string("\x35\x08\x09\x00\x00\x0A\x00\x01\x00\x02", 10));
        for (const auto& record : run.records) EXPECT_EQ(static_cast<unsigned char>(record[0]) & 0xF8, 0x30);
    }
}

TEST(SdpQuery, LargeRecordUsesTheLongSequenceHeader) {
    const std::string longName(300, 'x');
    TEmulatedPlatform emulated(
        Scenario(R"("records": [{"classes": ["0x1101"], "name": ")" + longName + "\"}]"));
    const TQueryRun run = RunQuery(emulated);
    ASSERT_EQ(run.records.size(), 1u);
    EXPECT_EQ(static_cast<unsigned char>(run.records[0][0]), 0x36);
}

TEST(SdpQuery, NoRecordsIsNothingFound) {
    TEmulatedPlatform emulated(Scenario(R"("records": [], "misbehave": {"noRecords": true})"));
    EXPECT_EQ(RunQuery(emulated).begin, TLookupCode::NothingFound);
}

struct TFailureCase {
    const char* label;
    std::string device;
    int error;
};

class SdpFailure : public testing::TestWithParam<TFailureCase> {};

TEST_P(SdpFailure, CarriesTheSystemError) {
    TEmulatedPlatform emulated(Scenario(GetParam().device));
    const TQueryRun run = RunQuery(emulated);
    EXPECT_EQ(run.begin, TLookupCode::Failed);
    EXPECT_EQ(run.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Misbehaviours, SdpFailure,
    testing::Values(
        TFailureCase{"error_response", R"("misbehave": {"sdpError": 2})", EPROTO},
        TFailureCase{"silent_server", R"("misbehave": {"sdpSilent": true})", ETIMEDOUT},
        TFailureCase{"refused_connection", R"("misbehave": {"connectRefused": true})", ECONNREFUSED},
        TFailureCase{"absent_device", R"("presence": {"from": 60})", EHOSTDOWN},
        TFailureCase{"malformed_response",
                     R"("records": [{"hex": "35 00"}], "misbehave": {"malformedResponse": true})", EBADMSG},
        TFailureCase{"record_not_a_sequence", R"("records": [{"hex": "09 00 01"}])", EBADMSG},
        TFailureCase{"record_overruns_the_lists", R"("records": [{"hex": "35 09 09 00 00"}])", EBADMSG}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(SdpQuery, InvalidAddressTextFails) {
    TEmulatedPlatform emulated(Scenario(kThreeRecords));
    const TQueryRun run = RunQuery(emulated, "00:11:22:AA:BB:CC");
    EXPECT_EQ(run.begin, TLookupCode::Failed);
    EXPECT_EQ(run.error, EINVAL);
}

TEST(SdpQuery, ResponsesBeyondTheCapsFail) {
    auto bySize = qmtest::ShortLimits();
    bySize.sdpMaxBytes = 40;
    TEmulatedPlatform large(Scenario(kThreeRecords), bySize);
    EXPECT_EQ(RunQuery(large).error, EMSGSIZE);

    auto byRounds = qmtest::ShortLimits();
    byRounds.sdpMaxRounds = 3;
    TEmulatedPlatform chatty(Scenario(kThreeRecords, 1), byRounds);
    EXPECT_EQ(RunQuery(chatty).error, EMSGSIZE);
}

TEST(SdpResponseParser, ReadsTheParts) {
    const std::vector<std::uint8_t> last{0x07, 0x00, 0x05, 0x00, 0x05, 0x00, 0x02, 0x35, 0x00, 0x00};
    auto response = qm::bt::ParseSdpResponse(last);
    ASSERT_TRUE(response);
    EXPECT_EQ(response->transaction, 5);
    EXPECT_EQ(response->attributeBytes, (std::vector<std::uint8_t>{0x35, 0x00}));
    EXPECT_TRUE(response->continuation.empty());

    const std::vector<std::uint8_t> error{0x01, 0x00, 0x09, 0x00, 0x02, 0x00, 0x03};
    response = qm::bt::ParseSdpResponse(error);
    ASSERT_TRUE(response);
    EXPECT_EQ(response->errorCode, 3);
}

TEST(SdpResponseParser, RejectsMalformedPdus) {
    const std::vector<std::vector<std::uint8_t>> pdus{
        {},
        {0x07, 0x00, 0x01, 0x00},
        {0x07, 0x00, 0x01, 0x00, 0x04, 0x00, 0x02, 0x35, 0x00},  // length beyond the PDU
        {0x07, 0x00, 0x01, 0x00, 0x03, 0x00, 0x09, 0x00},        // byte count beyond the PDU
        {0x07, 0x00, 0x01, 0x00, 0x04, 0x00, 0x00, 0x11, 0x00},  // continuation longer than 16
        {0x07, 0x00, 0x01, 0x00, 0x04, 0x00, 0x00, 0x02, 0x00},  // continuation beyond the PDU
        {0x01, 0x00, 0x01, 0x00, 0x01, 0x00},                    // error without its code
        {0x03, 0x00, 0x01, 0x00, 0x00},                          // another PDU
    };
    for (const auto& pdu : pdus) EXPECT_FALSE(qm::bt::ParseSdpResponse(pdu)) << testing::PrintToString(pdu);
}

TEST(AttributeLists, SplitIntoRecordsOrRejected) {
    const std::vector<std::uint8_t> short_outer{0x35, 0x06, 0x35, 0x00, 0x36, 0x00, 0x02, 0x08, 0x01};
    EXPECT_FALSE(qm::bt::SplitAttributeLists(short_outer));  // the outer length does not cover the lists
    const std::vector<std::uint8_t> good{0x35, 0x07, 0x35, 0x00, 0x36, 0x00, 0x02, 0x08, 0x01};
    const auto records = qm::bt::SplitAttributeLists(good);
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), 2u);
    EXPECT_EQ((*records)[1], std::string("\x36\x00\x02\x08\x01", 5));
    EXPECT_EQ(qm::bt::SplitAttributeLists(std::vector<std::uint8_t>{0x35, 0x00})->size(), 0u);
    EXPECT_FALSE(qm::bt::SplitAttributeLists(std::vector<std::uint8_t>{0x37, 0xFF, 0xFF, 0xFF}));
}

}  // namespace
