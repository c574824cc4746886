#pragma once

#include <string>
#include <string_view>

namespace qm {

// The directory of the running program file (from /proc/self/exe), ending with "/". Empty when
// the system does not tell.
std::string ProgramDirectory();

// The directory part of a file path, ending with "/"; "./" for a bare file name.
std::string DirectoryOfFile(std::string_view path);

}  // namespace qm
