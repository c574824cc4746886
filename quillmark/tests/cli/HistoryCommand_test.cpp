// history on stores written in a temporary directory: the three formats, the time bounds, devices
// and sessions without history, unreadable stores, the summary and the times the options take.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>
#include <tuple>
#include <vector>

#include "quillmark/cli/IsoTime.h"
#include "support/HistoryFixture.h"
#include "support/RunCli.h"
#include "testsupport/ScopedTempDir.h"

namespace {

using clitest::RunCli;
using clitest::Sighted;
using qm::TTransport;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using testsupport::ScopedTempDir;

constexpr const char* kPhone = "(00:11:22:AA:BB:CC)";
constexpr const char* kWatch = "(00:11:22:AA:BB:CD)";
constexpr std::int64_t kMinuteMs = 60000;
constexpr std::int64_t k1421 = 1796912460000;  // 2026-12-10T14:21:00Z
constexpr std::int32_t kNextDay = 1796990400;  // 2026-12-11T12:00:00Z, in seconds
constexpr const char* kHall = "Hall \"B\", 2";

class HistoryCommand : public ::testing::Test {
protected:
    void SetUp() override { Write(dir_, kNextDay); }

    // The phone: three classic sightings in Lab 4 at 14:21 (one without a signal), one LE sighting
    // at 14:22, one in the hall at 14:25 without a signal. The watch: one the next morning.
    static void Write(const ScopedTempDir& dir, std::int32_t nowSeconds) {
        clitest::WriteHistory(
            (dir / "Quillmark.sqlite").string(),
            {Sighted(kPhone, TTransport::Classic, k1421 + 5000, -80, "Lab 4"),
             Sighted(kPhone, TTransport::Classic, k1421 + 30000, -70, "Lab 4"),
             Sighted(kPhone, TTransport::Classic, k1421 + 50000, std::nullopt, "Lab 4"),
             Sighted(kPhone, TTransport::LowEnergy, k1421 + kMinuteMs + 10000, -60, "Lab 4"),
             Sighted(kPhone, TTransport::Classic, k1421 + 4 * kMinuteMs, std::nullopt, kHall),
             Sighted(kWatch, TTransport::Classic, k1421 + 18 * 60 * kMinuteMs + 39 * kMinuteMs, -50, "Hall")},
            nowSeconds);
    }
    std::string Dir() const { return dir_.path().string(); }

    ScopedTempDir dir_;
};

struct FormatCase {
    const char* format;
    std::string minutes;  // the phone's rows
    std::string summary;
};

class HistoryFormat : public HistoryCommand, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(HistoryFormat, DeviceRowsOldestFirst) {
    const auto result = RunCli({"history", kPhone, "--session-dir", Dir(), "--format", GetParam().format});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, GetParam().minutes);
}

TEST_P(HistoryFormat, TheSummaryHasEveryDevice) {
    const auto result = RunCli(
        {"history", "--summary", "--format", GetParam().format, "--file", (dir_ / "Quillmark.dat").string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, GetParam().summary);
}

// A device or a session without history prints nothing; JSON prints an empty array.
TEST_P(HistoryFormat, NoHistoryPrintsNothing) {
    const std::string expected = std::string(GetParam().format) == "json" ? "[]\n" : "";
    ScopedTempDir empty;
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"history", "(00:11:22:AA:BB:CE)", "--session-dir", Dir()},
          {"history", kPhone, "--session-dir", empty.path().string()},
          {"history", "--summary", "--session-dir", empty.path().string()}}) {
        std::vector<std::string> withFormat = arguments;
        withFormat.insert(withFormat.end(), {"--format", GetParam().format});
        const auto result = RunCli(withFormat);
        EXPECT_EQ(result.status, 0) << ::testing::PrintToString(withFormat) << result.err;
        EXPECT_EQ(result.out, expected) << ::testing::PrintToString(withFormat);
        EXPECT_EQ(result.err, "");
    }
}

