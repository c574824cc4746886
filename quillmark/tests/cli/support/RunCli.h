#pragma once
// Runs quillmark-cli in the test process with captured output.

#include <string>
#include <vector>

namespace clitest {

struct CliResult {
    int status;
    std::string out;
    std::string err;
};

CliResult RunCli(const std::vector<std::string>& arguments);

}  // namespace clitest
