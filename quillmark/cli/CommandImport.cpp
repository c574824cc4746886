// quillmark-cli import: takes the devices of a btsnoop capture into a session.

#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "CommandRegistry.h"
#include "SessionFileArguments.h"
#include "quillmark/base/Error.h"
#include "quillmark/bluetooth/capture/CaptureImport.h"
#include "quillmark/core/FileSystem.h"
#include "quillmark/core/SessionFile.h"
#include "quillmark/history/SqliteHistoryStore.h"

namespace qm::cli {

namespace {

constexpr std::string_view kUsage =
    "Usage: quillmark-cli import --btsnoop FILE [--session-dir DIR | --file PATH]\n"
    "Records every device that the inquiry results and remote names of the btsnoop capture FILE\n"
    "show (datalink 1001 HCI, 1002 HCI UART or 2001 btmon) in the session file Quillmark.dat of\n"
    "DIR (default: the program's directory) or in PATH, at the capture's times and the session's\n"
    "current location, logs \"Imported N devices from FILE\" (N new) and saves the session. A device\n"
    "counts once per inquiry. The sightings, with their signal strengths, also go into the history\n"
    "store Quillmark.sqlite beside the session file, at the capture's times.\n"
    "A missing session file is started afresh; one that does not read is left alone.\n";

constexpr std::string_view kPrefix = "quillmark-cli import: ";

struct TOptions {
    std::string capture;
    std::string path;
};

std::optional<TOptions> ParseOptions(const std::vector<std::string>& arguments) {
    std::optional<std::string> capture;
    std::optional<std::string> path;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--btsnoop" && i + 1 < arguments.size() && !capture) {
            capture = arguments[++i];
        } else if (std::optional<std::string> file =
                       path ? std::nullopt : TakeSessionFileOption(arguments, i)) {
            path = std::move(file);
        } else {
            return std::nullopt;
        }
    }
    if (!capture) return std::nullopt;
    return TOptions{*capture, path.value_or(DefaultSessionFile())};
}

std::unique_ptr<TSessionState> SessionToImportInto(const std::string& path, std::ostream& err) {
    if (!PosixFileSystem().Exists(path)) return std::make_unique<TSessionState>();
    return ReadSessionOrComplain(path, kPrefix, err);
}

// The history store's lines, said on its writer thread, are printed once it has closed; a failed
// import prints its own error only.
class TStoreLines {
public:
    THistoryLog Log() {
        return [this](const std::string& line) {
            const std::lock_guard lock(mutex_);
            lines_.push_back(line);
        };
    }
    void Print(std::ostream& err) {
        const std::lock_guard lock(mutex_);
        for (const std::string& line : lines_) err << kPrefix << line << '\n';
    }

private:
    std::mutex mutex_;
    std::vector<std::string> lines_;
};

bt::TCaptureImport ImportAndSave(const TOptions& options, TSessionState& session, TStoreLines& storeLines) {
    const std::unique_ptr<IHistoryStore> history = OpenHistoryStore(options.path, storeLines.Log());
    bt::TCaptureImport result = bt::ImportBtsnoopFile(options.capture, session, history.get());
    SaveSession(session, options.path);
    return result;
}

int Import(const TOptions& options, TSessionState& session, std::ostream& out, std::ostream& err) {
    TStoreLines storeLines;
    bt::TCaptureImport result;
    try {
        result = ImportAndSave(options, session, storeLines);
    } catch (const TError& error) {
        err << kPrefix << error.Message() << '\n';
        return kExitFailure;
    }
    storeLines.Print(err);
    out << "Imported " << result.newDevices << " new and " << result.updatedDevices << " known devices ("
        << result.sightings << " sightings) from " << options.capture << '\n';
    if (result.truncated) out << "The capture ends in a cut record; what came before it was imported.\n";
    return kExitOk;
}

int RunImport(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        out << kUsage << SessionFileHelp();
        return kExitOk;
    }
    const std::optional<TOptions> options = ParseOptions(arguments);
    if (!options) {
        err << kPrefix
            << "expected --btsnoop FILE and at most one of --session-dir DIR and --file PATH (try --help)\n";
        return kExitUsage;
    }
    const std::unique_ptr<TSessionState> session = SessionToImportInto(options->path, err);
    return session ? Import(*options, *session, out, err) : kExitFailure;
}

const CommandRegistration kRegistration("import", "take the devices of a btsnoop capture into a session",
                                        kUsage, RunImport);

}  // namespace

}  // namespace qm::cli
