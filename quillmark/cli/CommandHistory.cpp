// quillmark-cli history: a device's sighting history by the minute, or the summary of every device,
// from the history store beside a session file.

#include <limits>
#include <optional>
#include <ostream>
#include <variant>

#include "CommandRegistry.h"
#include "HistoryOutput.h"
#include "IsoTime.h"
#include "SessionFileArguments.h"
#include "SessionHistory.h"
#include "TerminalText.h"

namespace qm::cli {

namespace {

constexpr std::string_view kUsage =
    "Usage: quillmark-cli history ADDRESS|--summary [--session-dir DIR | --file PATH] [--from TIME] [--to "
    "TIME] "
    "[--format text|csv|json]\n"
    "Reads the history store Quillmark.sqlite beside the session file Quillmark.dat of DIR (default: the\n"
    "program's directory) or beside PATH.\n"
    "  ADDRESS          the device's rows, oldest first: minute (UTC), location, transport (classic or\n"
    "                   le), sightings, lowest, mean and highest signal in dBm, and the minutes the row\n"
    "                   spans (1, or 60 for the hours the store keeps of older minutes)\n"
    "  --summary        per device: first and last minute, minutes present and locations\n"
    "  --from TIME      only rows from TIME on; with ADDRESS only\n"
    "  --to TIME        only rows before TIME; with ADDRESS only\n"
    "  --format FORMAT  text (a table, the default), csv or json\n"
    "TIME is ISO 8601: 2026-12-10 (the start of the day in UTC), 2026-12-10T14:21Z,\n"
    "2026-12-10T14:21:00Z, or with an offset instead of Z: 2026-12-10T15:21:00+01:00.\n"
    "A device without history, or a session without a store, prints nothing (json: []).\n";

constexpr std::string_view kPrefix = "quillmark-cli history: ";
constexpr std::string_view kComplaint =
    "expected ADDRESS or --summary, at most one of --session-dir DIR and --file PATH, and at most one "
    "each of --from TIME and --to TIME (with ADDRESS) and --format text, csv or json (try --help)";

// Bounds for "no bound", well inside what the store's minutes can hold.
constexpr std::int64_t kEarliest = std::numeric_limits<std::int64_t>::min() / 2;
constexpr std::int64_t kLatest = std::numeric_limits<std::int64_t>::max() / 2;

struct TOptions {
    std::string path;
    std::optional<std::string> address;  // none: the summary
    std::int64_t fromMs = kEarliest;
    std::int64_t toMs = kLatest;
    THistoryFormat format = THistoryFormat::Text;
};

// What the options ask for, or the complaint about them.
using TParsed = std::variant<TOptions, std::string>;

bool IsHelp(const std::string& argument) {
    return argument == "--help" || argument == "-h";
}

// Takes the TIME after --from or --to; the complaint names a value that is no time.
std::optional<std::string> TakeTime(const std::string& option, const std::string& value, std::int64_t& ms) {
    const std::optional<std::int64_t> time = ParseIsoTime(value);
    if (!time)
        return option + ": not an ISO 8601 time: \"" + Printable(value) +
               "\" (for example 2026-12-10T14:21:00Z; try --help)";
    ms = *time;
    return std::nullopt;
}

// The options as given, each at most once and in any order, their values not read yet.
struct TGiven {
    std::optional<std::string> path;
    std::optional<std::string> address;
    bool summary = false;
    std::optional<std::string> from;
    std::optional<std::string> to;
    std::optional<std::string> format;
};

std::optional<TGiven> CollectOptions(const std::vector<std::string>& arguments) {
    TGiven given;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        std::optional<std::string>* valued = argument == "--from"     ? &given.from
                                             : argument == "--to"     ? &given.to
                                             : argument == "--format" ? &given.format
                                                                      : nullptr;
        if (valued && hasValue && !*valued) {
            *valued = arguments[++i];
        } else if (argument == "--summary" && !given.summary) {
            given.summary = true;
        } else if (std::optional<std::string> file =
                       given.path ? std::nullopt : TakeSessionFileOption(arguments, i)) {
            given.path = std::move(file);
        } else if (!argument.starts_with("--") && !given.address) {
            given.address = argument;
        } else {
            return std::nullopt;
        }
    }
    return given;
}

// ADDRESS or --summary; the bounds with ADDRESS only.
TParsed ParseOptions(const std::vector<std::string>& arguments) {
    const std::optional<TGiven> given = CollectOptions(arguments);
    if (!given || given->summary == given->address.has_value() ||
        (given->summary && (given->from || given->to)))
        return std::string(kComplaint);
    TOptions options;
    if (given->format) {
        const std::optional<THistoryFormat> named = HistoryFormatNamed(*given->format);
        if (!named) return std::string(kComplaint);
        options.format = *named;
    }
    if (given->from)
        if (auto complaint = TakeTime("--from", *given->from, options.fromMs)) return *complaint;
    if (given->to)
        if (auto complaint = TakeTime("--to", *given->to, options.toMs)) return *complaint;
    options.path = given->path.value_or(DefaultSessionFile());
    options.address = given->address;
    return options;
}

// The output, or none after the reason the store cannot be read on err.
std::optional<std::string> ReadHistory(const TOptions& options, std::ostream& err) {
    try {
        const std::unique_ptr<IHistoryReader> reader = OpenSessionHistory(options.path);
        if (!options.address)
            return HistorySummaryOutput(options.format,
                                        reader ? reader->Summary() : std::vector<THistoryDeviceSummary>());
        return HistoryMinutesOutput(options.format,
                                    reader ? reader->Minutes(*options.address, options.fromMs, options.toMs)
                                           : std::vector<THistoryMinute>());
    } catch (const TError& error) {
        err << kPrefix << HistoryFailureText(options.path, error) << '\n';
        return std::nullopt;
    }
}

int RunHistory(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.size() == 1 && IsHelp(arguments[0])) {
        out << kUsage << SessionFileHelp();
        return kExitOk;
    }
    const TParsed parsed = ParseOptions(arguments);
    if (const auto* complaint = std::get_if<std::string>(&parsed)) {
        err << kPrefix << *complaint << '\n';
        return kExitUsage;
    }
    const std::optional<std::string> output = ReadHistory(std::get<TOptions>(parsed), err);
    if (!output) return kExitFailure;
    out << *output;
    return kExitOk;
}

const CommandRegistration kRegistration("history",
                                        "show a device's sighting history, or every device's summary", kUsage,
                                        RunHistory);

}  // namespace

}  // namespace qm::cli
