#include "CommandRegistry.h"

#include <ostream>

#include "SessionFileArguments.h"

namespace qm::cli {

namespace {

// The first line of a command's help without its "Usage: ".
std::string_view Synopsis(std::string_view usage) {
    constexpr std::string_view kUsagePrefix = "Usage: ";
    usage = usage.substr(0, usage.find('\n'));
    return usage.substr(0, kUsagePrefix.size()) == kUsagePrefix ? usage.substr(kUsagePrefix.size()) : usage;
}

void PrintToolHelp(std::ostream& out) {
    out << "Usage: quillmark-cli COMMAND [ARGUMENTS]\n"
           "       quillmark-cli COMMAND --help\n\nCommands:\n";
    for (const auto& [name, command] : CommandRegistry::Instance().All())
        out << "  " << name << std::string(name.size() < 14 ? 14 - name.size() : 1, ' ') << command.summary
            << '\n';
    out << "\nOptions:\n";
    for (const auto& [name, command] : CommandRegistry::Instance().All())
        out << "  " << Synopsis(command.usage) << '\n';
    out << '\n' << SessionFileHelp();
}

}  // namespace

CommandRegistry& CommandRegistry::Instance() {
    static CommandRegistry registry;
    return registry;
}

void CommandRegistry::Add(std::string_view name, Command command) {
    commands_.emplace(std::string(name), command);
}

const Command* CommandRegistry::Find(std::string_view name) const {
    const auto found = commands_.find(name);
    return found == commands_.end() ? nullptr : &found->second;
}

int RunTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.empty()) {
        err << "quillmark-cli: missing command (try --help)\n";
        return kExitUsage;
    }
    if (arguments[0] == "--help" || arguments[0] == "-h") {
        PrintToolHelp(out);
        return kExitOk;
    }
    const Command* command = CommandRegistry::Instance().Find(arguments[0]);
    if (!command) {
        err << "quillmark-cli: unknown command '" << arguments[0] << "' (try --help)\n";
        return kExitUsage;
    }
    return command->run({arguments.begin() + 1, arguments.end()}, out, err);
}

}  // namespace qm::cli
