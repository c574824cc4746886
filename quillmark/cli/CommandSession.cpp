// quillmark-cli session: checks, lists, shows and rewrites a session file.

#include <optional>
#include <ostream>

#include "CommandRegistry.h"
#include "SessionFileArguments.h"
#include "TerminalText.h"
#include "quillmark/base/Error.h"
#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/SessionFile.h"
#include "quillmark/core/TimeText.h"
#include "quillmark/core/VendorRegistry.h"

namespace qm::cli {

namespace {

constexpr std::string_view kUsage =
    "Usage: quillmark-cli session check|list|show ADDRESS|rewrite [--session-dir DIR | --file PATH]\n"
    "Works on the session file Quillmark.dat of DIR (default: the program's directory) or on PATH.\n"
    "  check           whether the file reads; prints devices=N locations=M log=K\n"
    "  list            one line per device: address, vendor, name, type, class, first seen, last seen,\n"
    "                  seen count, location and flags, separated by tabs\n"
    "  show ADDRESS    every stored property of one device, its services and its SDP records\n"
    "  rewrite         reads the file and saves it again\n";

constexpr std::string_view kPrefix = "quillmark-cli session: ";

struct TOptions {
    std::string action;
    std::string path;
    std::string address;
};

bool IsHelp(const std::string& argument) {
    return argument == "--help" || argument == "-h";
}

// Options may come anywhere after the action; show takes one address.
std::optional<TOptions> ParseOptions(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return std::nullopt;
    TOptions options{arguments[0], DefaultSessionFile(), {}};
    bool placed = false;
    std::vector<std::string> positional;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        std::optional<std::string> path = placed ? std::nullopt : TakeSessionFileOption(arguments, i);
        if (path) {
            options.path = std::move(*path);
            placed = true;
        } else if (argument.starts_with("--")) {
            return std::nullopt;
        } else {
            positional.push_back(argument);
        }
    }
    const bool wantsAddress = options.action == "show";
    if (positional.size() != (wantsAddress ? 1u : 0u)) return std::nullopt;
    if (wantsAddress) options.address = positional[0];
    const bool known =
        wantsAddress || options.action == "check" || options.action == "list" || options.action == "rewrite";
    return known ? std::optional(options) : std::nullopt;
}

void ListDevices(TSessionState& state, std::ostream& out) {
    TDeviceListLock lock(state.DeviceList());
    for (int i = 0; i < lock->Count(); ++i) {
        const TBTDevice& device = lock->Items(i);
        const char* type = DeviceTypeIdentifier(device.Type());
        out << Printable(device.Address()) << '\t'
            << Printable(SystemVendorRegistry().VendorOf(device.Address())) << '\t'
            << Printable(device.Name()) << '\t' << (type ? type : "?") << '\t'
            << DeviceClassName(device.MajorClass(), device.MinorClass()) << '\t'
            << FormatTime(device.FirstSeen()) << '\t' << FormatTime(device.LastSeen()) << '\t'
            << device.SeenCount() << '\t' << Printable(device.Location()) << '\t' << device.FlagsText()
            << '\n';
    }
}

int ShowDevice(TSessionState& state, const std::string& address, std::ostream& out, std::ostream& err) {
    TDeviceListLock lock(state.DeviceList());
    TBTDevice* device = lock->FindDevice(address);
    if (!device) {
        err << kPrefix << "no device with the address " << Printable(address) << '\n';
        return kExitFailure;
    }
    const char* type = DeviceTypeIdentifier(device->Type());
    out << "Name: " << Printable(device->Name()) << "\nAddress: " << Printable(device->Address())
        << "\nVendor: " << Printable(SystemVendorRegistry().VendorOf(device->Address()))
        << "\nType: " << (type ? type : "?") << "\nMajorClass: " << device->MajorClass()
        << "\nMinorClass: " << device->MinorClass() << " ("
        << DeviceClassName(device->MajorClass(), device->MinorClass())
        << ")\nFirstSeen: " << device->FirstSeen() << " (" << FormatTime(device->FirstSeen())
        << ")\nLastSeen: " << device->LastSeen() << " (" << FormatTime(device->LastSeen())
        << ")\nSeenCount: " << device->SeenCount() << "\nFlags: " << device->Flags() << " ("
        << device->FlagsText() << ")\nRawSDPStream: " << device->RawSDPStream().size()
        << " bytes\nRawSDPRecords: " << device->RawSDPRecords().size()
        << " records\nLocation: " << Printable(device->Location()) << "\nServices:\n";
    for (const std::string& service : device->Services()) out << "  " << Printable(service) << '\n';
    try {
        const std::string text = device->SDPText();
        out << "SDP:\n" << Printable(text, true);
        if (!text.empty() && text.back() != '\n') out << '\n';
    } catch (const TError& error) {
        err << kPrefix << error.Message() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

int Run(const TOptions& options, TSessionState& state, std::ostream& out, std::ostream& err) {
    if (options.action == "check") {
        TDeviceListLock lock(state.DeviceList());
        out << "devices=" << lock->Count() << " locations=" << state.LocationList().size()
            << " log=" << state.Log().size() << '\n';
        return kExitOk;
    }
    if (options.action == "list") {
        ListDevices(state, out);
        return kExitOk;
    }
    if (options.action == "show") return ShowDevice(state, options.address, out, err);
    try {
        SaveSession(state, options.path);
    } catch (const TError& error) {
        err << kPrefix << error.Message() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

int RunSession(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.size() == 1 && IsHelp(arguments[0])) {
        out << kUsage << SessionFileHelp();
        return kExitOk;
    }
    const std::optional<TOptions> options = ParseOptions(arguments);
    if (!options) {
        err << kPrefix
            << "expected check, list, show ADDRESS or rewrite, and at most one of --session-dir DIR "
               "and --file PATH (try --help)\n";
        return kExitUsage;
    }
    const std::unique_ptr<TSessionState> state = ReadSessionOrComplain(options->path, kPrefix, err);
    return state ? Run(*options, *state, out, err) : kExitFailure;
}

const CommandRegistration kRegistration("session", "check, list, show or rewrite a session file", kUsage,
                                        RunSession);

}  // namespace

}  // namespace qm::cli
