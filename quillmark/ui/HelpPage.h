#pragma once
// Where the program's help page is: a local HTML page installed with the program, opened in the
// desktop's browser by the Help command.

#include <string>

namespace qm::ui {

// The help page for a program in programDirectory (ending with "/"): "help/index.html" beside the
// program when it is there (the build tree), else "../share/quillmark/help/index.html" relative to
// it (an installed program). Gives the installed path when neither exists.
std::string HelpPageFile(const std::string& programDirectory);

}  // namespace qm::ui
