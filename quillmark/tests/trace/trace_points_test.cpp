#include "quillmark/core/Trace.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <regex>
#include <string>

#include "testsupport/ScopedTempDir.h"

namespace {

using testsupport::ScopedTempDir;

class TracePoints : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(TraceStart("trace.log"), 0); }
    void TearDown() override { TraceLevel(TRACE_MODULE_BLUETOOTH, 0); }
    // The trace file's lines between the header and the stop line, tags removed.
    std::string Body() {
        TraceStop();
        const std::string log = ScopedTempDir::read(dir_ / "trace.log");
        std::size_t start = 0;
        for (int line = 0; line < 3; ++line) start = log.find('\n', start) + 1;
        const std::regex tag(R"([0-9-]{10} [0-9:]{8} \[[0-9]+\] \([0-9]{3}\) \[Bluetooth\])");
        return std::regex_replace(log.substr(start, log.rfind("Stopped Tracing ") - start), tag, "");
    }
    ScopedTempDir dir_{ScopedTempDir::Chdir::Yes};
};

struct LevelCase {
    const char* name;
    int moduleLevel;
    const char* expected;
    friend std::ostream& operator<<(std::ostream& out, const LevelCase& c) { return out << c.name; }
};

class LevelsAndBit7 : public TracePoints, public ::testing::WithParamInterface<LevelCase> {};

// A level-1, a level-100 and a level-210 point, and an entry/exit pair, under one module level.
TEST_P(LevelsAndBit7, SelectThePointsThatWrite) {
    TraceLevel(TRACE_MODULE_BLUETOOTH, GetParam().moduleLevel);
    QM_TRACE_ENTER("TMainForm::UMListChanged");
    QM_TRACE("QuerySDP", 1, "one %d", 1);
    QM_TRACE("QuerySDP", 100, "hundred");
    QM_TRACE("TDeviceList::LockList", 210, "locked");
    QM_TRACE_EXIT("TMainForm::UMListChanged");
    const std::string body = Body();
    EXPECT_TRUE(std::regex_match(body, std::regex(GetParam().expected))) << body;
}

INSTANTIATE_TEST_SUITE_P(
    Table, LevelsAndBit7,
    ::testing::Values(LevelCase{"Off", 0, ""},
                      LevelCase{"Errors", 1, R"(QuerySDP:\d+ L1 - one 1\n)"},
                      LevelCase{"Hundred", 100, R"(QuerySDP:\d+ L1 - one 1\nQuerySDP:\d+ L100 - hundred\n)"},
                      LevelCase{"Bit7Alone", 128,
                                R"(TMainForm::UMListChanged:\d+  ==>TRACING Enter ...\n)"
                                R"(QuerySDP:\d+ L1 - one 1\nQuerySDP:\d+ L100 - hundred\n)"
                                R"(TMainForm::UMListChanged:\d+  ==>TRACING Exit ...\n)"},
                      LevelCase{"All", 255,
                                R"(TMainForm::UMListChanged:\d+  ==>TRACING Enter ...\n)"
                                R"(QuerySDP:\d+ L1 - one 1\nQuerySDP:\d+ L100 - hundred\n)"
                                R"(TDeviceList::LockList:\d+ L210 - locked\n)"
                                R"(TMainForm::UMListChanged:\d+  ==>TRACING Exit ...\n)"},
                      LevelCase{"HighWithoutBit7", 127, R"(QuerySDP:\d+ L1 - one 1\nQuerySDP:\d+ L100 - hundred\n)"}));

TEST_F(TracePoints, LineFeedAddedOnlyWhenMissingAndTextIsNotAFormat) {
    TraceLevel(TRACE_MODULE_BLUETOOTH, 10);
    QM_TRACE("F", 10, "ends in a line feed\n");
    QM_TRACE("F", 10, "%s", "name with %s and %n inside");
    QM_TRACE("F", 10, "%s", "");
    const std::string body = Body();
    EXPECT_TRUE(std::regex_match(
        body, std::regex(R"(F:\d+ L10 - ends in a line feed\nF:\d+ L10 - name with %s and %n inside\nF:\d+ L10 - \n)")))
        << body;
}

TEST_F(TracePoints, ArgumentsOfDisabledPointsAreNotEvaluated) {
    int evaluated = 0;
    QM_TRACE("F", 1, "%d", ++evaluated);
    EXPECT_EQ(evaluated, 0);
    TraceLevel(TRACE_MODULE_BLUETOOTH, 1);
    QM_TRACE("F", 1, "%d", ++evaluated);
    EXPECT_EQ(evaluated, 1);
}

}  // namespace
