#include "quillmark/core/SessionFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <future>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "quillmark/base/Error.h"
#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/ProgramDirectory.h"
#include "quillmark/core/SessionText.h"
#include "quillmark/core/Trace.h"
#include "testsupport/ScopedTempDir.h"

namespace {

using namespace qm;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using testsupport::ScopedTempDir;

// The real file system, with chosen operations failing with a chosen error.
class TFaultyFileSystem : public IFileSystem {
public:
    std::map<std::string, int> failures;  // operation name ("Create": both ways) -> errno
    std::function<void()> onWrite;

    bool Exists(const std::string& path) override { return real_.Exists(path); }
    int LinkTarget(const std::string& path, std::string& target) override {
        return real_.LinkTarget(path, target);
    }
    int ReadFile(const std::string& path, std::string& bytes) override {
        if (const int error = Fail("ReadFile")) return error;
        return real_.ReadFile(path, bytes);
    }
    int OpenForWriting(const std::string& path, int& fd) override {
        if (const int error = Fail("OpenForWriting")) return error;
        return real_.OpenForWriting(path, fd);
    }
    int CreateNew(const std::string& path, int& fd) override {
        if (const int error = Fail("CreateNew")) return error;
        if (const int error = Fail("Create")) return error;
        return real_.CreateNew(path, fd);
    }
    int CreateUnnamed(const std::string& directory, int& fd) override {
        if (const int error = Fail("CreateUnnamed")) return error;
        if (const int error = Fail("Create")) return error;
        return real_.CreateUnnamed(directory, fd);
    }
    int NameUnnamed(int fd, const std::string& path) override {
        if (const int error = Fail("NameUnnamed")) return error;
        return real_.NameUnnamed(fd, path);
    }
    int Write(int fd, std::string_view bytes) override {
        if (onWrite) onWrite();
        if (const int error = Fail("Write")) return error;
        return real_.Write(fd, bytes);
    }
    int Truncate(int fd, std::size_t size) override {
        if (const int error = Fail("Truncate")) return error;
        return real_.Truncate(fd, size);
    }
    int Sync(int fd) override {
        if (const int error = Fail("Sync")) return error;
        return real_.Sync(fd);
    }
    int Close(int fd) override {
        const int closed = real_.Close(fd);
        if (const int error = Fail("Close")) return error;
        return closed;
    }
    int CopyMode(int from, int to) override { return real_.CopyMode(from, to); }
    int Rename(const std::string& from, const std::string& to) override {
        if (const int error = Fail("Rename")) return error;
        return real_.Rename(from, to);
    }
    int Remove(const std::string& path) override { return real_.Remove(path); }
    int SyncDirectoryOf(const std::string& path) override { return real_.SyncDirectoryOf(path); }
    int ListDirectory(const std::string& directory, std::vector<std::string>& names) override {
        return real_.ListDirectory(directory, names);
    }
    bool ProcessEnded(int pid) override { return real_.ProcessEnded(pid); }
    int Stamp(const std::string& path, TFileStamp& stamp) override { return real_.Stamp(path, stamp); }

private:
    int Fail(const std::string& operation) const {
        const auto found = failures.find(operation);
        return found == failures.end() ? 0 : found->second;
    }
    IFileSystem& real_ = PosixFileSystem();
};

constexpr std::int32_t kNow = 1700000000;  // 14 November 2023, 22:13:20 UTC

class SessionFile : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
    std::set<std::string> Files() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
            names.insert(entry.path().filename().string());
        return names;
    }
    std::string Content() const { return ScopedTempDir::read(path_); }

    ScopedTempDir dir_;
    const std::string path_ = SessionFilePath(dir_.path().string() + "/");
    TSettableClock clock_{kNow};
    TFaultyFileSystem files_;
};

TEST_F(SessionFile, SaveThenLoad) {
    TSessionState state(clock_);
    state.DeviceList().Add().SetAddress("(00:11:22:AA:BB:CC)");
    state.Log().push_front("Scan started in location ");
    SaveSession(state, path_, files_);
    EXPECT_EQ(Files(), std::set<std::string>{"Quillmark.dat"});
    EXPECT_EQ(Content(), WriteSessionText(state));

    const auto loaded = LoadSession(path_, clock_, files_);
    EXPECT_EQ(WriteSessionText(*loaded), Content());
    SaveSession(*loaded, path_, files_);
    EXPECT_EQ(Content(), WriteSessionText(state));
}

