#include "quillmark/ui/ListChangedEvent.h"

#include <QCoreApplication>
#include <algorithm>

namespace qm::ui {

namespace {

bool IsMerged(int parameter) {
    return parameter == 0 || parameter == 1;
}

}  // namespace

void TListChangedPoster::Post(int parameter) {
    if (!IsMerged(parameter)) {
        QCoreApplication::postEvent(&FReceiver, new TListChangedEvent(parameter));
        return;
    }
    int pending = FPending.load();
    do {
        if (pending >= parameter) return;
    } while (!FPending.compare_exchange_weak(pending, parameter));
    // A raised level rides on the event already queued; only an idle poster queues a new one.
    if (pending == kNothingPending) QCoreApplication::postEvent(&FReceiver, new TListChangedEvent(parameter));
}

int TListChangedPoster::Take(const TListChangedEvent& event) {
    if (!IsMerged(event.Parameter())) return event.Parameter();
    return std::max(event.Parameter(), FPending.exchange(kNothingPending));
}

}  // namespace qm::ui
