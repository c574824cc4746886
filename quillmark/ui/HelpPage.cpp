#include "quillmark/ui/HelpPage.h"

#include <sys/stat.h>

namespace qm::ui {

std::string HelpPageFile(const std::string& programDirectory) {
    const std::string besideProgram = programDirectory + "help/index.html";
    struct stat status {};
    if (::stat(besideProgram.c_str(), &status) == 0 && S_ISREG(status.st_mode)) return besideProgram;
    return programDirectory + "../share/quillmark/help/index.html";
}

}  // namespace qm::ui