TEST_F(SessionFile, NoFileGivesAFreshSession) {
    const auto loaded = LoadSession(path_, clock_, files_);
    EXPECT_EQ(loaded->DeviceList().Count(), 0);
    EXPECT_EQ(loaded->FoundSound(), std::string(kDefaultFoundSound));
    EXPECT_TRUE(Files().empty());
}

// A rejected file moves aside (traced at level 1) and the fresh session is saved in its place.
TEST_F(SessionFile, RejectedFileIsKept) {
    ScopedTempDir traceDir(ScopedTempDir::Chdir::Yes);
    ASSERT_EQ(TraceStart("trace.log"), 0);
    TraceLevel(TRACE_MODULE_BLUETOOTH, 1);
    dir_.write("Quillmark.dat", "object TSessionState\r\n  Colour = 'red'\r\nend\r\n");
    const auto loaded = LoadSession(path_, clock_, files_);
    dir_.write("Quillmark.dat", "garbage");
    LoadSession(path_, clock_, files_);
    SaveSession(*loaded, path_, files_);
    TraceStop();

    const std::string kept = "Quillmark.dat.rejected-20231114-221320";
    EXPECT_EQ(Files(), (std::set<std::string>{"Quillmark.dat", kept, kept + "-1"}));
    EXPECT_THAT(ScopedTempDir::read(dir_ / kept), HasSubstr("Colour"));
    EXPECT_EQ(ScopedTempDir::read(dir_ / (kept + "-1")), "garbage");
    EXPECT_EQ(loaded->DeviceList().Count(), 0);
    const std::string trace = ScopedTempDir::read("trace.log");
    EXPECT_THAT(trace, HasSubstr("L1 - Session file " + path_ +
                                 " rejected (line 2: Unknown property \"Colour\"), kept as " + path_ +
                                 ".rejected-20231114-221320\n"));
    TraceLevel(TRACE_MODULE_BLUETOOTH, 0);
}

TEST_F(SessionFile, UnreadableFileIsLeftAlone) {
    dir_.write("Quillmark.dat", "object TSessionState\r\nend\r\n");
    files_.failures["ReadFile"] = EACCES;
    const TSessionFileRead read = ReadSessionFile(path_, clock_, files_);
    EXPECT_EQ(read.outcome, TSessionFileRead::TOutcome::Unreadable);
    EXPECT_EQ(read.reason, "Unable to read " + path_ + ": Permission denied");
    LoadSession(path_, clock_, files_);
    EXPECT_EQ(Files(), std::set<std::string>{"Quillmark.dat"});
}

struct FaultCase {
    const char* name;
    bool fileExists;
    std::map<std::string, int> failures;
    std::string message;  // after the path
    friend std::ostream& operator<<(std::ostream& out, const FaultCase& c) { return out << c.name; }
};

class SaveFaults : public SessionFile, public ::testing::WithParamInterface<FaultCase> {};

