#include <zemautils/trace.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cctype>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <regex>
#include <string>
#include <thread>

#include "testsupport/ScopedTempDir.h"

namespace {

using testsupport::ScopedTempDir;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;
using ::testing::StartsWith;

// Every test works in a directory of its own: the facility reads "trace.conf" from there.
class Trace : public ::testing::Test {
protected:
    void TearDown() override { TraceStop(); }
    std::string Read(const std::string& name) const { return ScopedTempDir::read(dir_ / name); }
    ScopedTempDir dir_{ScopedTempDir::Chdir::Yes};
};

const char* const kCtime = R"([A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9][0-9] [0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{4}\n)";

std::string Header(int style, int maxSize) {
    return std::string("Started Tracing ") + kCtime + "Version: 6\\.6\\.0\\.0\n" +
           "Tracing log style: " + std::to_string(style) + ", maximum log file size: " + std::to_string(maxSize) + "\n";
}

bool Matches(const std::string& text, const std::string& pattern) {
    return std::regex_search(text, std::regex(pattern));
}

struct ConfigCase {
    const char* name;
    const char* file;
    const char* key;
    const char* expected;  // nullptr: the default is returned
    friend std::ostream& operator<<(std::ostream& out, const ConfigCase& c) { return out << c.name; }
};

class ReadConfigLines : public Trace, public ::testing::WithParamInterface<ConfigCase> {};

TEST_P(ReadConfigLines, GiveTheValue) {
    const ConfigCase& c = GetParam();
    dir_.write("my.conf", c.file);
    const char* fallback = "fallback";
    const char* value = ReadConfig("my.conf", c.key, fallback);
    if (c.expected)
        EXPECT_STREQ(value, c.expected);
    else
        EXPECT_EQ(value, fallback);
}

const std::string kLongLine = std::string(1023, 'x') + "Bluetooth=9\n";

INSTANTIATE_TEST_SUITE_P(
    Table, ReadConfigLines,
    ::testing::Values(
        ConfigCase{"Plain", "Bluetooth=100\n", "Bluetooth", "100"},
        ConfigCase{"BlanksAndComment", "  Bluetooth  =  100   # all but 210\n", "Bluetooth", "100"},
        ConfigCase{"KeyAnyCase", "bluetooth=255\n", "Bluetooth", "255"},
        ConfigCase{"FirstWordIsTheKey", "Bluetooth Level = 5\n", "Bluetooth", "5"},
        ConfigCase{"FirstLineWins", "Bluetooth=1\nBluetooth=100\n", "Bluetooth", "1"},
        ConfigCase{"EmptyValueIsALineFeed", "Bluetooth=\n", "Bluetooth", "\n"},
        ConfigCase{"BlankValueIsALineFeed", "Bluetooth= \t \n", "Bluetooth", "\n"},
        ConfigCase{"ValueMayHoldEquals", "TraceFile = a=b.log\n", "TraceFile", "a=b.log"},
        ConfigCase{"CommentInsideValue", "TraceFile = x.log#y.log\n", "TraceFile", "x.log"},
        ConfigCase{"TabsTrimmed", "LogStyle\t=\t1\t\t\n", "LogStyle", "1"},
        ConfigCase{"CrLfLineEnd", "Bluetooth=100\r\n", "Bluetooth", "100"},
        ConfigCase{"LastLineWithoutLineFeed", "x=1\nBluetooth=7", "Bluetooth", "7"},
        ConfigCase{"CommentedOut", "# Bluetooth=5\n", "Bluetooth", nullptr},
        ConfigCase{"NoEquals", "Bluetooth 5\n", "Bluetooth", nullptr},
        ConfigCase{"OtherKeyIsNoPrefixMatch", "Bluetooth2=5\nBlue=6\n", "Bluetooth", nullptr},
        ConfigCase{"NoKeyBeforeEquals", "=5\n", "Bluetooth", nullptr},
        ConfigCase{"LongLineReadInPieces", kLongLine.c_str(), "Bluetooth", "9"}));

// A Turkish single-byte locale, in which the C library lowers 'I' to the dotless 0xFD and the
// dotted capital 0xDD to 'i'. An installed one is used; otherwise one is compiled from the system's
// locale sources into directory. Empty when neither can be had.
std::string TurkishLocale(const std::filesystem::path& directory) {
    const char* const name = "tr_TR.ISO-8859-9";
    if (std::setlocale(LC_ALL, name) == nullptr) {
        const std::string compile =
            "localedef -i tr_TR -f ISO-8859-9 '" + (directory / name).string() + "' >/dev/null 2>&1";
        if (std::system(compile.c_str()) == -1) return "";
        setenv("LOCPATH", directory.c_str(), 1);
        if (std::setlocale(LC_ALL, name) == nullptr) return "";
    }
    std::setlocale(LC_ALL, "C");
    return name;
}

TEST_F(Trace, KeysMatchInAsciiWhateverTheLocale) {
    const std::string turkish = TurkishLocale(dir_.path());
    if (turkish.empty()) GTEST_SKIP() << "no Turkish locale and no locale sources to build one";
    dir_.write("my.conf", "LOGMAXSIZE = 777\ntracefile = t.log\nUTILS=9\n\xDDtems = 3\nbluetooth\v= 4\n");
    struct Case {
        const char* key;
        const char* expected;  // nullptr: the default is returned
    };
    std::setlocale(LC_ALL, turkish.c_str());
    ASSERT_NE(std::tolower('I'), 'i') << "the locale does not lower I differently";
    for (const Case& c : {Case{"LogMaxSize", "777"}, Case{"TraceFile", "t.log"}, Case{"utils", "9"},
                          Case{"items", nullptr}, Case{"Bluetooth", "4"}}) {
        const char* fallback = "fallback";
        const char* value = ReadConfig("my.conf", c.key, fallback);
        if (c.expected)
            EXPECT_STREQ(value, c.expected) << c.key;
        else
            EXPECT_EQ(value, fallback) << c.key << " matched a byte outside ASCII";
    }
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
}

TEST_F(Trace, MissingConfigurationFileGivesTheDefault) {
    const char* fallback = "d";
    EXPECT_EQ(ReadConfig("absent.conf", "Bluetooth", fallback), fallback);
}

struct LevelCase {
    const char* name;
    const char* conf;
    int32_t level;
    friend std::ostream& operator<<(std::ostream& out, const LevelCase& c) { return out << c.name; }
};

class ModuleLevels : public Trace, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(ModuleLevels, AreReadAsDecimalIntegers) {
    dir_.write("trace.conf", GetParam().conf);
    ASSERT_EQ(TraceLoadConfiguration(nullptr), 0);
    EXPECT_EQ(TraceEnabled[TRACE_MODULE_BLUETOOTH], GetParam().level);
}

INSTANTIATE_TEST_SUITE_P(Table, ModuleLevels,
                         ::testing::Values(LevelCase{"Decimal", "Bluetooth = 100 # comment\n", 100},
                                           LevelCase{"Negative", "Bluetooth = -5\n", -5},
                                           LevelCase{"SignAndTrailingText", "Bluetooth=+7x\n", 7},
                                           LevelCase{"NotANumber", "Bluetooth=high\n", 0},
                                           LevelCase{"NothingAfterEquals", "Bluetooth=\n", 0},
                                           LevelCase{"Absent", "Utils=3\n", 0}));

TEST_F(Trace, LoadSetsEveryModuleAndReloadResetsTheUnnamed) {
    dir_.write("trace.conf", "Utils=9\nEngine=3\nZEMASensor=1\nUnknown=23\n");
    ASSERT_EQ(TraceLoadConfiguration("trace.conf"), 0);
    EXPECT_EQ(TraceEnabled[TRACE_MODULE_UTILS], 9);
    EXPECT_EQ(TraceEnabled[TRACE_MODULE_ENGINE], 3);
    EXPECT_EQ(TraceEnabled[TRACE_MODULE_ZEMASENSOR], 1);
    EXPECT_EQ(TraceEnabled[TRACE_MODULE_UNKNOWN], 23);
    dir_.write("trace.conf", "Utils=4\n");
    ASSERT_EQ(TraceLoadConfiguration("trace.conf"), 0);
    EXPECT_EQ(TraceEnabled[TRACE_MODULE_UTILS], 4);
    EXPECT_EQ(TraceEnabled[TRACE_MODULE_ENGINE], 0);
}

TEST_F(Trace, ModuleNamesAreSingleDistinctWords) {
    EXPECT_STREQ(TraceModuleNames[0], "ZEMASensor");
    EXPECT_STREQ(TraceModuleNames[3], "Engine");
    EXPECT_STREQ(TraceModuleNames[9], "Utils");
    EXPECT_STREQ(TraceModuleNames[15], "Bluetooth");
    EXPECT_STREQ(TraceModuleNames[23], "Unknown");
    for (int a = 0; a < TRACE_MODULE_COUNT; ++a) {
        EXPECT_THAT(TraceModuleNames[a], MatchesRegex("[A-Za-z]+"));
        for (int b = a + 1; b < TRACE_MODULE_COUNT; ++b) EXPECT_STRCASENE(TraceModuleNames[a], TraceModuleNames[b]);
    }
}

TEST_F(Trace, WithoutConfigurationAppendsHeaderToTraceLog) {
    dir_.write("trace.log", "earlier\n");
    ASSERT_EQ(TraceLoadConfiguration(nullptr), 0);
    for (int module = 0; module < TRACE_MODULE_COUNT; ++module) EXPECT_EQ(TraceEnabled[module], 0);
    ASSERT_EQ(TraceStop(), 0);
    const std::string log = Read("trace.log");
    EXPECT_TRUE(Matches(log, "^earlier\n" + Header(0, 2000000000) + "Stopped Tracing " + kCtime + "$")) << log;
}

TEST_F(Trace, ConfiguredFileElsewhereWithStyleOneIsTruncated) {
    std::filesystem::create_directory(dir_ / "logs");
    dir_.write("logs/out.txt", "old content that must go\n");
    dir_.write("trace.conf", "TraceFile = logs/out.txt\nLogStyle = 1\nLogMaxSize=5000\n");
    ASSERT_EQ(TraceLoadConfiguration(nullptr), 0);
    ASSERT_EQ(TraceStop(), 0);
    EXPECT_TRUE(Matches(Read("logs/out.txt"), "^" + Header(1, 5000) + "Stopped Tracing ")) << Read("logs/out.txt");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "trace.log"));
}

