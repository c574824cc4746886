// The location chooser on the offscreen platform, answered as the operator would: what it shows
// at each opening, the text it returns, the refusal of an empty text, Cancel and Escape, the
// completions offered while typing, and a picture of it for a look by eye.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "quillmark/core/SessionState.h"
#include "quillmark/ui/ChooseLocationForm.h"
#include "support/Grabs.h"
#include "support/ModalWindows.h"

namespace {

using uitest::GrabDirectory;
using qm::ui::TChooseLocationForm;
using uitest::PressKey;
using uitest::WhenModal;

class ChooseLocationTest : public testing::Test {
protected:
    void SetUp() override { session.LocationList() = {"Garage", "Lab", "Office"}; }

    // Opens the chooser on initial; act runs on it while it is showing.
    std::optional<std::string> Choose(const std::string& initial,
                                      std::function<void(TChooseLocationForm&)> act) {
        WhenModal([this, act = std::move(act)](QWidget& modal) {
            EXPECT_EQ(&modal, &chooser);
            act(chooser);
        });
        return chooser.ChooseLocation(initial);
    }

    QComboBox& Combo() { return *chooser.findChild<QComboBox*>("LocationCombo"); }
    QPushButton& Button(const char* name) { return *chooser.findChild<QPushButton*>(name); }
    QStringList Items() {
        QStringList items;
        for (int i = 0; i < Combo().count(); ++i) items.append(Combo().itemText(i));
        return items;
    }

