#pragma once
// The version that the about box shows: major, minor and release number of the version compiled
// into the program, " Beta" after them for a pre-release build.

#include <string>
#include <string_view>

namespace qm::ui {

// The first three dot-separated numbers of version (the build number is not shown), then " Beta"
// when prerelease is set; empty when there is no version.
std::string VersionText(std::string_view version, bool prerelease);

// VersionText of the version and the pre-release option this program was built with.
std::string ProgramVersionText();

}  // namespace qm::ui
