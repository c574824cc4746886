#include "quillmark/base/Error.h"

#include <cerrno>

#include "quillmark/base/SystemErrorText.h"

namespace qm {

TError TError::WithSystemError(const std::string& sentence) { return WithSystemError(sentence, errno); }

TError TError::WithSystemError(const std::string& sentence, int errorNumber) {
    return TError(sentence + "\n\nError: " + SystemErrorText(errorNumber));
}

}  // namespace qm
