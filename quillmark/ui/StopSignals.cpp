#include "quillmark/ui/StopSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QWidget>
#include <cerrno>

#include "quillmark/base/Error.h"

namespace qm::ui {

namespace {

// The pipe's write end, for the signal handler.
volatile std::sig_atomic_t StopPipeWriteEnd = -1;

extern "C" void OnStopSignal(int) {
    const int savedErrno = errno;
    const char byte = 1;
    // A full pipe already holds a pending stop; nothing is lost when this byte does not fit.
    const ssize_t written = write(StopPipeWriteEnd, &byte, 1);
    static_cast<void>(written);
    errno = savedErrno;
}

}  // namespace

TStopSignals::TStopSignals(QWidget& window) : FWindow(window) {
    if (pipe2(FPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        throw TError::WithSystemError("Unable to create the stop signal pipe.");
    StopPipeWriteEnd = FPipe[1];
    FNotifier = new QSocketNotifier(FPipe[0], QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, &TStopSignals::StopSignalReceived);
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &FPreviousInt);
    sigaction(SIGTERM, &action, &FPreviousTerm);
}

TStopSignals::~TStopSignals() {
    sigaction(SIGINT, &FPreviousInt, nullptr);
    sigaction(SIGTERM, &FPreviousTerm, nullptr);
    StopPipeWriteEnd = -1;
    delete FNotifier;
    close(FPipe[0]);
    close(FPipe[1]);
}

void TStopSignals::StopSignalReceived() {
    char bytes[16];
    while (read(FPipe[0], bytes, sizeof bytes) > 0) {
    }
    FWindow.close();
}

}  // namespace qm::ui
