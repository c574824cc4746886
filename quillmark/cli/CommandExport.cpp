// quillmark-cli export: writes the inventory of a session as CSV, JSON or an HTML page.

#include <optional>
#include <ostream>

#include "CommandRegistry.h"
#include "SessionFileArguments.h"
#include "SessionHistory.h"
#include "quillmark/base/Error.h"
#include "quillmark/core/FileSystem.h"
#include "quillmark/core/ReportFormat.h"
#include "quillmark/core/ReportHistory.h"
#include "quillmark/core/SafeFileWriter.h"
#include "quillmark/core/VendorRegistry.h"

namespace qm::cli {

namespace {

constexpr std::string_view kUsage =
    "Usage: quillmark-cli export --format csv|json|html [--session-dir DIR | --file PATH] [--output OUT]\n"
    "Writes every device of the session file Quillmark.dat of DIR (default: the program's directory)\n"
    "or of PATH to OUT (default: standard output): address, vendor, name, type, class, first and last\n"
    "seen, sightings, flags, location and services; JSON and HTML add each device's SDP listing.\n"
    "Each row ends with two facts from the history store Quillmark.sqlite beside the session file:\n"
    "rssi, the signal of the device's latest sighting in dBm (empty or null when unknown), and\n"
    "minutes_present (0 when unknown); without a readable store, every row has them unknown.\n"
    "OUT is replaced only once the whole report is made.\n";

constexpr std::string_view kPrefix = "quillmark-cli export: ";

struct TOptions {
    TReportFormat format;
    std::string path;
    std::string output;  // empty: standard output
};

// Each option at most once, in any order; --format is required.
std::optional<TOptions> ParseOptions(const std::vector<std::string>& arguments) {
    std::optional<TReportFormat> format;
    std::optional<std::string> path;
    std::optional<std::string> output;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == "--format" && hasValue && !format) {
            format = ReportFormatNamed(arguments[++i]);
            if (!format) return std::nullopt;
        } else if (argument == "--output" && hasValue && !output && !arguments[i + 1].empty()) {
            output = arguments[++i];
        } else if (std::optional<std::string> file =
                       path ? std::nullopt : TakeSessionFileOption(arguments, i)) {
            path = std::move(file);
        } else {
            return std::nullopt;
        }
    }
    if (!format) return std::nullopt;
    return TOptions{*format, path.value_or(DefaultSessionFile()), output.value_or(std::string())};
}

// The history facts of the rows from the store beside the session file. The report is made without
// them (each row with no signal and no minutes) when there is no store, and when the store cannot
// be read, after its reason on err.
TReportHistory HistoryOfRows(const std::string& sessionPath, const std::vector<TDeviceReportRow>& rows,
                             std::ostream& err) {
    try {
        const std::unique_ptr<IHistoryReader> reader = OpenSessionHistory(sessionPath);
        return reader ? ReadReportHistory(*reader, rows) : TReportHistory();
    } catch (const TError& error) {
        err << kPrefix << HistoryFailureText(sessionPath, error) << " (the report shows no history)\n";
        return {};
    }
}

int WriteReport(const std::string& report, const std::string& output, std::ostream& out, std::ostream& err) {
    if (output.empty()) {
        out << report;
        return kExitOk;
    }
    try {
        TSafeFileWriter file(PosixFileSystem(), output);
        file.Write(report);
        file.Commit();
    } catch (const TError& error) {
        err << kPrefix << error.Message() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

int RunExport(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        out << kUsage << SessionFileHelp();
        return kExitOk;
    }
    const std::optional<TOptions> options = ParseOptions(arguments);
    if (!options) {
        err << kPrefix
            << "expected --format csv, json or html, at most one of --session-dir DIR and --file PATH, "
               "and at most one --output OUT (try --help)\n";
        return kExitUsage;
    }
    const std::unique_ptr<TSessionState> state = ReadSessionOrComplain(options->path, kPrefix, err);
    if (!state) return kExitFailure;
    const std::vector<TDeviceReportRow> rows = CollectDeviceReport(*state, SystemVendorRegistry());
    const TReportHistory history = HistoryOfRows(options->path, rows, err);
    const std::string report = RenderReport(options->format, rows, &history);
    return WriteReport(report, options->output, out, err);
}

const CommandRegistration kRegistration("export", "write a session's inventory as CSV, JSON or HTML", kUsage,
                                        RunExport);

}  // namespace

}  // namespace qm::cli
