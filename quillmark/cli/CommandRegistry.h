#pragma once
// The subcommands of quillmark-cli. Each subcommand's source defines one CommandRegistration at
// namespace scope, which adds it to the registry before main runs.

#include <iosfwd>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qm::cli {

// Exit statuses shared by every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Runs a subcommand with the arguments after its name; returns the exit status.
using CommandFunction = int (*)(const std::vector<std::string>& arguments, std::ostream& out,
                                std::ostream& err);

struct Command {
    std::string_view summary;  // one line for the tool's --help
    std::string_view usage;    // the command's --help, its synopsis first: "Usage: quillmark-cli ..."
    CommandFunction run;
};

class CommandRegistry {
public:
    static CommandRegistry& Instance();
    void Add(std::string_view name, Command command);
    const Command* Find(std::string_view name) const;
    const std::map<std::string, Command, std::less<>>& All() const { return commands_; }

private:
    std::map<std::string, Command, std::less<>> commands_;
};

struct CommandRegistration {
    CommandRegistration(std::string_view name, std::string_view summary, std::string_view usage,
                        CommandFunction run) {
        CommandRegistry::Instance().Add(name, Command{summary, usage, run});
    }
};

// Runs the tool as main does: argv without the program name.
int RunTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace qm::cli
