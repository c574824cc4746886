#include "quillmark/core/SessionState.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

TEST(SessionState, ConstructorValues) {
    qm::TSessionState state;
    EXPECT_EQ(state.Name(), "");
    EXPECT_EQ(state.Tag(), 0);
    EXPECT_EQ(state.DeviceList().Count(), 0);
    EXPECT_TRUE(state.LocationList().empty());
    EXPECT_EQ(state.Location(), "");
    EXPECT_TRUE(state.Log().empty());
    EXPECT_FALSE(state.HideInactive());
    EXPECT_EQ(state.FoundSound(), "C:\\WINDOWS\\Media\\Windows XP Information Bar.wav");
}

// Sorted ignoring case, unique ignoring case, the current spelling kept in Location only.
TEST(SessionState, SetCurrentLocationKeepsTheListSortedAndUnique) {
    qm::TSessionState state;
    for (const char* location : {"office", "Garage", "attic", "OFFICE", "Attic "})
        state.SetCurrentLocation(location);
    EXPECT_EQ(state.Location(), "Attic ");
    EXPECT_EQ(state.LocationList(), (Strings{"attic", "Attic ", "Garage", "office"}));
    state.SetCurrentLocation("GARAGE");
    EXPECT_EQ(state.Location(), "GARAGE");
    EXPECT_EQ(state.LocationList().size(), 4u);
}

TEST(SessionState, NonAsciiLettersIgnoreCaseToo) {
    qm::TSessionState state;
    state.SetCurrentLocation("\xC3\x84rger");  // Ärger
    state.SetCurrentLocation("\xC3\xA4rger");  // ärger
    EXPECT_EQ(state.LocationList().size(), 1u);
}

TEST(SessionState, EmptyLocationIsALocation) {
    qm::TSessionState state;
    state.SetCurrentLocation("b");
    state.SetCurrentLocation("");
    EXPECT_EQ(state.LocationList(), (Strings{"", "b"}));
}

}  // namespace
