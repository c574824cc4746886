#pragma once
// Answering modal windows from a test: the test schedules what to do with the next modal window,
// then runs the code that opens it; the action runs inside that window's own event loop.

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace uitest {

namespace detail {

inline void WhenModalAbove(QWidget* below, std::function<void(QWidget&)> act) {
    QTimer::singleShot(0, [below, act = std::move(act)] {
        QWidget* const modal = QApplication::activeModalWidget();
        if (modal && modal != below && modal->isVisible())
            act(*modal);
        else
            WhenModalAbove(below, act);
    });
}

}  // namespace detail

// Runs act on the next window that becomes modal above the one modal now (if any), as soon as
// it shows. The check repeats on the event loop until such a window appears.
inline void WhenModal(std::function<void(QWidget&)> act) {
    detail::WhenModalAbove(QApplication::activeModalWidget(), std::move(act));
}

// A key press and release sent to the widget, as the keyboard would deliver them to the focus.
inline void PressKey(QWidget& widget, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &release);
}

}  // namespace uitest