// Every failure is reported naming the file, leaves the earlier content whole and no temporary file.
TEST_P(SaveFaults, LeaveTheFileAsItWas) {
    const FaultCase& c = GetParam();
    const std::string before = "object TSessionState\r\nend\r\n";
    if (c.fileExists) dir_.write("Quillmark.dat", before);
    files_.failures = c.failures;
    TSessionState state(clock_);
    try {
        SaveSession(state, path_, files_);
        FAIL() << "saved";
    } catch (const TError& error) {
        EXPECT_THAT(error.Message(), StartsWith("Unable to "));
        EXPECT_THAT(error.Message(), HasSubstr(path_ + c.message));
    }
    EXPECT_EQ(Files(), c.fileExists ? std::set<std::string>{"Quillmark.dat"} : std::set<std::string>{});
    if (c.fileExists) {
        EXPECT_EQ(Content(), before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    SessionFile, SaveFaults,
    ::testing::Values(
        FaultCase{"DirectoryNotWritable", false, {{"Create", EACCES}}, ""},
        FaultCase{"ReadOnlyFile", true, {{"OpenForWriting", EACCES}}, "\n\nError: Permission denied"},
        FaultCase{
            "NoRoomForTheTemporaryFile", true, {{"Create", ENOSPC}}, "\n\nError: No space left on device"},
        FaultCase{"DiskFull", true, {{"Write", ENOSPC}}, "\n\nError: No space left on device"},
        FaultCase{"DiskFullOnNewFile", false, {{"Write", ENOSPC}}, "\n\nError: No space left on device"},
        FaultCase{"FlushFails", true, {{"Sync", EIO}}, "\n\nError: Input/output error"},
        FaultCase{"NamingFails", true, {{"NameUnnamed", EIO}}, "\n\nError: Input/output error"},
        FaultCase{"CloseFails", true, {{"Close", EIO}}, "\n\nError: Input/output error"},
        FaultCase{"RenameFails", true, {{"Rename", EXDEV}}, "\n\nError: Invalid cross-device link"},
        FaultCase{"NamedDiskFull",
                  true,
                  {{"CreateUnnamed", EOPNOTSUPP}, {"Write", ENOSPC}},
                  "\n\nError: No space left on device"},
        FaultCase{"NamedRenameFails",
                  true,
                  {{"CreateUnnamed", EOPNOTSUPP}, {"Rename", EXDEV}},
                  "\n\nError: Invalid cross-device link"}),
    [](const auto& info) { return std::string(info.param.name); });

// A directory that takes no new file (a shared read-only folder) with a writable session file in
// it: the file is rewritten in place, longer old content cut off.
TEST_F(SessionFile, DirectoryRefusesNewFilesSoTheFileIsRewrittenInPlace) {
    for (const int refusal : {EACCES, EPERM}) {
        dir_.write("Quillmark.dat", std::string(100000, 'o'));
        struct stat before;
        ASSERT_EQ(::stat(path_.c_str(), &before), 0);
        files_.failures["Create"] = refusal;
        TSessionState state(clock_);
        state.Log().push_front("Scan started in location ");
        SaveSession(state, path_, files_);
        struct stat after;
        ASSERT_EQ(::stat(path_.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(Content(), WriteSessionText(state));
        EXPECT_EQ(Files(), std::set<std::string>{"Quillmark.dat"});
    }
}

// Rewriting in place reports its failures naming the file; the flush to disk is one of its steps.
TEST_F(SessionFile, InPlaceFailuresAreReported) {
    const std::map<std::string, std::string> cases = {{"Write", "No space left on device"},
                                                      {"Truncate", "Input/output error"},
                                                      {"Sync", "Input/output error"},
                                                      {"Close", "Input/output error"}};
    for (const auto& [operation, text] : cases) {
        dir_.write("Quillmark.dat", "object TSessionState\r\nend\r\n");
        files_.failures = {{"Create", EACCES}, {operation, operation == "Write" ? ENOSPC : EIO}};
        TSessionState state(clock_);
        try {
            SaveSession(state, path_, files_);
            ADD_FAILURE() << operation << " failed but the save succeeded";
        } catch (const TError& error) {
            EXPECT_EQ(error.Message(), "Unable to write file: " + path_ + "\n\nError: " + text) << operation;
        }
        EXPECT_EQ(Files(), std::set<std::string>{"Quillmark.dat"}) << operation;
    }
}

struct LinkCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> links;  // link (in the directory) -> its text
    std::string target;                                      // below the directory
    bool targetExists;
    friend std::ostream& operator<<(std::ostream& out, const LinkCase& c) { return out << c.name; }
};

class SaveThroughLinks : public SessionFile, public ::testing::WithParamInterface<LinkCase> {};

// A session file that is a symbolic link stays one: the save replaces the file it leads to, with
// the temporary file beside that file.
TEST_P(SaveThroughLinks, TheLinkSurvives) {
    const LinkCase& c = GetParam();
    std::filesystem::create_directories(dir_ / "real");
    if (c.targetExists) dir_.write(c.target, "x");
    for (const auto& [link, text] : c.links) {
        const std::string shown = text.starts_with("ABS:") ? (dir_ / text.substr(4)).string() : text;
        std::filesystem::create_symlink(shown, dir_ / link);
    }
    TSessionState state(clock_);
    state.Log().push_front("Scan started in location ");
    SaveSession(state, path_, files_);
    SaveSession(state, path_, files_);
    EXPECT_TRUE(std::filesystem::is_symlink(path_));
    EXPECT_EQ(ScopedTempDir::read(dir_ / c.target), WriteSessionText(state));
    EXPECT_EQ(Content(), WriteSessionText(state));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_ / "real"), {}), 1);
    EXPECT_EQ(LoadSession(path_, clock_, files_)->Log().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    SessionFile, SaveThroughLinks,
    ::testing::Values(
        LinkCase{"Relative", {{"Quillmark.dat", "real/Shared.dat"}}, "real/Shared.dat", true},
        LinkCase{"Absolute", {{"Quillmark.dat", "ABS:real/Shared.dat"}}, "real/Shared.dat", true},
        LinkCase{
            "Chain", {{"middle", "real/Shared.dat"}, {"Quillmark.dat", "middle"}}, "real/Shared.dat", true},
        LinkCase{"TargetMissing", {{"Quillmark.dat", "real/Shared.dat"}}, "real/Shared.dat", false}),
    [](const auto& info) { return std::string(info.param.name); });

bool UnnamedFilesWork(const std::filesystem::path& directory) {
    const int fd = ::open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

// While the text is written the temporary file has no name, so a crash leaves nothing behind;
// where the file system makes no unnamed files it has its temporary name.
TEST_F(SessionFile, TemporaryFileIsUnnamedWhileWritten) {
    const std::string named = "Quillmark.dat.tmp-" + std::to_string(::getpid()) + "-0";
    // failure of CreateUnnamed -> the files seen while the text is written
    const std::map<int, std::set<std::string>> cases = {{0, {"Quillmark.dat"}},
                                                        {EOPNOTSUPP, {"Quillmark.dat", named}},
                                                        {EISDIR, {"Quillmark.dat", named}},
                                                        {EINVAL, {"Quillmark.dat", named}}};
    for (const auto& [error, expected] : cases) {
        if (error == 0 && !UnnamedFilesWork(dir_.path())) continue;
        dir_.write("Quillmark.dat", "x");
        files_.failures = {{"CreateUnnamed", error}};
        std::set<std::string> seen;
        files_.onWrite = [&] { seen.merge(Files()); };
        TSessionState state(clock_);
        SaveSession(state, path_, files_);
        EXPECT_EQ(seen, expected) << error;
        EXPECT_EQ(Content(), WriteSessionText(state)) << error;
        EXPECT_EQ(Files(), std::set<std::string>{"Quillmark.dat"}) << error;
    }
}

// A save cut short by a crash leaves its named temporary file behind; the next load removes those
// of processes that no longer run, beside the file a symbolic link leads to as well.
TEST_F(SessionFile, LoadRemovesTheTemporaryFilesOfEndedProcesses) {
    const std::string ended = std::to_string(2147483646);  // above any pid_max
    const std::string running = std::to_string(::getpid());
    std::filesystem::create_directories(dir_ / "real");
    for (const std::string file : {"Quillmark.dat", "real/Shared.dat"}) {
        if (file != "Quillmark.dat") {
            std::filesystem::remove(path_);
            std::filesystem::create_symlink(file, path_);
        }
        // name -> removed
        const std::map<std::string, bool> entries = {{file + ".tmp-" + ended + "-0", true},
                                                     {file + ".tmp-" + ended + "-17", true},
                                                     {file + ".tmp-" + running + "-0", false},
                                                     {file + ".tmp-" + ended + "-x", false},
                                                     {file + ".tmp-" + ended, false},
                                                     {file + ".tmp--1-0", false},
                                                     {"real/Other.dat.tmp-" + ended + "-0", false}};
        for (const auto& [name, removed] : entries) dir_.write(name, "partial");
        dir_.write(file, "object TSessionState\r\nend\r\n");
        LoadSession(path_, clock_, files_);
        for (const auto& [name, removed] : entries) {
            EXPECT_EQ(std::filesystem::exists(dir_ / name), !removed) << name;
            std::filesystem::remove(dir_ / name);
        }
    }
}

// The file is written while the device list's lock is free: the discovery thread can take it.
TEST_F(SessionFile, FileIsWrittenWithoutTheListLock) {
    TSessionState state(clock_);
    state.DeviceList().Add().SetAddress("(00:11:22:AA:BB:CC)");
    bool lockTaken = false;
    std::vector<std::future<void>> others;  // ended after the save, should it hold the lock
    files_.onWrite = [&] {
        others.push_back(std::async(std::launch::async, [&] { TDeviceListLock lock(state.DeviceList()); }));
        lockTaken = others.back().wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    };
    SaveSession(state, path_, files_);
    EXPECT_TRUE(lockTaken);
    EXPECT_EQ(Content(), WriteSessionText(state));
}

// A save whose text is what the last save to the path wrote leaves the file alone, unless the
// file is gone or that save failed.
TEST_F(SessionFile, SaveOfAnUnchangedSessionWritesNothing) {
    TSessionState state(clock_);
    int writes = 0;
    files_.onWrite = [&writes] { ++writes; };
    const auto saveWrote = [&] {
        writes = 0;
        SaveSession(state, path_, files_);
        return writes > 0;
    };
    EXPECT_TRUE(saveWrote());
    EXPECT_FALSE(saveWrote());
    state.Log().push_front("Scan started in location ");
    EXPECT_TRUE(saveWrote());
    EXPECT_FALSE(saveWrote());
    EXPECT_FALSE(saveWrote());
    std::filesystem::remove(path_);
    EXPECT_TRUE(saveWrote());
    EXPECT_EQ(Content(), WriteSessionText(state));

    state.Log().push_front("Scan finished");
    files_.failures["Rename"] = EIO;
    EXPECT_THROW(SaveSession(state, path_, files_), TError);
    files_.failures.clear();
    EXPECT_TRUE(saveWrote());
    EXPECT_EQ(Content(), WriteSessionText(state));

    const std::string other = dir_.path().string() + "/Other.dat";
    writes = 0;
    SaveSession(state, other, files_);
    EXPECT_GT(writes, 0);
}

TEST_F(SessionFile, CannotCreateIsTheExactText) {
    files_.failures["Create"] = EACCES;
    TSessionState state(clock_);
    try {
        SaveSession(state, path_, files_);
    } catch (const TError& error) {
        EXPECT_EQ(error.Message(), "Unable to create file: " + path_);
    }
    const std::string missing = dir_.path().string() + "/no/such/Quillmark.dat";
    EXPECT_THROW(SaveSession(state, missing, PosixFileSystem()), TError);
}

// A real size limit makes the write fail part-way, as a full disk does.
TEST_F(SessionFile, RealShortWriteKeepsTheOldFile) {
    const std::string before = "object TSessionState\r\nend\r\n";
    dir_.write("Quillmark.dat", before);
    TSessionState state(clock_);
    state.Log().assign(100, std::string(100, 'x'));
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, RLIM_INFINITY};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    EXPECT_THROW(SaveSession(state, path_, PosixFileSystem()), TError);
    EXPECT_EQ(Content(), before);
    EXPECT_EQ(Files(), std::set<std::string>{"Quillmark.dat"});
}

TEST_F(SessionFile, AnotherWriterHoldsTheFile) {
    dir_.write("Quillmark.dat", "x");
    const int other = ::open(path_.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    TSessionState state(clock_);
    EXPECT_THROW(SaveSession(state, path_, PosixFileSystem()), TError);
    EXPECT_EQ(Content(), "x");
    ::close(other);
    EXPECT_NO_THROW(SaveSession(state, path_, PosixFileSystem()));
}

TEST_F(SessionFile, SaveKeepsThePermissions) {
    dir_.write("Quillmark.dat", "x");
    ::chmod(path_.c_str(), 0640);
    TSessionState state(clock_);
    SaveSession(state, path_, PosixFileSystem());
    struct stat info;
    ASSERT_EQ(::stat(path_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(ProgramDirectory, IsTheDirectoryOfTheRunningProgram) {
    const std::string directory = ProgramDirectory();
    EXPECT_EQ(directory, std::filesystem::canonical("/proc/self/exe").parent_path().string() + "/");
    EXPECT_EQ(DirectoryOfFile("/usr/bin/quillmark"), "/usr/bin/");
    EXPECT_EQ(DirectoryOfFile("/quillmark"), "/");
    EXPECT_EQ(DirectoryOfFile("quillmark"), "./");
    EXPECT_EQ(SessionFilePath("/opt/q/"), "/opt/q/Quillmark.dat");
}

}  // namespace
