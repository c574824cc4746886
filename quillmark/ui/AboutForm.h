#pragma once
// The modal about box: the program's emblem, its title, the maker's notice and the version the
// program was built with. Created once at start-up and reused; the version is set at each showing.

#include <QDialog>

class QLabel;

namespace qm::ui {

class TAboutForm final : public QDialog {
    Q_OBJECT

public:
    explicit TAboutForm(QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void UseWhiteBackground();
    void FormShow();

    QLabel* Version;
};

}  // namespace qm::ui