TEST_F(Trace, StyleAndSizeComeFromTraceConfOnly) {
    dir_.write("trace.conf", "LogStyle=1\nLogMaxSize=777\n");
    dir_.write("other.conf", "TraceFile=other.log\nLogStyle=0\nLogMaxSize=1\nBluetooth=10\n");
    ASSERT_EQ(TraceLoadConfiguration("other.conf"), 0);
    EXPECT_EQ(TraceEnabled[TRACE_MODULE_BLUETOOTH], 10);
    ASSERT_EQ(TraceStop(), 0);
    EXPECT_TRUE(Matches(Read("other.log"), "^" + Header(1, 777)));
}

TEST_F(Trace, StartAndStopReportBadStateAndUnopenableFiles) {
    EXPECT_EQ(TraceStop(), TRACE_BAD_ARGUMENT);
    EXPECT_EQ(TraceStart("missing-dir/trace.log"), TRACE_CANNOT_OPEN);
    EXPECT_EQ(TraceStop(), TRACE_BAD_ARGUMENT);
    ASSERT_EQ(TraceStart("a.log"), 0);
    EXPECT_EQ(TraceStart(""), TRACE_BAD_ARGUMENT);  // stops the open file first
    EXPECT_EQ(TraceStop(), TRACE_BAD_ARGUMENT);
    EXPECT_THAT(Read("a.log"), HasSubstr("Stopped Tracing "));
    EXPECT_EQ(TraceStart(nullptr), TRACE_BAD_ARGUMENT);
    EXPECT_EQ(TraceStart(std::string(5000, 'x').c_str()), TRACE_CANNOT_OPEN) << "longer than any path";
}

