#pragma once
// The main window's list-changed notice UM_LISTCHANGED: a posted event of type 0x87D1 whose
// parameter selects the refresh (0: records changed, 1: membership changed; other values refresh
// nothing).
//
// Notices of 0 and 1 are merged while one is waiting: a notice posted while an equal or larger one
// is still pending adds nothing, and a 1 posted while a 0 waits raises the waiting notice to 1. An
// inquiry pass that touches a thousand devices therefore queues one refresh instead of a thousand.
// Nothing is lost: the handler takes the pending level before it refreshes, so every notice posted
// after that point queues a new event.

#include <QEvent>
#include <atomic>

class QObject;

namespace qm::ui {

inline constexpr QEvent::Type UM_LISTCHANGED = static_cast<QEvent::Type>(0x87D1);

class TListChangedEvent final : public QEvent {
public:
    explicit TListChangedEvent(int parameter) : QEvent(UM_LISTCHANGED), FParameter(parameter) {}
    int Parameter() const { return FParameter; }

private:
    int FParameter;
};

// Posts the notices to one receiver and keeps the pending level they merge into.
class TListChangedPoster {
public:
    explicit TListChangedPoster(QObject& receiver) : FReceiver(receiver) {}
    TListChangedPoster(const TListChangedPoster&) = delete;
    TListChangedPoster& operator=(const TListChangedPoster&) = delete;

    // From any thread; returns at once.
    void Post(int parameter);
    // On the receiver's thread when an event arrives, before the refresh: the parameter to refresh
    // for, which covers every notice merged into the event; clears the pending level.
    int Take(const TListChangedEvent& event);

private:
    static constexpr int kNothingPending = -1;

    QObject& FReceiver;
    std::atomic<int> FPending{kNothingPending};
};

}  // namespace qm::ui
