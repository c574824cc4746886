// The order of the known locations follows the user's locale as the environment names it, while
// the process's own locale stays "C" (the command-line tool never sets it; the window's toolkit
// does). The collation is read once per process, so every case runs in a child process of its own
// and nothing in this file compares texts in the parent.

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>
#include <vector>

#include "quillmark/core/SessionState.h"
#include "testsupport/ScopedTempDir.h"

namespace {

using Strings = std::vector<std::string>;

const Strings kLocations = {"Z\u00FCrich", "zebra", "\u00E9clair", "Apfel"};

// The locations joined by "|", as a child sets them one after the other under the given locale
// environment (directory of compiled locales, LC_ALL), with the process's locale left at "C".
std::string SortedInChild(const std::string& localeDir, const std::string& localeName) {
    int fds[2];
    if (::pipe(fds) != 0) return "pipe failed";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        ::setenv("LOCPATH", localeDir.c_str(), 1);
        ::setenv("LC_ALL", localeName.c_str(), 1);
        std::setlocale(LC_ALL, "C");
        qm::TSessionState state;
        for (const std::string& location : kLocations) state.SetCurrentLocation(location);
        std::string joined;
        for (const std::string& entry : state.LocationList()) joined += (joined.empty() ? "" : "|") + entry;
        const bool written =
            ::write(fds[1], joined.data(), joined.size()) == static_cast<ssize_t>(joined.size());
        ::_exit(written ? 0 : 1);
    }
    ::close(fds[1]);
    std::string joined;
    char buffer[256];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        joined.append(buffer, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? joined : "child failed";
}

TEST(LocationOrder, FollowsTheLocaleOfTheEnvironment) {
    testsupport::ScopedTempDir dir;
    const std::string compile =
        "localedef -i en_US -f UTF-8 '" + (dir / "en_US.UTF-8").string() + "' >/dev/null 2>&1";
    if (std::system(compile.c_str()) != 0) GTEST_SKIP() << "localedef cannot compile en_US.UTF-8 here";

    // The user's locale puts accented letters beside their base letters.
    EXPECT_EQ(SortedInChild(dir.path().string(), "en_US.UTF-8"), "Apfel|\u00E9clair|zebra|Z\u00FCrich");
    // "C" and a locale that is not installed both order by code point.
    EXPECT_EQ(SortedInChild(dir.path().string(), "C"), "Apfel|zebra|Z\u00FCrich|\u00E9clair");
    EXPECT_EQ(SortedInChild(dir.path().string(), "xx_XX.UTF-8"), "Apfel|zebra|Z\u00FCrich|\u00E9clair");
}

}  // namespace
