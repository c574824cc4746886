// quillmark-cli scan: the headless inventory. Runs the discovery thread against the kernel's
// Bluetooth or the emulated radio, with this thread as its main thread: it serves the thread's
// hand-offs, prints every log line as it is added and saves the session as the main window does.

#include <csignal>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>

#include "CommandRegistry.h"
#include "NumberArgument.h"
#include "quillmark/base/Error.h"
#include "quillmark/bluetooth/BluetoothInquiryPass.h"
#include "quillmark/bluetooth/platform/ProtocolPlatform.h"
#include "quillmark/bluetooth/platform/emulated/DefaultScenario.h"
#include "quillmark/bluetooth/platform/emulated/EmulatedRadio.h"
#include "quillmark/bluetooth/platform/emulated/ScenarioJson.h"
#include "quillmark/bluetooth/platform/linux/LinuxSocketFactory.h"
#include "quillmark/core/DiscoveryThread.h"
#include "quillmark/core/HandOffQueue.h"
#include "quillmark/core/ProgramDirectory.h"
#include "quillmark/core/SessionFile.h"
#include "quillmark/core/TimeText.h"

namespace qm::cli {

namespace {

constexpr std::string_view kUsage =
    "Usage: quillmark-cli scan [--simulate[=FILE]] [--session-dir DIR] [--duration SECONDS]\n"
    "Scans for Bluetooth devices and keeps the inventory in DIR/Quillmark.dat (default: the program's\n"
    "directory), printing every log line as it is added, until SIGINT, SIGTERM or the end of the\n"
    "duration. --simulate runs on the emulated radio with its built-in scenario, or the JSON\n"
    "scenario FILE; without it the first powered Bluetooth adapter is used.\n";

constexpr std::string_view kPrefix = "quillmark-cli scan: ";
constexpr std::uint32_t kMaximumDuration = 365u * 24 * 3600;

struct TOptions {
    bool simulate = false;
    std::string scenarioFile;
    std::string directory;
    std::optional<std::uint32_t> duration;
};

std::string WithSlash(std::string directory) {
    if (directory.empty() || directory.back() != '/') directory += '/';
    return directory;
}

std::optional<TOptions> ParseOptions(const std::vector<std::string>& arguments) {
    TOptions options{false, {}, ProgramDirectory(), std::nullopt};
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--simulate") {
            options.simulate = true;
        } else if (argument.starts_with("--simulate=") && argument.size() > 11) {
            options.simulate = true;
            options.scenarioFile = argument.substr(11);
        } else if (argument == "--session-dir" && i + 1 < arguments.size()) {
            options.directory = WithSlash(arguments[++i]);
        } else if (argument == "--duration" && i + 1 < arguments.size()) {
            options.duration = ParseNumberArgument(arguments[++i], kMaximumDuration);
            if (!options.duration) return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    return options;
}

volatile std::sig_atomic_t StopSignal = 0;

extern "C" void OnStopSignal(int) {
    StopSignal = 1;
}

// SIGINT and SIGTERM end the scan instead of the process while it runs.
class TStopSignals {
public:
    TStopSignals() {
        StopSignal = 0;
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &previousInt_);
        sigaction(SIGTERM, &action, &previousTerm_);
    }
    ~TStopSignals() {
        sigaction(SIGINT, &previousInt_, nullptr);
        sigaction(SIGTERM, &previousTerm_, nullptr);
    }
    bool Raised() const { return StopSignal != 0; }

private:
    struct sigaction previousInt_ {};
    struct sigaction previousTerm_ {};
};

// The console in the role of the main window.
class TConsoleBridge : public IMainThreadBridge {
public:
    TConsoleBridge(TSessionState& session, std::string path, std::ostream& out, std::ostream& err)
        : session_(session), path_(std::move(path)), out_(out), err_(err) {}

    THandOffQueue& Queue() { return queue_; }

    void Synchronize(const std::function<void()>& work) override { queue_.Synchronize(work); }
    void PostListChanged(int parameter) override {
        if (parameter == 1) queue_.Post([this] { SaveReportingErrors(); });
    }
    void DiscoveryEnded() override { queue_.Wake(); }

    void AddLogLine(const std::string& text) override {
        const std::string line = FormatTime(session_.Clock().Now()) + ": " + text;
        session_.Log().push_front(line);
        out_ << line << std::endl;
        SaveSession(session_, path_);
    }
    void StartScanIndicator() override {}

private:
    // A failed save on the console's own initiative is reported, and the scan goes on.
    void SaveReportingErrors() {
        try {
            SaveSession(session_, path_);
        } catch (const TError& error) {
            err_ << kPrefix << error.what() << '\n';
        }
    }

    TSessionState& session_;
    std::string path_;
    std::ostream& out_;
    std::ostream& err_;
    THandOffQueue queue_;
};

class TSilentSound : public IFoundSound {
public:
    void Play(const std::string&) override {}
};

std::unique_ptr<bt::TSocketFactory> MakeSockets(const TOptions& options) {
    if (!options.simulate) return std::make_unique<bt::TLinuxSocketFactory>();
    if (options.scenarioFile.empty())
        return std::make_unique<bt::emu::TEmulatedRadio>(bt::emu::DefaultScenario());
    std::ifstream file(options.scenarioFile, std::ios::binary);
    if (!file) throw TError("Unable to read scenario file: " + options.scenarioFile);
    std::ostringstream text;
    text << file.rdbuf();
    return std::make_unique<bt::emu::TEmulatedRadio>(bt::emu::ParseScenario(text.str()));
}

void Scan(const TOptions& options, std::ostream& out, std::ostream& err) {
    const auto sockets = MakeSockets(options);
    bt::TProtocolPlatform platform(*sockets);
    const std::string path = SessionFilePath(options.directory);
    const std::unique_ptr<TSessionState> session = LoadSession(path);
    TConsoleBridge bridge(*session, path, out, err);
    bridge.AddLogLine("Scan started in location " + session->Location());

    TBluetoothInquiryPass pass(platform, *session);
    TSilentSound sound;
    TDiscoveryThread thread(pass, bridge, sound, *session);
    const TStopSignals signals;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(options.duration.value_or(0));
    thread.Resume();
    bridge.Queue().ServeUntil(
        [&] { return signals.Raised() || (options.duration && std::chrono::steady_clock::now() >= end); });
    thread.Terminate();
    bridge.Queue().ServeUntil([&] { return thread.Finished(); });
    thread.WaitFor();
    bridge.AddLogLine("Scan finished");
    SaveSession(*session, path);
}

int RunScan(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        out << kUsage;
        return kExitOk;
    }
    const auto options = ParseOptions(arguments);
    if (!options) {
        err << kPrefix << "invalid arguments (try --help)\n";
        return kExitUsage;
    }
    try {
        Scan(*options, out, err);
    } catch (const TError& error) {
        err << kPrefix << error.what() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

const CommandRegistration kRegistration("scan", "scan for Bluetooth devices and keep the inventory", RunScan);

}  // namespace

}  // namespace qm::cli
