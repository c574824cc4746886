#pragma once
// The modal dialog in which the operator picks a known location or names a new one. It decides
// nothing: it returns the chosen text and its opener applies it (the main window's Set Location
// makes it the current location, the details window gives it to one device). Created once at
// start-up and refilled from the session at every showing.

#include <QDialog>
#include <optional>
#include <string>

class QComboBox;
class QCompleter;
class QDialogButtonBox;
class QLabel;

namespace qm {
class TSessionState;
}

namespace qm::ui {

inline constexpr const char* kEmptyLocationMessage =
    "Please choose a location from the dropdown list, or enter a new location.";

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
    QLabel* CreatePicture();
    QLabel* CreateExplanation();
    QDialogButtonBox* CreateButtons();
    QComboBox* CreateLocationCombo();
    QCompleter* CreateCompleter();
    void LocationComboEdited(const QString& text);
    void FormShow(const std::string& initial);
    // An empty edit is refused with a message and the dialog stays open.
    void OKButtonClick();

    qm::TSessionState& FSession;
    QComboBox* LocationCombo;
    QCompleter* Completer;
};

}  // namespace qm::ui
