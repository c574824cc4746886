#include <zemautils/logdispatch.h>
#include <zemautils/trace.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <testsupport/ScopedTempDir.h>

#include <string>
#include <vector>

namespace {

using testing::ElementsAre;
using testing::HasSubstr;

struct Delivery {
    std::string sink;
    uint32_t level;
    std::string module;
    int32_t valueA;
    int32_t valueB;
    std::string message;

    bool operator==(const Delivery&) const = default;
};

// Both sinks record into the same list, so the order of the calls shows.
struct Recorder {
    std::vector<Delivery> deliveries;
    int32_t dbResult = 0;
};

// The log sink answers "not stored"; the dispatch must not use that answer.
int32_t RecordLog(uint32_t level, const char* module, int32_t a, int32_t b, const char* message, void* user) {
    static_cast<Recorder*>(user)->deliveries.push_back(
        {"log", level, module ? module : "(none)", a, b, message});
    return 1;
}

int32_t RecordDb(uint32_t level, const char* module, int32_t a, int32_t b, const char* message, void* user) {
    auto* recorder = static_cast<Recorder*>(user);
    recorder->deliveries.push_back({"db", level, module ? module : "(none)", a, b, message});
    return recorder->dbResult;
}

// Each test runs with a trace file in a temporary directory, so standard output holds only what
// the dispatch itself prints there.
class LogDispatch : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(TraceStart("trace.log"), 0);
        ZEMARegisterLogCallback(nullptr, nullptr);
        ZEMARegisterDBLogCallback(nullptr, nullptr);
    }
    void TearDown() override { TraceStop(); }

    std::string TraceText() const { return testsupport::ScopedTempDir::read(dir_ / "trace.log"); }

    testsupport::ScopedTempDir dir_{testsupport::ScopedTempDir::Chdir::Yes};
    Recorder recorder_;
};

TEST_F(LogDispatch, ConsoleLineNamesTheLevel) {
    struct Case {
        uint32_t level;
        const char* line;
    };
    for (const Case& c : {Case{0, " UNKOWN: m\n"}, Case{1, " ERROR: m\n"}, Case{2, " WARNING: m\n"},
                          Case{3, " INFO: m\n"}, Case{4, " DEBUG: m\n"}, Case{5, " TRACE: m\n"},
                          Case{6, " UNKOWN: m\n"}, Case{0xFFFFFFFFu, " UNKOWN: m\n"}}) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(ZEMALogMessage(c.level, "%s", "m"), 0);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.line) << c.level;
    }
}

TEST_F(LogDispatch, TraceCopyIsWrittenWhateverTheLevels) {
    for (int32_t& level : TraceEnabled) level = 0;
    testing::internal::CaptureStdout();
    ZEMALogMessage(2, "disk %d%% full", 93);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), " WARNING: disk 93% full\n");
    EXPECT_THAT(TraceText(), HasSubstr("[Unknown]unknown function:0 disk 93% full\n"));
}

TEST_F(LogDispatch, WithoutTraceFileTheCopyGoesToStandardOutput) {
    TraceStop();
    testing::internal::CaptureStdout();
    ZEMALogMessage(3, "twice");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_THAT(out, HasSubstr("[Unknown]unknown function:0 twice\n"));
    EXPECT_THAT(out, testing::EndsWith(" INFO: twice\n"));
}

TEST_F(LogDispatch, ModuleAndValuesReachTheSinksUnchanged) {
    ZEMARegisterLogCallback(&RecordLog, &recorder_);
    testing::internal::CaptureStdout();
    EXPECT_EQ(ZEMALogMessageModule(4, "Radio", 7, -8, "x=%d", 5), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Radio DEBUG: x=5\n");
    EXPECT_THAT(recorder_.deliveries, ElementsAre(Delivery{"log", 4, "Radio", 7, -8, "x=5"}));
}

TEST_F(LogDispatch, DatabaseSinkTakesOverTheConsole) {
    struct Case {
        int32_t dbResult;
        const char* console;
        bool refused;
    };
    for (const Case& c : {Case{0, "", false}, Case{1, "Log not stored: hello\n", true}}) {
        recorder_ = Recorder{{}, c.dbResult};
        ZEMARegisterLogCallback(&RecordLog, &recorder_);
        ZEMARegisterDBLogCallback(&RecordDb, &recorder_);
        testing::internal::CaptureStdout();
        const int32_t result = ZEMALogMessage(1, "hello");
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.console);
        EXPECT_EQ(result != 0, c.refused);
        EXPECT_THAT(recorder_.deliveries, ElementsAre(Delivery{"log", 1, "(none)", 0, 0, "hello"},
                                                      Delivery{"db", 1, "(none)", 0, 0, "hello"}));
    }
}

TEST_F(LogDispatch, LongMessageIsCutAt1999Characters) {
    ZEMARegisterLogCallback(&RecordLog, &recorder_);
    const std::string text(3000, 'q');
    const std::string kept(1999, 'q');
    testing::internal::CaptureStdout();
    ZEMALogMessage(3, "%s", text.c_str());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), " INFO: " + kept + "\n");
    ASSERT_EQ(recorder_.deliveries.size(), 1u);
    EXPECT_EQ(recorder_.deliveries[0].message, kept);
    EXPECT_THAT(TraceText(), HasSubstr(":0 " + kept + "\n"));
}

TEST_F(LogDispatch, RegistrationCanBeReadBackAndRemoved) {
    ZEMALogCallback log = nullptr;
    ZEMADBLogCallback db = nullptr;
    void* user = nullptr;
    int other = 0;
    EXPECT_EQ(ZEMARegisterLogCallback(&RecordLog, &recorder_), 0);
    EXPECT_EQ(ZEMARegisterDBLogCallback(&RecordDb, &other), 0);
    EXPECT_EQ(ZEMAGetLogCallback(&log, &user), 0);
    EXPECT_EQ(log, &RecordLog);
    EXPECT_EQ(user, &recorder_);
    EXPECT_EQ(ZEMAGetDBLogCallback(&db, &user), 0);
    EXPECT_EQ(db, &RecordDb);
    EXPECT_EQ(user, &other);

    ZEMARegisterLogCallback(nullptr, nullptr);
    ZEMARegisterDBLogCallback(nullptr, nullptr);
    testing::internal::CaptureStdout();
    ZEMALogMessage(3, "after removal");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), " INFO: after removal\n");
    EXPECT_TRUE(recorder_.deliveries.empty());
    ZEMAGetLogCallback(&log, &user);
    EXPECT_EQ(log, nullptr);
    ZEMAGetDBLogCallback(&db, &user);
    EXPECT_EQ(db, nullptr);
}

void LogThroughVaList(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    ZEMALogMessageV(5, format, arguments);
    va_end(arguments);
}

TEST_F(LogDispatch, VaListVariantFormatsTheArguments) {
    testing::internal::CaptureStdout();
    LogThroughVaList("%s-%u", "abc", 42u);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), " TRACE: abc-42\n");
}

}  // namespace
