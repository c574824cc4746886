#include "support/RunCli.h"

#include <sstream>

#include "quillmark/cli/CommandRegistry.h"

namespace clitest {

CliResult RunCli(const std::vector<std::string>& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = qm::cli::RunTool(arguments, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace clitest
