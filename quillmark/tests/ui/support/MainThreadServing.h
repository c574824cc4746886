#pragma once
// What the window tests share to run a real main window: serving the main thread's events until a
// condition holds, and a found sound that plays nothing.

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <functional>
#include <string>

#include "quillmark/core/FoundSound.h"

namespace qmtest {

// Serves the main thread's events until done() holds; false when that takes unreasonably long.
inline bool ServeUntil(const std::function<bool()>& done) {
    QTimer wake;
    wake.start(10);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done()) {
        if (std::chrono::steady_clock::now() > giveUp) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

class TSilentSound : public qm::IFoundSound {
public:
    void Play(const std::string&) override {}
};

}  // namespace qmtest
