// quillmark-cli scan: the headless inventory. Runs the discovery thread against the kernel's
// Bluetooth or the emulated radio, with this thread as its main thread: it serves the thread's
// hand-offs, prints every log line as it is added and saves the session as the main window does.

#include <csignal>
#include <optional>
#include <ostream>

#include "CommandRegistry.h"
#include "NumberArgument.h"
#include "SessionFileArguments.h"
#include "quillmark/base/Error.h"
#include "quillmark/bluetooth/DiscoveryRadio.h"
#include "quillmark/core/HandOffQueue.h"
#include "quillmark/core/ProgramDirectory.h"
#include "quillmark/core/ProgramLifeCycle.h"
#include "quillmark/history/SqliteHistoryReader.h"
#include "quillmark/history/SqliteHistoryStore.h"
#include "quillmark/core/SessionFile.h"

namespace qm::cli {

namespace {

constexpr std::string_view kUsage =
    "Usage: quillmark-cli scan [--simulate[=FILE]] [--session-dir DIR] [--duration SECONDS]\n"
    "Scans for Bluetooth devices and keeps the inventory in DIR/Quillmark.dat, printing every log\n"
    "line as it is added, until SIGINT or SIGTERM.\n"
    "  --simulate[=FILE]   scan the emulated radio with its built-in scenario, or the JSON scenario\n"
    "                      FILE; without it the first powered Bluetooth adapter is used\n"
    "  --session-dir DIR   keep the session file Quillmark.dat in DIR\n"
    "  --duration SECONDS  end the scan after SECONDS, as SIGINT does\n";

constexpr std::string_view kPrefix = "quillmark-cli scan: ";
constexpr std::uint32_t kMaximumDuration = 365u * 24 * 3600;

struct TOptions {
    TRadioChoice radio;
    std::string directory;
    std::optional<std::uint32_t> duration;
};

std::string WithSlash(std::string directory) {
    if (directory.empty() || directory.back() != '/') directory += '/';
    return directory;
}

std::optional<TOptions> ParseOptions(const std::vector<std::string>& arguments) {
    TOptions options;
    options.directory = ProgramDirectory();
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (TakeRadioOption(argument, options.radio)) continue;
        if (argument == "--session-dir" && i + 1 < arguments.size()) {
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

// The console in the role of the main window: this thread serves the discovery thread's
// hand-offs, the log view is the standard output, and a membership change saves the session.
class TConsoleBridge : public IMainThreadBridge, public ILogView {
public:
    TConsoleBridge(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

    void Attach(TProgramLifeCycle& program) { program_ = &program; }

    void Synchronize(const std::function<void()>& work) override { queue_.Synchronize(work); }
    void PostListChanged(int parameter) override {
        if (parameter == 1) queue_.Post([this] { SaveReportingErrors(); });
    }
    void Post(std::function<void()> work) override { queue_.Post(std::move(work)); }
    void DiscoveryEnded() override { queue_.Wake(); }
    void ServeUntil(const std::function<bool()>& done) override { queue_.ServeUntil(done); }
    void AddLogLine(const std::string& text) override { program_->AddLogLine(text); }
    void StartScanIndicator() override {}

    void LogLineAdded(const std::string& line) override { out_ << line << std::endl; }

private:
    // A failed save on the console's own initiative is reported, and the scan goes on.
    void SaveReportingErrors() {
        try {
            program_->SaveSession();
        } catch (const TError& error) {
            err_ << kPrefix << error.what() << '\n';
        }
    }

    std::ostream& out_;
    std::ostream& err_;
    TProgramLifeCycle* program_ = nullptr;
    THandOffQueue queue_;
};

class TSilentSound : public IFoundSound {
public:
    void Play(const std::string&) override {}
};

void Scan(const TOptions& options, std::ostream& out, std::ostream& err) {
    TConsoleBridge bridge(out, err);
    TSilentSound sound;
    TProgramLifeCycle program({SessionFilePath(options.directory),
                               [&](TSessionState& session, ISightingSink* sink) {
                                   return MakeInquiryPass(OpenRadio(options.radio), session, sink);
                               },
                               OpenHistoryStore, OpenHistoryReader, bridge, sound, bridge});
    bridge.Attach(program);

    const TStopSignals signals;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(options.duration.value_or(0));
    program.Resume();
    bridge.ServeUntil(
        [&] { return signals.Raised() || (options.duration && std::chrono::steady_clock::now() >= end); });
    program.Stop();
}

int RunScan(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        out << kUsage << SessionFileHelp();
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

const CommandRegistration kRegistration("scan", "scan for Bluetooth devices and keep the inventory", kUsage,
                                        RunScan);

}  // namespace

}  // namespace qm::cli