TEST_F(Trace, LoadFailsWithoutLoadingLevelsWhenTheFileCannotOpen) {
    dir_.write("trace.conf", "TraceFile=no/such/dir.log\nBluetooth=50\n");
    EXPECT_EQ(TraceLoadConfiguration(nullptr), TRACE_CANNOT_OPEN);
    EXPECT_EQ(TraceEnabled[TRACE_MODULE_BLUETOOTH], 0);
}

TEST_F(Trace, LevelRejectsModulesOutsideTheTable) {
    EXPECT_EQ(TraceLevel(24, 5), TRACE_BAD_ARGUMENT);
    EXPECT_EQ(TraceLevel(-1, 5), TRACE_BAD_ARGUMENT);
    EXPECT_EQ(TraceLevel(0, 5), 0);
    EXPECT_EQ(TraceLevel(23, 6), 0);
    EXPECT_EQ(TraceEnabled[0], 5);
    EXPECT_EQ(TraceEnabled[23], 6);
}

// A level set on one thread while another thread tests it: the accessor's load pairs with
// TraceLevel's store, so ThreadSanitizer sees no race, and every value read is one that was set.
TEST_F(Trace, AccessorReadsLevelsThatAnotherThreadSets) {
    constexpr int32_t kLast = 2000;
    std::thread setter([] {
        for (int32_t level = 1; level <= kLast; ++level) TraceLevel(TRACE_MODULE_BLUETOOTH, level);
    });
    int32_t previous = 0;
    bool ordered = true;
    while (previous != kLast) {
        const int32_t level = TraceModuleLevel(TRACE_MODULE_BLUETOOTH);
        ordered = ordered && level >= previous && level <= kLast;
        previous = level;
    }
    setter.join();
    EXPECT_TRUE(ordered) << "a level read went backwards or was never set";
    TraceLevel(TRACE_MODULE_BLUETOOTH, 0);
}

