#pragma once
// The modal dialog in which the operator picks a known location or names a new one. It decides
// nothing: it returns the chosen text and its opener applies it (the main window's Set Location
// makes it the current location, the details window gives it to one device). Created once at
// start-up and refilled from the session at every showing.

#include <QDialog>
#include <optional>
#include <string>

class QComboBox;

namespace qm {
class TSessionState;
}

namespace qm::ui {

class TChooseLocationForm final : public QDialog {
    Q_OBJECT

public:
    // The session must outlive the dialog.
    TChooseLocationForm(qm::TSessionState& session, QWidget* parent);

    // Shows the dialog modally with the session's known locations in the list and initial in the
    // edit (both openers pass the session's current location). Returns the edit text, untrimmed
    // and never empty, when the operator ends with OK; nothing on Cancel, Escape or closing.
    std::optional<std::string> ChooseLocation(const std::string& initial);

private:
    void FormShow(const std::string& initial);
    void OKButtonClick();

    qm::TSessionState& FSession;
    QComboBox* LocationCombo;
};

}  // namespace qm::ui
