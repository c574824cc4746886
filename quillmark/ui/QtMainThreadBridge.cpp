#include "quillmark/ui/QtMainThreadBridge.h"

#include <QCoreApplication>
#include <QThread>
#include <condition_variable>
#include <exception>
#include <mutex>

#include "quillmark/ui/MainForm.h"

namespace qm::ui {

namespace {

const QEvent::Type kHandOffEvent = static_cast<QEvent::Type>(QEvent::registerEventType());
const QEvent::Type kWakeEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// One hand-off: the work, and what the waiting thread learns when it has run.
class THandOff {
public:
    explicit THandOff(const std::function<void()>& work) : FWork(work) {}

    void Run() {
        std::exception_ptr caught;
        try {
            FWork();
        } catch (...) {
            caught = std::current_exception();
        }
        const std::lock_guard guard(FLock);
        FError = caught;
        FFinished = true;
        FRan.notify_one();
    }
    void Wait() {
        std::unique_lock guard(FLock);
        FRan.wait(guard, [this] { return FFinished; });
        if (FError) std::rethrow_exception(FError);
    }

private:
    const std::function<void()>& FWork;
    std::mutex FLock;
    std::condition_variable FRan;
    bool FFinished = false;
    std::exception_ptr FError;
};

// Refers to the hand-off on the waiting thread's stack, which waits until the event has run.
class THandOffEvent final : public QEvent {
public:
    explicit THandOffEvent(THandOff& handOff) : QEvent(kHandOffEvent), FHandOff(handOff) {}
    void Run() const { FHandOff.Run(); }

private:
    THandOff& FHandOff;
};

}  // namespace

TQtMainThreadBridge::TQtMainThreadBridge(TMainForm& form) : FForm(form) {}

void TQtMainThreadBridge::Synchronize(const std::function<void()>& work) {
    if (QThread::currentThread() == thread()) {
        work();
        return;
    }
    THandOff handOff(work);
    QCoreApplication::postEvent(this, new THandOffEvent(handOff));
    handOff.Wait();
}

// A changed membership goes through the window's DeviceListChanged, which traces it; any other
// notice is posted as it is.
void TQtMainThreadBridge::PostListChanged(int parameter) {
    if (parameter == 1) {
        FForm.DeviceListChanged();
    } else {
        FForm.PostListChanged(parameter);
    }
}

void TQtMainThreadBridge::Post(std::function<void()> work) {
    QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

void TQtMainThreadBridge::DiscoveryEnded() {
    QCoreApplication::postEvent(this, new QEvent(kWakeEvent));
}

void TQtMainThreadBridge::ServeUntil(const std::function<bool()>& done) {
    while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void TQtMainThreadBridge::AddLogLine(const std::string& text) {
    FForm.AddLogLine(text);
}

void TQtMainThreadBridge::StartScanIndicator() {
    FForm.StartScanIndicator();
}

// A wake event needs no handling: it only ends the wait of processEvents in ServeUntil.
void TQtMainThreadBridge::customEvent(QEvent* event) {
    if (event->type() == kHandOffEvent) static_cast<THandOffEvent*>(event)->Run();
}

}  // namespace qm::ui
