#pragma once
// SIGTERM and SIGINT close the main window as its Exit command does, so that a stop from outside
// goes through the same shut-down order (save on close, stop the discovery thread, "Scan finished",
// final save) instead of ending the process on the spot. The signal handler only writes a byte to
// a pipe; the main thread's event loop reads it and closes the window.

#include <QObject>
#include <csignal>

class QSocketNotifier;
class QWidget;

namespace qm::ui {

class TStopSignals final : public QObject {
public:
    // Installs the handlers until destruction; one instance at a time. Throws TError when the pipe
    // cannot be made.
    explicit TStopSignals(QWidget& window);
    ~TStopSignals() override;
    TStopSignals(const TStopSignals&) = delete;
    TStopSignals& operator=(const TStopSignals&) = delete;

private:
    void StopSignalReceived();

    QWidget& FWindow;
    int FPipe[2] = {-1, -1};
    QSocketNotifier* FNotifier;
    struct sigaction FPreviousInt {};
    struct sigaction FPreviousTerm {};
};

}  // namespace qm::ui