// A store that is there but cannot be read gives its reason, in every format.
TEST_P(HistoryFormat, UnreadableStoreFails) {
    ScopedTempDir broken;
    broken.write("Quillmark.sqlite", std::string(4096, 'x'));
    for (const char* subject : {kPhone, "--summary"}) {
        const auto result = RunCli(
            {"history", subject, "--session-dir", broken.path().string(), "--format", GetParam().format});
        EXPECT_EQ(result.status, 1) << subject;
        EXPECT_EQ(result.out, "") << subject;
        EXPECT_THAT(result.err,
                    StartsWith("quillmark-cli history: " + (broken / "Quillmark.sqlite").string() + ": "));
        EXPECT_THAT(result.err, HasSubstr("not a database"));
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, HistoryFormat,
    ::testing::Values(
        FormatCase{
            "text",
            "Minute (UTC)      Span    Location     Transport  Sightings  RSSI min  RSSI mean  RSSI max\n"
            "2026-12-10 14:21  minute  Lab 4        classic            3       -80      -75.0       -70\n"
            "2026-12-10 14:22  minute  Lab 4        le                 1       -60      -60.0       -60\n"
            "2026-12-10 14:25  minute  Hall \"B\", 2  classic            1         -          -         -\n",
            "Address              First minute (UTC)  Last minute (UTC)  Minutes present  Locations\n"
            "(00:11:22:AA:BB:CC)  2026-12-10 14:21    2026-12-10 14:25                 3  Lab 4, Hall "
            "\"B\", 2\n"
            "(00:11:22:AA:BB:CD)  2026-12-11 09:00    2026-12-11 09:00                 1  Hall\n"},
        FormatCase{
            "csv",
            "minute,location,transport,sightings,rssi_min,rssi_max,rssi_mean,span_minutes\r\n"
            "\"2026-12-10T14:21:00Z\",\"Lab 4\",\"classic\",\"3\",\"-80\",\"-70\",\"-75.0\",\"1\"\r\n"
            "\"2026-12-10T14:22:00Z\",\"Lab 4\",\"le\",\"1\",\"-60\",\"-60\",\"-60.0\",\"1\"\r\n"
            "\"2026-12-10T14:25:00Z\",\"Hall \"\"B\"\", 2\",\"classic\",\"1\",\"\",\"\",\"\",\"1\"\r\n",
            "address,first_minute,last_minute,minutes_present,locations\r\n"
            "\"(00:11:22:AA:BB:CC)\",\"2026-12-10T14:21:00Z\",\"2026-12-10T14:25:00Z\",\"3\","
            "\"Lab 4; Hall \"\"B\"\", 2\"\r\n"
            "\"(00:11:22:AA:BB:CD)\",\"2026-12-11T09:00:00Z\",\"2026-12-11T09:00:00Z\",\"1\",\"Hall\"\r\n"},
        FormatCase{
            "json",
            "[\n"
            "{\"minute\":\"2026-12-10T14:21:00Z\",\"location\":\"Lab 4\",\"transport\":\"classic\","
            "\"sightings\":3,\"rssi_min\":-80,\"rssi_max\":-70,\"rssi_mean\":-75.0,\"span_minutes\":1},\n"
            "{\"minute\":\"2026-12-10T14:22:00Z\",\"location\":\"Lab 4\",\"transport\":\"le\","
            "\"sightings\":1,\"rssi_min\":-60,\"rssi_max\":-60,\"rssi_mean\":-60.0,\"span_minutes\":1},\n"
            "{\"minute\":\"2026-12-10T14:25:00Z\",\"location\":\"Hall \\\"B\\\", 2\",\"transport\":"
            "\"classic\",\"sightings\":1,\"rssi_min\":null,\"rssi_max\":null,\"rssi_mean\":null,"
            "\"span_minutes\":1}\n"
            "]\n",
            "[\n"
            "{\"address\":\"(00:11:22:AA:BB:CC)\",\"first_minute\":\"2026-12-10T14:21:00Z\","
            "\"last_minute\":\"2026-12-10T14:25:00Z\",\"minutes_present\":3,"
            "\"locations\":[\"Lab 4\",\"Hall \\\"B\\\", 2\"]},\n"
            "{\"address\":\"(00:11:22:AA:BB:CD)\",\"first_minute\":\"2026-12-11T09:00:00Z\","
            "\"last_minute\":\"2026-12-11T09:00:00Z\",\"minutes_present\":1,\"locations\":[\"Hall\"]}\n"
            "]\n"}),
    [](const auto& info) { return std::string(info.param.format); });

struct BoundsCase {
    std::vector<std::string> bounds;
    std::vector<std::string> minutes;
};

// --from is inclusive and --to exclusive, each compared with the start of a row's minute.
TEST_F(HistoryCommand, TimeBounds) {
    const std::string a = "2026-12-10T14:21:00Z", b = "2026-12-10T14:22:00Z", c = "2026-12-10T14:25:00Z";
    for (const BoundsCase& test : std::vector<BoundsCase>{
             {{}, {a, b, c}},
             {{"--from", "2026-12-10T14:22Z"}, {b, c}},
             {{"--to", "2026-12-10T14:22:00Z"}, {a}},
             {{"--from", "2026-12-10T14:21:30Z"}, {b, c}},
             {{"--to", "2026-12-10T14:21:30Z"}, {a}},
             {{"--from", "2026-12-10T15:22:00+01:00", "--to", "2026-12-10T09:25-05:00"}, {b}},
             {{"--from", "2026-12-10", "--to", "2026-12-11"}, {a, b, c}},
             {{"--from", "2026-12-11"}, {}},
             {{"--to", "2026-12-10"}, {}},
             {{"--from", "2026-12-10T14:25Z", "--to", "2026-12-10T14:21Z"}, {}},
         }) {
        std::vector<std::string> arguments{"history", kPhone, "--session-dir", Dir(), "--format", "json"};
        arguments.insert(arguments.end(), test.bounds.begin(), test.bounds.end());
        const auto result = RunCli(arguments);
        ASSERT_EQ(result.status, 0) << ::testing::PrintToString(test.bounds) << result.err;
        std::vector<std::string> minutes;
        for (const auto& row : nlohmann::json::parse(result.out)) minutes.push_back(row.at("minute"));
        EXPECT_EQ(minutes, test.minutes) << ::testing::PrintToString(test.bounds);
    }
}

// Minutes the store has rolled up into hours show the start of the hour and a span of 60.
TEST_F(HistoryCommand, HourRowsStartAtTheirHour) {
    ScopedTempDir old;
    Write(old, kNextDay + 40 * 24 * 3600);
    const auto result = RunCli({"history", kPhone, "--session-dir", old.path().string(), "--format", "json"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto rows = nlohmann::json::parse(result.out);
    ASSERT_FALSE(rows.empty());
    std::int64_t sightings = 0;
    for (const auto& row : rows) {
        EXPECT_EQ(row.at("minute"), "2026-12-10T14:00:00Z");
        EXPECT_EQ(row.at("span_minutes"), 60);
        sightings += row.at("sightings").get<std::int64_t>();
    }
    EXPECT_EQ(sightings, 5);
}

TEST_F(HistoryCommand, UsageErrors) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"history"},
          {"history", kPhone, kWatch},
          {"history", "--summary", kPhone},
          {"history", "--summary", "--summary"},
          {"history", "--summary", "--from", "2026-12-10"},
          {"history", "--summary", "--to", "2026-12-10"},
          {"history", kPhone, "--format", "xml"},
          {"history", kPhone, "--format", "html"},
          {"history", kPhone, "--format"},
          {"history", kPhone, "--format", "csv", "--format", "json"},
          {"history", kPhone, "--from"},
          {"history", kPhone, "--from", "2026-12-10", "--from", "2026-12-11"},
          {"history", kPhone, "--file", "a", "--session-dir", "b"},
          {"history", kPhone, "--verbose"}}) {
        const auto result = RunCli(arguments);
        EXPECT_EQ(result.status, 2) << ::testing::PrintToString(arguments);
        EXPECT_THAT(result.err, StartsWith("quillmark-cli history: ")) << ::testing::PrintToString(arguments);
        EXPECT_EQ(result.out, "");
    }
}

