#pragma once
// The confirmations the main window asks before it deletes devices or clears the log. Only Yes
// goes on; the window asks through this interface so that tests can answer for the operator.

#include <string>

namespace qm::ui {

enum class TAnswer { Yes, No, Cancel };

class IQuestions {
public:
    virtual ~IQuestions() = default;
    // Asks the question modally; closing the question without a button answers Cancel.
    virtual TAnswer Ask(const std::string& question) = 0;
};

}  // namespace qm::ui
