#include "quillmark/core/TimeText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <ostream>

namespace {

using qm::FormatIsoTime;
using qm::FormatTime;
using qm::LastSeenBucket;

// Each test process runs in one fixed zone, an hour east of UTC without daylight saving.
class TimeText : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("TZ", "UTC-1", 1);
        ::tzset();
    }
    // Seconds since 1970 of a local date and time.
    static std::int32_t Local(int year, int month, int day, int hour = 12, int minute = 0, int second = 0) {
        std::tm local{};
        local.tm_year = year - 1900, local.tm_mon = month - 1, local.tm_mday = day;
        local.tm_hour = hour, local.tm_min = minute, local.tm_sec = second;
        local.tm_isdst = 0;
        return static_cast<std::int32_t>(std::mktime(&local));
    }
};

TEST_F(TimeText, FormatTimeInLocalTime) {
    EXPECT_EQ(FormatTime(0), "");
    EXPECT_EQ(FormatTime(Local(2008, 3, 5, 9, 5, 7)), "03/05/08 at 09:05:07");
    EXPECT_EQ(FormatTime(-1), "01/01/70 at 00:59:59");
    EXPECT_EQ(FormatTime(2147483647), "01/19/38 at 04:14:07");
}

// The same instants in UTC, whatever the local zone.
TEST_F(TimeText, FormatIsoTimeInUtc) {
    EXPECT_EQ(FormatIsoTime(0), "");
    EXPECT_EQ(FormatIsoTime(Local(2008, 3, 5, 9, 5, 7)), "2008-03-05T08:05:07Z");
    EXPECT_EQ(FormatIsoTime(-1), "1969-12-31T23:59:59Z");
    EXPECT_EQ(FormatIsoTime(2147483647), "2038-01-19T03:14:07Z");
}

struct BucketCase {
    const char* name;
    std::int32_t seen;
    std::int32_t now;
    const char* bucket;
    friend std::ostream& operator<<(std::ostream& out, const BucketCase& c) { return out << c.name; }
};

class Buckets : public TimeText, public ::testing::WithParamInterface<BucketCase> {};

TEST_P(Buckets, ByAgeThenCalendar) {
    EXPECT_STREQ(LastSeenBucket(GetParam().seen, GetParam().now), GetParam().bucket);
}

const std::int32_t kNoon = 1204714800;  // 5 March 2008, 12:00 local

INSTANTIATE_TEST_SUITE_P(TimeText, Buckets,
                         ::testing::Values(BucketCase{"Future", kNoon + 10, kNoon, "Now"},
                                           BucketCase{"Seconds299", kNoon - 299, kNoon, "Now"},
                                           BucketCase{"Seconds300", kNoon - 300, kNoon, "Last Hour"},
                                           BucketCase{"Seconds3599", kNoon - 3599, kNoon, "Last Hour"},
                                           BucketCase{"EarlierToday", kNoon - 3600, kNoon, "Today"},
                                           BucketCase{"Midnight", kNoon - 12 * 3600, kNoon, "Today"},
                                           BucketCase{"Yesterday", kNoon - 12 * 3600 - 1, kNoon, "Yesterday"},
                                           BucketCase{"TwoDaysAgo", kNoon - 48 * 3600, kNoon, "This Month"},
                                           BucketCase{"LastMonth", kNoon - 5 * 86400, kNoon, "Old"},
                                           BucketCase{"NeverSeen", 0, kNoon, "Old"},
                                           BucketCase{"NewYearsEve", 1230764400 - 7200, 1230764400 + 36000,
                                                      "Old"},
                                           BucketCase{"FarApart", -2147483647 - 1, 2147483647, "Old"}));

TEST_F(TimeText, ReferencePointsAreLocalTimes) {
    EXPECT_EQ(kNoon, Local(2008, 3, 5));
    EXPECT_EQ(1230764400, Local(2009, 1, 1, 0));
}

}  // namespace
