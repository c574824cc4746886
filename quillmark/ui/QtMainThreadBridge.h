#pragma once
// The discovery thread's way to the main window. Hand-offs travel as posted events to an object of
// the main thread, which runs the work while the calling thread waits; the list-changed notice is
// posted to the window; the discovery thread's end wakes the main thread. The main thread's only
// wait, ServeUntil, keeps handling events, so hand-offs in flight always finish.

#include <QObject>

#include "quillmark/core/MainThreadBridge.h"

namespace qm::ui {

class TMainForm;

class TQtMainThreadBridge final : public QObject, public qm::IMainThreadBridge {
public:
    // Lives on the main thread and must outlive the discovery thread.
    explicit TQtMainThreadBridge(TMainForm& form);

    // Called on the main thread itself, the work runs at once.
    void Synchronize(const std::function<void()>& work) override;
    void PostListChanged(int parameter) override;
    void Post(std::function<void()> work) override;
    void DiscoveryEnded() override;
    void ServeUntil(const std::function<bool()>& done) override;

    void AddLogLine(const std::string& text) override;
    void StartScanIndicator() override;

protected:
    void customEvent(QEvent* event) override;

private:
    TMainForm& FForm;
};

}  // namespace qm::ui
