#pragma once
// The confirmations as the toolkit's question box: a question icon, the title "Confirm", the
// question as plain text and the buttons Yes, No and Cancel. Escape and closing the box answer
// Cancel.

#include "quillmark/ui/Questions.h"

class QWidget;

namespace qm::ui {

class TMessageBoxQuestions final : public IQuestions {
public:
    // The boxes are centred on the owner, which must outlive this object.
    explicit TMessageBoxQuestions(QWidget& owner) : FOwner(owner) {}

    TAnswer Ask(const std::string& question) override;

private:
    QWidget& FOwner;
};

}  // namespace qm::ui