    qm::TSessionState session;
    QWidget owner;
    TChooseLocationForm chooser{session, &owner};
};

TEST_F(ChooseLocationTest, ShowsTheCaptionTheExplanationAndTheButtons) {
    EXPECT_EQ(chooser.windowTitle(), "Choose Location");
    EXPECT_EQ(chooser.findChild<QLabel*>("Label1")->text(),
              "Choose an existing location from the list or enter the name of a new location.");
    EXPECT_TRUE(chooser.findChild<QLabel*>("Label1")->wordWrap());
    EXPECT_TRUE(Combo().isEditable());
    EXPECT_TRUE(Button("OKButton").isDefault());
    EXPECT_EQ(Button("CancelButton").text().remove('&'), "Cancel");
}

TEST_F(ChooseLocationTest, EachOpeningListsTheKnownLocationsAndStartsFromTheInitialText) {
    struct TCase {
        const char* initial;
        const char* typed;  // what the operator types over it before cancelling
    };
    for (const TCase& c : {TCase{"Office", "Roof"}, TCase{"Cellar", "Lab"}, TCase{"", "x"}}) {
        SCOPED_TRACE(c.initial);
        Choose(c.initial, [&](TChooseLocationForm&) {
            EXPECT_EQ(Items(), QStringList({"Garage", "Lab", "Office"}));
            EXPECT_EQ(Combo().currentText(), c.initial);
            Combo().setEditText(c.typed);
            Button("CancelButton").click();
        });
    }
}

TEST_F(ChooseLocationTest, AnEmptyListAndAnEmptyInitialTextShowNothing) {
    qm::TSessionState empty;
    TChooseLocationForm fresh(empty, &owner);
    WhenModal([&](QWidget&) {
        EXPECT_EQ(fresh.findChild<QComboBox*>("LocationCombo")->count(), 0);
        EXPECT_EQ(fresh.findChild<QComboBox*>("LocationCombo")->currentText(), "");
        fresh.reject();
    });
    EXPECT_EQ(fresh.ChooseLocation(""), std::nullopt);
}

TEST_F(ChooseLocationTest, OKReturnsTheEditTextAsTypedAndLeavesTheSessionAlone) {
    for (const std::string typed : {"Roof", "  ", " Lab ", "office", "Lab"}) {
        SCOPED_TRACE("[" + typed + "]");
        const auto chosen = Choose("Office", [&](TChooseLocationForm&) {
            Combo().setEditText(QString::fromStdString(typed));
            Button("OKButton").click();
        });
        EXPECT_EQ(chosen, typed);
    }
    EXPECT_EQ(session.LocationList(), std::vector<std::string>({"Garage", "Lab", "Office"}));
    EXPECT_EQ(session.Location(), "");
}

TEST_F(ChooseLocationTest, EnterTakesTheTextAndAddsNothingToTheList) {
    const auto chosen = Choose("", [&](TChooseLocationForm&) {
        Combo().setEditText("Roof");
        PressKey(*Combo().lineEdit(), Qt::Key_Return);
    });
    EXPECT_EQ(chosen, "Roof");
    EXPECT_EQ(Combo().count(), 3);
}

TEST_F(ChooseLocationTest, CancelAndEscapeReturnNothing) {
    const auto cancel = [&](TChooseLocationForm&) { Button("CancelButton").click(); };
    const auto escape = [&](TChooseLocationForm&) { PressKey(*Combo().lineEdit(), Qt::Key_Escape); };
    for (const auto& act : {std::function<void(TChooseLocationForm&)>(cancel),
                            std::function<void(TChooseLocationForm&)>(escape)}) {
        EXPECT_EQ(Choose("Office",
                         [&](TChooseLocationForm& form) {
                             Combo().setEditText("Roof");
                             act(form);
                         }),
                  std::nullopt);
    }
}

// The refusal box as the operator saw it.
struct TRefusal {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    int buttons = 0;
    bool chooserStayedOpen = false;
};

TEST_F(ChooseLocationTest, AnEmptyTextIsRefusedWithAMessageAndTheChooserStaysOpen) {
    std::vector<TRefusal> refusals;
    const auto enterEmpty = [&](TChooseLocationForm&) {
        WhenModal([&](QWidget& modal) {
            auto& box = dynamic_cast<QMessageBox&>(modal);
            refusals.push_back(
                {box.icon(), box.text(), box.textFormat(), static_cast<int>(box.buttons().size()), false});
            box.buttons().front()->click();
        });
        PressKey(*Combo().lineEdit(), Qt::Key_Return);
        ASSERT_EQ(refusals.size(), 1u);
        refusals.back().chooserStayedOpen = chooser.isVisible();
        PressKey(*Combo().lineEdit(), Qt::Key_Escape);
    };
    EXPECT_EQ(Choose("", enterEmpty), std::nullopt);
    ASSERT_EQ(refusals.size(), 1u);
    EXPECT_EQ(refusals[0].icon, QMessageBox::Critical);
    EXPECT_EQ(refusals[0].text, "Please choose a location from the dropdown list, or enter a new location.");
    EXPECT_EQ(refusals[0].format, Qt::PlainText);
    EXPECT_EQ(refusals[0].buttons, 1);
    EXPECT_TRUE(refusals[0].chooserStayedOpen);
}

TEST_F(ChooseLocationTest, TypingDropsDownTheMatchingLocationsInAnyCaseAndEnterPicksOneIntoTheEdit) {
    const auto chosen = Choose("", [&](TChooseLocationForm&) {
        QLineEdit& edit = *Combo().lineEdit();
        edit.setFocus();
        PressKey(edit, Qt::Key_O, "o");
        PressKey(edit, Qt::Key_F, "f");
        QCompleter& completer = *chooser.findChild<QCompleter*>();
        EXPECT_EQ(edit.text(), "of");
        EXPECT_TRUE(completer.popup()->isVisible());
        EXPECT_EQ(completer.currentCompletion(), "Office");
        EXPECT_EQ(completer.completionCount(), 1);
        PressKey(*completer.popup(), Qt::Key_Down);
        PressKey(*completer.popup(), Qt::Key_Return);
        EXPECT_FALSE(completer.popup()->isVisible());
        EXPECT_EQ(edit.text(), "Office");
        PressKey(edit, Qt::Key_Return);
    });
    EXPECT_EQ(chosen, "Office");
}

TEST_F(ChooseLocationTest, GrabOfTheChooserAndItsRefusal) {
    const std::filesystem::path grabs = GrabDirectory();
    session.SetCurrentLocation("Office");
    Choose(session.Location(), [&](TChooseLocationForm&) {
        EXPECT_TRUE(chooser.grab().save(QString::fromStdString((grabs / "choose_location.png").string())));
        Combo().setEditText("");
        WhenModal([&](QWidget& box) {
            EXPECT_TRUE(
                box.grab().save(QString::fromStdString((grabs / "choose_location_refusal.png").string())));
            dynamic_cast<QMessageBox&>(box).buttons().front()->click();
        });
        Button("OKButton").click();
        Button("CancelButton").click();
    });
}

}  // namespace
