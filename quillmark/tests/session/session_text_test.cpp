#include "quillmark/core/SessionText.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "quillmark/core/ObjectReader.h"

namespace {

using namespace qm;

constexpr std::int32_t kLoadTime = 1700000000;

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

const std::string kFoundSoundLine = "  FoundSound = 'C:\\WINDOWS\\Media\\Windows XP Information Bar.wav'";

class SessionText : public ::testing::Test {
protected:
    std::unique_ptr<TSessionState> Read(const std::string& text) { return ReadSessionText(text, clock_); }
    // A session file holding the given property lines.
    std::unique_ptr<TSessionState> ReadBody(const std::vector<std::string>& lines) {
        std::vector<std::string> all{"object TSessionState"};
        all.insert(all.end(), lines.begin(), lines.end());
        all.push_back("end");
        return Read(Lines(all));
    }
    TSettableClock clock_{kLoadTime};
    TSessionState state_{clock_};
};

TEST_F(SessionText, FreshSessionIsFourLines) {
    EXPECT_EQ(WriteSessionText(state_),
              Lines({"object TSessionState", "  DeviceList = <>", kFoundSoundLine, "end"}));
}

TEST_F(SessionText, SessionPropertiesInOrderWhenNotDefault) {
    state_.SetTag(-3);
    state_.SetCurrentLocation("Office");
    state_.Log().push_front("first");
    state_.Log().push_front("12/09/26 at 10:00:00: Unable to start device lookup.\r\n");
    state_.SetHideInactive(true);
    state_.SetFoundSound("");
    EXPECT_EQ(WriteSessionText(state_),
              Lines({"object TSessionState", "  Tag = -3", "  DeviceList = <>", "  LocationList.Strings = (",
                     "    'Office')", "  Location = 'Office'", "  Log.Strings = (",
                     "    '12/09/26 at 10:00:00: Unable to start device lookup.'#13#10", "    'first')",
                     "  HideInactive = True", "end"}));
}

TEST_F(SessionText, DevicePropertiesLeaveOutDefaults) {
    TDeviceList& list = state_.DeviceList();
    TBTDevice& plain = list.Add();
    plain.SetName("");
    plain.SetFirstSeen(0);
    TBTDevice& full = list.Add();
    full.SetAddress("(00:11:22:AA:BB:CC)");
    full.SetMajorClass(2);
    full.SetMinorClass(3);
    full.SetLastSeen(1700000100);
    full.SetSeenCount(4);
    full.SetFlags(0x18);
    full.SetRawSDPStream("x");
    full.RawSDPRecords() = {std::string("\x35\x0A\x09\x00\x01", 5)};
    full.SetLocation("Lab");
    EXPECT_EQ(WriteSessionText(state_), Lines({"object TSessionState",
                                               "  DeviceList = <",
                                               "    item",
                                               "    end",
                                               "    item",
                                               "      Name = 'Unknown'",
                                               "      Address = '(00:11:22:AA:BB:CC)'",
                                               "      Type = dtPhone",
                                               "      MajorClass = 2",
                                               "      MinorClass = 3",
                                               "      FirstSeen = 1700000000",
                                               "      LastSeen = 1700000100",
                                               "      SeenCount = 4",
                                               "      Flags = 24",
                                               "      RawSDPStream = 'x'",
                                               "      RawSDPRecords.Strings = (",
                                               "        '5'#10#9#0#1)",
                                               "      Location = 'Lab'",
                                               "    end>",
                                               kFoundSoundLine,
                                               "end"}));
}

// Everything the writer can produce comes back equal, and written again byte for byte the same.
TEST_F(SessionText, RoundTrip) {
    std::string allBytes;
    for (int b = 0; b < 256; ++b) allBytes.push_back(static_cast<char>(b));
    TBTDevice& device = state_.DeviceList().Add();
    device.SetName("K\xC3\xA4thes " + std::string(70, 'x') + " \xF0\x9F\x98\x80 it's");
    device.SetAddress("(00:11:22:AA:BB:CC)");
    device.SetType(dtSerial);
    device.SetFlags(-1);
    device.RawSDPRecords() = {allBytes, std::string(300, '\0'), ""};
    state_.DeviceList().Add().SetAddress("(00:11:22:AA:BB:CD)");
    state_.SetCurrentLocation("b");
    state_.SetCurrentLocation("A");
    state_.Log().push_front(std::string(200, '\''));
    state_.Log().push_front("");
    const std::string text = WriteSessionText(state_);

    const auto read = Read(text);
    ASSERT_EQ(read->DeviceList().Count(), 2);
    const TBTDevice& back = read->DeviceList().Items(0);
    EXPECT_EQ(back.Name(), device.Name());
    EXPECT_EQ(back.Type(), dtSerial);
    EXPECT_EQ(back.Flags(), -1);
    EXPECT_EQ(back.RawSDPRecords(), device.RawSDPRecords());
    EXPECT_EQ(read->LocationList(), (std::vector<std::string>{"A", "b"}));
    EXPECT_EQ(read->Log(), state_.Log());
    EXPECT_EQ(WriteSessionText(*read), text);
}

// A save hands the text over in pieces; together they are the whole text.
TEST_F(SessionText, PiecesMakeTheWholeText) {
    for (int i = 0; i < 3000; ++i) state_.Log().push_back(std::string(100, 'x'));
    for (int i = 0; i < 300; ++i)
        state_.DeviceList().Add().RawSDPRecords().assign(2, std::string(500, '\x01'));
    std::vector<std::string> pieces;
    WriteSessionText(state_, [&pieces](std::string_view piece) { pieces.emplace_back(piece); });
    EXPECT_GT(pieces.size(), 2u);
    std::string joined;
    for (const std::string& piece : pieces) joined += piece;
    EXPECT_EQ(joined, WriteSessionText(state_));
}

TEST_F(SessionText, AbsentPropertiesKeepConstructorValues) {
    const auto read = ReadBody({"  DeviceList = <", "    item", "      Address = '(A)'", "    end>"});
    EXPECT_EQ(read->FoundSound(), std::string(kDefaultFoundSound));
    const TBTDevice& device = read->DeviceList().Items(0);
    EXPECT_EQ(device.Name(), "Unknown");
    EXPECT_EQ(device.FirstSeen(), kLoadTime);
    EXPECT_EQ(read->DeviceList().FindDevice("(A)"), &device);
}

struct AcceptCase {
    const char* name;
    std::vector<std::string> lines;
    std::function<void(const TSessionState&)> check;
    friend std::ostream& operator<<(std::ostream& out, const AcceptCase& c) { return out << c.name; }
};

class Accepted : public SessionText, public ::testing::WithParamInterface<AcceptCase> {};

TEST_P(Accepted, Files) {
    GetParam().check(*ReadBody(GetParam().lines));
}

const TBTDevice& First(const TSessionState& s) {
    return s.DeviceList().Items(0);
}

INSTANTIATE_TEST_SUITE_P(
    Reader, Accepted,
    ::testing::Values(
        AcceptCase{"LocationBeforeItsList",
                   {"  Location = 'Home'", "  LocationList.Strings = (", "    'b'", "    'A')"},
                   [](const TSessionState& s) {
                       EXPECT_EQ(s.Location(), "Home");
                       EXPECT_EQ(s.LocationList(), (std::vector<std::string>{"b", "A"}));
                   }},
        AcceptCase{"LocationJoinsItsList",
                   {"  LocationList.Strings = (", "    'b'", "    'A')", "  Location = 'home'"},
                   [](const TSessionState& s) {
                       EXPECT_EQ(s.LocationList(), (std::vector<std::string>{"A", "b", "home"}));
                   }},
        AcceptCase{"NamesInAnyCaseWithBlanksAroundDots",
                   {"  devicelist = <item [0]", "  type = DTLAPTOP", "  FLAGS = $20 end>",
                    "  log . STRINGS = ('a')", "  hideinactive = TRUE"},
                   [](const TSessionState& s) {
                       EXPECT_EQ(First(s).Type(), dtLaptop);
                       EXPECT_EQ(First(s).Flags(), 0x20);
                       EXPECT_EQ(s.Log().size(), 1u);
                       EXPECT_TRUE(s.HideInactive());
                   }},
        AcceptCase{
            "ClassFieldsRecomputeAStoredType",
            {"  DeviceList = <", "    item", "      Type = dtPrinter", "      MajorClass = 2", "    end",
             "    item", "      MajorClass = 1", "      MinorClass = 3", "      Type = dtModem", "    end>"},
            [](const TSessionState& s) {
                EXPECT_EQ(First(s).Type(), dtPhone);
                EXPECT_EQ(s.DeviceList().Items(1).Type(), dtModem);
            }},
        AcceptCase{"SecondNonEmptyDeviceListReplacesTheFirst",
                   {"  DeviceList = <item Address = '(1)' end>", "  DeviceList = <item Address = '(2)' end>",
                    "  DeviceList = <>"},
                   [](const TSessionState& s) {
                       ASSERT_EQ(s.DeviceList().Count(), 1);
                       EXPECT_EQ(First(s).Address(), "(2)");
                   }},
        AcceptCase{"NilListsComeBackEmpty",
                   {"  Log.Strings = ('a')", "  Log = nil", "  LocationList = nil"},
                   [](const TSessionState& s) {
                       EXPECT_TRUE(s.Log().empty());
                       EXPECT_TRUE(s.LocationList().empty());
                   }},
        AcceptCase{"NameProperty",
                   {"  Name = 'Session_1'"},
                   [](const TSessionState& s) { EXPECT_EQ(s.Name(), "Session_1"); }},
        // The Windows program passes SDP bytes through Windows-1252: the base UUID's 0x80 bytes
        // come as #8364 and 0x9B as #8250.
        AcceptCase{
            "SdpBytesFromTheWindowsProgram",
            {"  DeviceList = <", "    item", "      RawSDPStream = #8250", "      RawSDPRecords.Strings = (",
             "        '5'#22#9#0#1'5'#17#28#0#0#17#1#0#0#16#0#8364#0#0#8364'_'#8250'4'#251)", "    end>"},
            [](const TSessionState& s) {
                EXPECT_EQ(First(s).RawSDPStream(), "\x9B");
                EXPECT_EQ(First(s).RawSDPRecords(),
                          (std::vector<std::string>{
                              std::string("\x35\x16\x09\x00\x01\x35\x11\x1C\x00\x00\x11\x01\x00\x00\x10\x00"
                                          "\x80\x00\x00\x80\x5F\x9B\x34\xFB",
                                          24)}));
            }},
        AcceptCase{"StreamOnlyDevice",
                   {"  DeviceList = <item RawSDPStream = '5'#3 end>"},
                   [](const TSessionState& s) { EXPECT_EQ(First(s).RawSDPStream(), "5\x03"); }}));

struct RejectCase {
    const char* name;
    std::vector<std::string> lines;
    int line;
    const char* reason;
    friend std::ostream& operator<<(std::ostream& out, const RejectCase& c) { return out << c.name; }
};

class Rejected : public SessionText, public ::testing::WithParamInterface<RejectCase> {};

TEST_P(Rejected, Files) {
    try {
        ReadBody(GetParam().lines);
        FAIL() << "accepted";
    } catch (const TObjectReadError& error) {
        EXPECT_EQ(error.Line(), GetParam().line) << error.what();
        EXPECT_THAT(error.what(), ::testing::HasSubstr(GetParam().reason));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Reader, Rejected,
    ::testing::Values(
        RejectCase{"UnknownProperty", {"  DeviceList = <>", "  Colour = 'red'"}, 3, "Unknown property"},
        RejectCase{"UnknownDeviceProperty", {"  DeviceList = <item Colour = 1 end>"}, 2, "Unknown device"},
        RejectCase{"StringForSeenCount", {"  DeviceList = <item SeenCount = '3' end>"}, 2, "Integer"},
        RejectCase{"UnknownDeviceType", {"  DeviceList = <item Type = dtToaster end>"}, 2, "dtToaster"},
        RejectCase{"IntegerForBoolean", {"  HideInactive = 1"}, 2, "\"True\" or \"False\""},
        RejectCase{"NilDeviceList", {"  DeviceList = nil"}, 2, "cannot be nil"},
        RejectCase{"StringsOfANilList", {"  Log = nil", "  Log.Strings = ('a')"}, 3, "nil"},
        RejectCase{"UnbalancedCollection", {"  DeviceList = <item end"}, 3, "\"item\" or \">\""},
        RejectCase{"NestedObject", {"  object Child: TSessionState", "  end"}, 2, "\"=\" expected"},
        RejectCase{"NameThatIsNoIdentifier", {"  Name = 'a'#13#10'b'"}, 2, "Invalid object name"}));

// The name comes back in the header line, which has to stay within the 4096 bytes a line may hold.
TEST_F(SessionText, ObjectNameFitsTheHeaderLine) {
    const std::string longest(4074, 'n');
    const auto read = Read(Lines({"object " + longest + ":TSessionState", "end"}));
    const std::string written = WriteSessionText(*read);
    EXPECT_EQ(written.find("\r\n"), 4096u);
    EXPECT_NO_THROW(Read(written));
    EXPECT_THROW(Read(Lines({"object " + longest + "n:TSessionState", "end"})), TObjectReadError);
    std::string joined = "'n'";
    for (std::size_t i = 1; i < longest.size(); ++i) joined += i % 64 ? "#110" : " +\r\n'n'";
    EXPECT_THROW(Read(Lines({"object TSessionState", "  Name = " + joined + "+'n'", "end"})),
                 TObjectReadError);
    EXPECT_EQ(Read(Lines({"object TSessionState", "  Name = " + joined, "end"}))->Name(), longest);
}

TEST_F(SessionText, RejectsAnotherClass) {
    EXPECT_THROW(Read(Lines({"object TMainForm", "end"})), TObjectReadError);
    EXPECT_NO_THROW(Read(Lines({"object tsessionstate", "end"})));
}

}  // namespace
