// The found sound: which file plays for the session's path, where the installed chime is found,
// and that the libcanberra player stays silent and returns when there is nothing to play on.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "quillmark/core/SessionState.h"
#include "quillmark/ui/CanberraFoundSound.h"
#include "quillmark/ui/DefaultFoundSound.h"
#include "testsupport/ScopedTempDir.h"

namespace qm::ui {
namespace {

namespace fs = std::filesystem;
using testsupport::ScopedTempDir;

const std::string kChime = "/opt/quillmark/share/quillmark/sounds/found.wav";

// A mono 16-bit wave file of 100 silent samples at 22050 Hz.
std::string SilentWave() {
    auto word = [](std::uint32_t value, int bytes) {
        std::string text;
        for (int i = 0; i < bytes; ++i) text += static_cast<char>((value >> (8 * i)) & 0xFF);
        return text;
    };
    const std::uint32_t dataSize = 200;
    return "RIFF" + word(36 + dataSize, 4) + "WAVEfmt " + word(16, 4) + word(1, 2) + word(1, 2) +
           word(22050, 4) + word(44100, 4) + word(2, 2) + word(16, 2) + "data" + word(dataSize, 4) +
           std::string(dataSize, '\0');
}

enum class TPlays { Nothing, OwnPath, Chime };

TEST(ChooseFoundSoundFileTest, PicksTheSessionPathOnlyWhenItNamesAReadableRegularFile) {
    ScopedTempDir dir;
    dir.write("bell.wav", SilentWave());
    dir.write("empty.wav", "");
    fs::create_directory(dir / "sounds.wav");
    fs::create_symlink(dir / "bell.wav", dir / "link.wav");
    fs::create_symlink(dir / "gone.wav", dir / "dangling.wav");
    const std::string windowsDefault(kDefaultFoundSound);
    struct TCase {
        const char* name;
        std::string path;  // a bare name is looked up in the temporary directory
        TPlays plays;
    };
    const TCase cases[] = {
        {"empty path is silence", "", TPlays::Nothing},
        {"windows default", windowsDefault, TPlays::Chime},
        {"readable file", "bell.wav", TPlays::OwnPath},
        {"empty file is still a file", "empty.wav", TPlays::OwnPath},
        {"link to a file", "link.wav", TPlays::OwnPath},
        {"missing file", "missing.wav", TPlays::Chime},
        {"dangling link", "dangling.wav", TPlays::Chime},
        {"directory", "sounds.wav", TPlays::Chime},
        {"file under a missing directory", "nowhere/bell.wav", TPlays::Chime},
    };
    for (const TCase& c : cases) {
        const bool inDirectory = !c.path.empty() && c.path != windowsDefault;
        const std::string path = inDirectory ? (dir / c.path).string() : c.path;
        const std::string expected = c.plays == TPlays::Nothing   ? ""
                                     : c.plays == TPlays::OwnPath ? path
                                                                  : kChime;
        EXPECT_EQ(ChooseFoundSoundFile(path, kChime), expected) << c.name;
    }
}

TEST(ChooseFoundSoundFileTest, UnreadableFileFallsBackToTheChime) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    ScopedTempDir dir;
    const fs::path locked = dir.write("locked.wav", SilentWave());
    fs::permissions(locked, fs::perms::none);
    EXPECT_EQ(ChooseFoundSoundFile(locked.string(), kChime), kChime);
}

TEST(DefaultFoundSoundFileTest, PrefersTheChimeBesideTheProgramThenTheSharedOne) {
    struct TCase {
        const char* name;
        bool besideProgram;
        bool shared;
        const char* expected;  // relative to the program directory
    };
    const TCase cases[] = {
        {"build tree", true, false, "found.wav"},
        {"both", true, true, "found.wav"},
        {"installed", false, true, "../share/quillmark/sounds/found.wav"},
        {"neither: the installed place", false, false, "../share/quillmark/sounds/found.wav"},
    };
    for (const TCase& c : cases) {
        ScopedTempDir dir;
        fs::create_directories(dir / "bin");
        fs::create_directories(dir / "share/quillmark/sounds");
        if (c.besideProgram) dir.write("bin/found.wav", SilentWave());
        if (c.shared) dir.write("share/quillmark/sounds/found.wav", SilentWave());
        const std::string programDirectory = (dir / "bin").string() + "/";
        EXPECT_EQ(DefaultFoundSoundFile(programDirectory), programDirectory + c.expected) << c.name;
    }
}

// Whatever the machine's audio (none in CI), playing returns at once, prints nothing, and the
// player ends cleanly with a sound possibly still playing.
TEST(CanberraFoundSoundTest, PlaysQuietlyAndEndsWithoutAnAudioDevice) {
    ScopedTempDir dir;
    const std::string wave = dir.write("found.wav", SilentWave()).string();
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    {
        TCanberraFoundSound sound(wave);
        sound.Play(std::string(kDefaultFoundSound));
        sound.Play(wave);
        sound.Play((dir / "missing.wav").string());
        sound.Play("");
    }
    {
        TCanberraFoundSound sound((dir / "no-chime.wav").string());
        sound.Play(std::string(kDefaultFoundSound));
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace qm::ui
