#include <zemautils/random.h>
#include <zemautils/trace.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>
#include <vector>

#include "random_internal.h"
#include "service_trace_capture.h"

namespace {

using zematest::TraceCapture;
using zematest::TracedLine;

// A scripted random source: each call takes the next answer (the number of bytes it reports, or
// -1 with its errno) and fills the buffer with 0x12 0x34 0x56 0x78.
struct Answer {
    ssize_t result;
    int error;
};
std::vector<Answer> g_answers;
std::size_t g_calls = 0;

ssize_t ScriptedSource(void* buffer, std::size_t length, unsigned int) {
    const Answer answer = g_answers.at(g_calls++);
    const unsigned char bytes[] = {0x12, 0x34, 0x56, 0x78};
    std::memcpy(buffer, bytes, std::min(length, sizeof bytes));
    errno = answer.error;
    return answer.result;
}

uint32_t Scripted() {
    const unsigned char bytes[] = {0x12, 0x34, 0x56, 0x78};
    uint32_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

struct SourceCase {
    const char* name;
    std::vector<Answer> answers;
    bool fallback;
};

class RandomGet32Test : public testing::TestWithParam<SourceCase> {
protected:
    void SetUp() override {
        g_answers = GetParam().answers;
        g_calls = 0;
        zema::SetRandomSource(&ScriptedSource);
    }
    void TearDown() override { zema::SetRandomSource(nullptr); }
};

TEST_P(RandomGet32Test, ValueOrTracedFallback) {
    const SourceCase& c = GetParam();
    const TraceCapture trace(TRACE_MODULE_ZEMASENSOR, 1);
    const uint32_t value = RandomGet32();
    EXPECT_EQ(g_calls, c.answers.size());
    if (c.fallback) {
        EXPECT_LE(value, 32767u);
        EXPECT_EQ(trace.Lines(),
                  std::vector<TracedLine>({{"RandomGet32", "L1 - Failed to aquire crypto-random context"}}));
    } else {
        EXPECT_EQ(value, Scripted());
        EXPECT_TRUE(trace.Lines().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Sources, RandomGet32Test,
                         testing::Values(SourceCase{"Delivers", {{4, 0}}, false},
                                         SourceCase{"InterruptedThenDelivers", {{-1, EINTR}, {4, 0}}, false},
                                         SourceCase{"Unavailable", {{-1, ENOSYS}}, true},
                                         SourceCase{"ShortRead", {{2, 0}}, true}),
                         [](const testing::TestParamInfo<SourceCase>& info) { return info.param.name; });

TEST(RandomGet32, SourceIsAskedAgainAfterAFailure) {
    g_answers = {{-1, ENOSYS}, {4, 0}};
    g_calls = 0;
    zema::SetRandomSource(&ScriptedSource);
    RandomGet32();
    EXPECT_EQ(RandomGet32(), Scripted());
    zema::SetRandomSource(nullptr);
}

TEST(RandomGet32, KernelSourceGivesVaryingFullWidthValues) {
    std::set<uint32_t> values;
    bool aboveFallbackRange = false;
    for (int i = 0; i < 16; ++i) {
        const uint32_t value = RandomGet32();
        values.insert(value);
        aboveFallbackRange = aboveFallbackRange || value > 32767u;
    }
    EXPECT_GT(values.size(), 1u);
    EXPECT_TRUE(aboveFallbackRange);
}

}  // namespace
