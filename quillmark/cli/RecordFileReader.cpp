#include "RecordFileReader.h"

#include <cctype>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <ostream>

#include "CommandRegistry.h"
#include "quillmark/base/Error.h"
#include "quillmark/base/SystemErrorText.h"

namespace qm::cli {

namespace {

struct TRecordInput {
    std::vector<std::string> records;  // in the order of the files
    std::optional<int> exitStatus;     // set when the command ends here: help shown or an error reported
};

struct TRecordArguments {
    bool help = false;
    bool hex = false;
    std::vector<std::string> paths;
    std::string wrongArgument;  // the first argument that is no option of the command
};

TRecordArguments ParseRecordArguments(const std::vector<std::string>& arguments) {
    TRecordArguments parsed;
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            parsed.help = true;
        } else if (argument == "--hex") {
            parsed.hex = true;
        } else if (argument.size() > 1 && argument[0] == '-') {
            if (parsed.wrongArgument.empty()) parsed.wrongArgument = argument;
        } else {
            parsed.paths.push_back(argument);
        }
    }
    return parsed;
}

int HexDigitValue(char digit) {
    if (digit >= '0' && digit <= '9') return digit - '0';
    if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
    if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
    return -1;
}

// Reads the whole file; nothing, with errno telling why, when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path) {
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes(std::istreambuf_iterator<char>(in), {});
    if (in.bad()) return std::nullopt;
    return bytes;
}

// One record from a file; nothing after reporting on err why there is none.
std::optional<std::string> ReadRecordFile(const std::string& path, bool hex, std::string_view command,
                                          std::ostream& err) {
    const std::optional<std::string> contents = ReadWholeFile(path);
    if (!contents) {
        err << "quillmark-cli " << command << ": cannot read '" << path
            << "': " << SystemErrorText(errno ? errno : EIO) << '\n';
        return std::nullopt;
    }
    if (!hex) return contents;
    std::optional<std::string> record = DecodeHexRecord(*contents);
    if (!record) err << "quillmark-cli " << command << ": '" << path << "' is not hexadecimal text\n";
    return record;
}

TRecordInput ReadRecordArguments(const std::vector<std::string>& arguments, std::string_view command,
                                 std::string_view usage, std::ostream& out, std::ostream& err) {
    TRecordInput input;
    const TRecordArguments parsed = ParseRecordArguments(arguments);
    if (parsed.help) {
        out << usage;
        input.exitStatus = kExitOk;
    } else if (!parsed.wrongArgument.empty()) {
        err << "quillmark-cli " << command << ": unknown option '" << parsed.wrongArgument
            << "' (try --help)\n";
        input.exitStatus = kExitUsage;
    } else if (parsed.paths.empty()) {
        err << "quillmark-cli " << command << ": missing FILE (try --help)\n";
        input.exitStatus = kExitUsage;
    }
    for (std::size_t index = 0; !input.exitStatus && index < parsed.paths.size(); ++index) {
        std::optional<std::string> record = ReadRecordFile(parsed.paths[index], parsed.hex, command, err);
        if (record) {
            input.records.push_back(std::move(*record));
        } else {
            input.exitStatus = kExitFailure;
        }
    }
    return input;
}

}  // namespace

std::optional<std::string> DecodeHexRecord(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size() / 2);
    int high = -1;
    for (const char character : text) {
        if (std::isspace(static_cast<unsigned char>(character))) continue;
        const int value = HexDigitValue(character);
        if (value < 0) return std::nullopt;
        if (high < 0) {
            high = value;
        } else {
            bytes += static_cast<char>(high << 4 | value);
            high = -1;
        }
    }
    if (high >= 0) return std::nullopt;
    return bytes;
}

int RunRecordCommand(const std::vector<std::string>& arguments, std::string_view command,
                     std::string_view usage, std::string (*render)(const std::string& record),
                     std::ostream& out, std::ostream& err) {
    const TRecordInput input = ReadRecordArguments(arguments, command, usage, out, err);
    if (input.exitStatus) return *input.exitStatus;
    std::string text;
    try {
        for (const std::string& record : input.records) text += render(record);
    } catch (const TError& error) {
        err << error.Message() << '\n';
        return kExitFailure;
    }
    out << text;
    return kExitOk;
}

}  // namespace qm::cli
