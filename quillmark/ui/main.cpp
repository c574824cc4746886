// The window program's entry point: the command line, the application object, the main window and
// its four dialogs in that order, the message loop. Start-up errors are shown in the error box;
// the program always ends with exit code 0 once the window program has started.

#include <QApplication>
#include <QTimer>
#include <chrono>
#include <exception>
#include <iostream>

#include "quillmark/base/Error.h"
#include "quillmark/core/ProgramDirectory.h"
#include "quillmark/core/SessionFile.h"
#include "quillmark/ui/AboutForm.h"
#include "quillmark/ui/CanberraFoundSound.h"
#include "quillmark/ui/ChooseLocationForm.h"
#include "quillmark/ui/DefaultFoundSound.h"
#include "quillmark/ui/DeviceDetailsForm.h"
#include "quillmark/ui/DeviceImages.h"
#include "quillmark/ui/ErrorBox.h"
#include "quillmark/ui/HistoryReaderOpener.h"
#include "quillmark/ui/MainForm.h"
#include "quillmark/ui/MessageBoxQuestions.h"
#include "quillmark/ui/ProgramOptions.h"
#include "quillmark/ui/RadioInfoForm.h"
#include "quillmark/ui/StopSignals.h"

namespace {

constexpr int kExitUsage = 2;
constexpr const char* kApplicationTitle = "Tessaline Networks Quillmark";

void RunMainWindow(QApplication& application, const qm::ui::TProgramOptions& options) {
    const std::string programDirectory = qm::ProgramDirectory();
    qm::ui::TCanberraFoundSound sound(qm::ui::DefaultFoundSoundFile(programDirectory));
    const std::string sessionFilePath = qm::SessionFilePath(options.sessionDirectory);
    qm::ui::TMainForm mainForm(sessionFilePath, options.radio, sound);
    qm::ui::TMessageBoxQuestions questions(mainForm);
    // The dialogs in the program's order: radio information, device details, location chooser,
    // about box. The details window opens the chooser from its location button, so the chooser
    // object is made first and the details window is handed it.
    qm::ui::TMainForm::TDialogs dialogs;
    dialogs.radioInfo = new qm::ui::TRadioInfoForm(&mainForm);
    auto* chooseLocation = new qm::ui::TChooseLocationForm(mainForm.Session(), &mainForm);
    dialogs.deviceDetails = new qm::ui::TDeviceDetailsForm(
        mainForm.Session(), *chooseLocation, [&mainForm] { mainForm.DeviceDataChanged(); },
        qm::ui::HistoryReaderOpener(sessionFilePath), &mainForm);
    dialogs.chooseLocation = chooseLocation;
    dialogs.about = new qm::ui::TAboutForm(&mainForm);
    dialogs.questions = &questions;
    mainForm.SetDialogs(dialogs);

    // A stop from outside and the end of the desktop session close the window like Exit.
    const qm::ui::TStopSignals stopSignals(mainForm);
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &mainForm, &QWidget::close);
    // A bounded run (--duration) ends as Exit does, with the session saved.
    if (options.duration)
        QTimer::singleShot(std::chrono::seconds(*options.duration), &mainForm, &QWidget::close);
    mainForm.show();
    QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::string programDirectory = qm::ProgramDirectory();
    const auto options =
        qm::ui::ParseProgramOptions(std::vector<std::string>(argv + 1, argv + argc), programDirectory);
    if (!options) {
        std::cerr << qm::ui::ProgramUsage(programDirectory);
        return kExitUsage;
    }
    if (options->help || options->version) {
        std::cout << (options->help ? qm::ui::ProgramUsage(programDirectory) : qm::ui::VersionLine() + "\n");
        return 0;
    }

    // Qt's own options come from the environment (QT_QPA_PLATFORM and the like): the command line
    // holds the program's options only.
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    QApplication::setApplicationName(kApplicationTitle);
    QApplication::setWindowIcon(qm::ui::WindowIcon());
    try {
        RunMainWindow(application, *options);
    } catch (const qm::TError& error) {
        qm::ui::ShowErrorBox(nullptr, error.Message());
    } catch (...) {
        qm::ui::ShowErrorBox(nullptr, {});
    }
    return 0;
}
