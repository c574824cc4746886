#pragma once
// The History page of the device details window: a range chooser (last hour, day or week, or
// all), the device's presence and signal strength over that range (THistoryTimeline), and a table
// of the locations it was present at, each with its colour on the timeline and its minutes present
// there; the table is the timeline's legend. Each Load opens a reader of its own, reads the rows of
// the range and closes the reader again. When there is no history, or it cannot be read, the page
// says so in plain text in place of the timeline and the table.

#include <QWidget>
#include <cstdint>
#include <string>

#include "quillmark/ui/HistoryReaderOpener.h"
#include "quillmark/ui/HistorySeries.h"

class QComboBox;
class QLabel;
class QStackedWidget;
class QTableWidget;

namespace qm {
class IClock;
}

namespace qm::ui {

class THistoryTimeline;

// The choices of the range chooser, in its order.
enum THistoryRange : int { hrLastHour, hrLastDay, hrLastWeek, hrAll };

class THistoryPage final : public QWidget {
    Q_OBJECT

public:
    // The last hour, day and week end at the clock's current time. The clock must outlive the page.
    THistoryPage(TOpenHistory openHistory, const qm::IClock& clock, QWidget* parent);

    // Empties the page for the device; the next Load reads its history.
    void SetDevice(const std::string& address);
    // Reads and shows the device's history for the chosen range.
    void Load();
    // True from SetDevice until the next Load.
    bool NeedsLoading() const { return FNeedsLoading; }

private:
    QWidget* CreateRangeRow();
    QWidget* CreateHistoryView();
    void ShowReason(const QString& reason);
    void ShowSeries(THistorySeries series);
    void FillLocations(const THistorySeries& series);
    // The rows of the range, read through a new reader; the reason in `reason` when there are none.
    std::vector<qm::THistoryMinute> ReadRows(std::int64_t fromMs, std::int64_t toMs, QString& reason);

    TOpenHistory FOpenHistory;
    const qm::IClock& FClock;
    std::string FAddress;
    bool FNeedsLoading = false;

    QComboBox* FRange;
    QStackedWidget* FViews;
    QLabel* FReason;
    THistoryTimeline* FTimeline;
    QTableWidget* FLocations;
};

}  // namespace qm::ui
