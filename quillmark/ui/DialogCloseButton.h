#pragma once
// The "Close" button row of the program's dialogs: the button is both the default and the cancel
// button, so Enter and Escape close the dialog too, with the result cancel.

class QDialog;
class QDialogButtonBox;

namespace qm::ui {

// A button row owned by the dialog, for the caller to place in its layout.
QDialogButtonBox* NewCloseButtonRow(QDialog& dialog);

}  // namespace qm::ui