TEST_F(Trace, TagOpensTheLineWithTimeThreadMillisecondsModuleFunctionAndLine) {
    ASSERT_EQ(TraceStart("trace.log"), 0);
    TracePrintTag(TRACE_MODULE_BLUETOOTH, "QuerySDP", 366);
    TracePrintf("L%d - ", 1);
    TracePrintf("%s\n", "message");
    TracePrintTag(99, "Odd", 1);
    TracePrintf("\n");
    ASSERT_EQ(TraceStop(), 0);
    const std::string tid = std::to_string(syscall(SYS_gettid));
    const std::string padded = std::string(tid.size() < 4 ? 4 - tid.size() : 0, '0') + tid;
    const std::string log = Read("trace.log");
    EXPECT_TRUE(Matches(log, "\n[01][0-9]-[0-3][0-9]-[0-9]{4} [0-2][0-9]:[0-5][0-9]:[0-6][0-9] \\[" + padded +
                                 "\\] \\([0-9]{3}\\) \\[Bluetooth\\]QuerySDP:366 L1 - message\n"))
        << log;
    EXPECT_THAT(log, HasSubstr("[Unknown]Odd:1 \n"));
}

TEST_F(Trace, TextBeforeAnyStartGoesToStandardOutput) {
    ::testing::internal::CaptureStdout();
    TracePrintf("hello %d", 5);
    std::fflush(stdout);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "hello 5");
}

// Writes until the 1000th counted write after the header; each write is 20 bytes.
void WriteThousandLines() {
    for (int i = 0; i < 1000; ++i) TracePrintf("%019d\n", i);
}

TEST_F(Trace, StyleOneRewindsAtTheLimitWithoutShorteningTheFile) {
    dir_.write("trace.conf", "LogStyle=1\nLogMaxSize=1000\n");
    ASSERT_EQ(TraceStart("trace.log"), 0);
    TracePrintf("%s", "first");  // counted write 1
    for (int i = 1; i < 999; ++i) TracePrintf("%019d\n", i);
    EXPECT_THAT(Read("trace.log"), Not(HasSubstr("maximum file size")));
    TracePrintf("%019d\n", 999);  // write 1000: past 1000 bytes, rewinds
    const std::string rewound = Read("trace.log");
    EXPECT_TRUE(Matches(rewound, std::string("\nTrace logging file reached the maximum file size: 1000, rewinding "
                                             "to the beginning at ") + kCtime + "\n$"))
        << rewound.substr(rewound.size() - 200);
    TracePrintf("AFTER");
    const std::string after = Read("trace.log");
    EXPECT_THAT(after, StartsWith("AFTER"));
    EXPECT_EQ(after.size(), rewound.size());
    for (int i = 2; i < 1000; ++i) TracePrintf("x");  // the count restarted at the rewind
    EXPECT_THAT(Read("trace.log"), StartsWith("AFTERxx"));
}

TEST_F(Trace, StyleZeroStopsForGoodAtTheLimit) {
    dir_.write("trace.conf", "LogStyle=0\nLogMaxSize=1000\n");
    ASSERT_EQ(TraceStart("trace.log"), 0);
    WriteThousandLines();
    const std::string stopped = Read("trace.log");
    EXPECT_TRUE(Matches(stopped, std::string("\nTrace logging file reached the maximum file size: 1000, stopp logging at ") +
                                     kCtime + "\\.\n$"));
    TracePrintf("lost");
    TracePrintTag(TRACE_MODULE_BLUETOOTH, "Lost", 1);
    EXPECT_EQ(Read("trace.log"), stopped);
    ASSERT_EQ(TraceStop(), 0);
    ASSERT_EQ(TraceStart("trace.log"), 0);
    TracePrintf("still lost");
    ASSERT_EQ(TraceStop(), 0);
    const std::string final = Read("trace.log");
    EXPECT_TRUE(Matches(final.substr(stopped.size()), "^Stopped Tracing " + std::string(kCtime) + Header(0, 1000) +
                                                          "Stopped Tracing " + kCtime + "$"));
    ::testing::internal::CaptureStdout();
    TracePrintf("nor here");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

TEST_F(Trace, ResetMovesToTheBeginning) {
    dir_.write("trace.conf", "LogStyle=2\n");
    ASSERT_EQ(TraceStart("trace.log"), 0);
    TracePrintf("0123456789");
    EXPECT_EQ(TraceReset(), 0);
    TracePrintf("AB");
    EXPECT_THAT(Read("trace.log"), StartsWith("AB"));
    ASSERT_EQ(TraceStop(), 0);
    EXPECT_EQ(TraceReset(), 0);
}

}  // namespace