// A time that does not read is a usage error that names it, for either bound.
TEST_F(HistoryCommand, BadTimeIsNamed) {
    for (const char* option : {"--from", "--to"}) {
        const auto result = RunCli({"history", kPhone, option, "2026-02-29", "--session-dir", Dir()});
        EXPECT_EQ(result.status, 2);
        EXPECT_THAT(result.err, StartsWith(std::string("quillmark-cli history: ") + option +
                                           ": not an ISO 8601 time: \"2026-02-29\""));
        EXPECT_EQ(result.out, "");
    }
}

TEST_F(HistoryCommand, HelpNamesEveryOption) {
    const auto result = RunCli({"history", "--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_THAT(result.out, StartsWith("Usage: quillmark-cli history ADDRESS|--summary"));
    for (const char* option : {"--session-dir DIR", "--file PATH", "--from TIME", "--to TIME", "--format",
                               "text", "csv", "json", "--summary"})
        EXPECT_THAT(result.out, HasSubstr(option));
    EXPECT_THAT(result.out,
                HasSubstr("Without --session-dir (or --file), the session file is Quillmark.dat"));
    EXPECT_THAT(RunCli({"--help"}).out, HasSubstr("history "));
}

struct ParseCase {
    const char* text;
    std::optional<std::int64_t> ms;
};

TEST(IsoTime, ParsesTheFormsTheOptionsTake) {
    constexpr std::int64_t kDay = 1796860800000;  // 2026-12-10T00:00:00Z
    for (const ParseCase& test : std::vector<ParseCase>{
             {"2026-12-10T14:21:00Z", k1421},
             {"2026-12-10T14:21Z", k1421},
             {"2026-12-10t14:21z", k1421},
             {"2026-12-10", kDay},
             {"2026-12-10T15:21:00+01:00", k1421},
             {"2026-12-10T09:21-05:00", k1421},
             {"2026-12-10T15:51+0130", k1421},
             {"2026-12-10T15:21+01", k1421},
             {"2026-12-10T14:21:00.75Z", k1421 + 750},
             {"2026-12-10T14:21:00,1234Z", k1421 + 123},
             {"2026-12-10T04:22:00-09:59", k1421},
             {"2024-02-29", 1709164800000},
             {"2000-02-29", 951782400000},
             {"1970-01-01", 0},
             {"1969-12-31T23:59:59Z", -1000},
             {"0000-01-01", -62167219200000},
             {"9999-12-31T23:59:59Z", 253402300799000},
             {"", std::nullopt},
             {"2026-12-10T14:21", std::nullopt},
             {"2026-12-10T14:21:00", std::nullopt},
             {"2026-12-10Z", std::nullopt},
             {"2026-12-10 14:21Z", std::nullopt},
             {"2026-12-10T", std::nullopt},
             {"2026-13-01", std::nullopt},
             {"2026-00-10", std::nullopt},
             {"2026-02-29", std::nullopt},
             {"1900-02-29", std::nullopt},
             {"2026-04-31", std::nullopt},
             {"2026-12-00", std::nullopt},
             {"2026-12-10T24:00Z", std::nullopt},
             {"2026-12-10T14:60Z", std::nullopt},
             {"2026-12-10T14:21:60Z", std::nullopt},
             {"2026-12-10T14:21:00.Z", std::nullopt},
             {"2026-12-10T14:21:00+24:00", std::nullopt},
             {"2026-12-10T14:21:00+01:60", std::nullopt},
             {"2026-12-10T14:21+1", std::nullopt},
             {"2026-12-10T14:21+01:0", std::nullopt},
             {"2026-12-10T14:21Z ", std::nullopt},
             {"2026-12-10T14:21:00Zjunk", std::nullopt},
             {"26-12-10", std::nullopt},
             {"2026-1-10", std::nullopt},
             {"+2026-12-10", std::nullopt},
             {"2026/12/10", std::nullopt},
             {"1796912460", std::nullopt},
         })
        EXPECT_EQ(qm::cli::ParseIsoTime(test.text), test.ms) << test.text;
}

TEST(IsoTime, MinuteTexts) {
    for (const auto& [ms, iso, readable] : std::vector<std::tuple<std::int64_t, std::string, std::string>>{
             {k1421 + 59999, "2026-12-10T14:21:00Z", "2026-12-10 14:21"},
             {0, "1970-01-01T00:00:00Z", "1970-01-01 00:00"},
             {-1, "1969-12-31T23:59:00Z", "1969-12-31 23:59"},
             {951782400000, "2000-02-29T00:00:00Z", "2000-02-29 00:00"},
             {253402300799000, "9999-12-31T23:59:00Z", "9999-12-31 23:59"},
         }) {
        EXPECT_EQ(qm::cli::IsoMinute(ms), iso) << ms;
        EXPECT_EQ(qm::cli::ReadableMinute(ms), readable) << ms;
    }
    // The extremes a damaged store can hold still give a text.
    for (std::int64_t ms :
         {std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max()})
        EXPECT_FALSE(qm::cli::IsoMinute(ms).empty());
}

}  // namespace
