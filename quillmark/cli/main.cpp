#include <iostream>

#include "CommandRegistry.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(true);
    return qm::cli::RunTool({argv + 1, argv + argc}, std::cout, std::cerr);
}
