#include "quillmark/ui/VersionText.h"

#include <cstddef>

namespace qm::ui {

namespace {

constexpr int kShownNumbers = 3;

#ifdef QM_PRERELEASE
constexpr bool kPrerelease = true;
#else
constexpr bool kPrerelease = false;
#endif

}  // namespace

std::string VersionText(std::string_view version, bool prerelease) {
    if (version.empty()) return {};
    // The text up to the dot after the third number, or all of it.
    std::size_t end = 0;
    for (int dots = 0; end < version.size(); ++end)
        if (version[end] == '.' && ++dots == kShownNumbers) break;
    std::string text(version.substr(0, end));
    if (prerelease) text += " Beta";
    return text;
}

std::string ProgramVersionText() {
    return VersionText(QM_VERSION_TEXT, kPrerelease);
}

}  // namespace qm::ui
