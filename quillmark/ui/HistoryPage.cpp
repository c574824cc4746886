#include "quillmark/ui/HistoryPage.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <limits>
#include <utility>

#include "quillmark/base/Error.h"
#include "quillmark/core/Clock.h"
#include "quillmark/ui/FormLabels.h"
#include "quillmark/ui/HistoryColours.h"
#include "quillmark/ui/HistoryTimeline.h"

namespace qm::ui {

namespace {

constexpr std::int64_t kHourMs = 3'600'000;
// "All" reads every row a store can hold, with room left for the reader's rounding to minutes.
constexpr std::int64_t kAllLimitMs = std::numeric_limits<std::int64_t>::max() / 4;
// The location table shows this many rows without scrolling.
constexpr int kVisibleLocations = 4;

struct TRangeChoice {
    const char* caption;
    std::int64_t lengthMs;  // 0: all of the history
    const char* nothing;    // shown when the range holds no rows
};

const std::array<TRangeChoice, 4> kRanges = {{
    {"Last hour", kHourMs, "No history in the last hour"},
    {"Last day", 24 * kHourMs, "No history in the last day"},
    {"Last week", 7 * 24 * kHourMs, "No history in the last week"},
    {"All", 0, "No history"},
}};

enum TView : int { viHistory, viReason };

// A swatch of the location's colour with a frame in the text colour, for the legend's rows.
QIcon Swatch(const QColor& colour, const QColor& frame, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.fillRect(pixmap.rect(), colour);
    painter.setPen(frame);
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

QTableWidgetItem* ReadOnlyItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

}  // namespace

THistoryPage::THistoryPage(TOpenHistory openHistory, const qm::IClock& clock, QWidget* parent)
    : QWidget(parent), FOpenHistory(std::move(openHistory)), FClock(clock) {
    setObjectName("HistoryPage");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CreateRangeRow());
    FViews = new QStackedWidget(this);
    FViews->addWidget(CreateHistoryView());
    FReason = new QLabel(FViews);
    FReason->setObjectName("HistoryReason");
    FReason->setTextFormat(Qt::PlainText);
    FReason->setAlignment(Qt::AlignCenter);
    FReason->setWordWrap(true);
    FViews->addWidget(FReason);
    layout->addWidget(FViews, 1);
    ShowReason(QString());
}

QWidget* THistoryPage::CreateRangeRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    FRange = new QComboBox(row);
    FRange->setObjectName("HistoryRange");
    for (const TRangeChoice& choice : kRanges) FRange->addItem(QString::fromLatin1(choice.caption));
    FRange->setCurrentIndex(hrLastDay);
    connect(FRange, &QComboBox::currentIndexChanged, this, &THistoryPage::Load);
    QLabel* caption = NewCaptionLabel("Range", row);
    caption->setBuddy(FRange);
    layout->addWidget(caption);
    layout->addWidget(FRange);
    layout->addStretch(1);
    return row;
}

QWidget* THistoryPage::CreateHistoryView() {
    auto* view = new QWidget(this);
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    FTimeline = new THistoryTimeline(view);
    FLocations = new QTableWidget(0, 2, view);
    FLocations->setObjectName("HistoryLocations");
    FLocations->setHorizontalHeaderLabels({QStringLiteral("Location"), QStringLiteral("Minutes present")});
    FLocations->verticalHeader()->hide();
    FLocations->setShowGrid(false);
    FLocations->setWordWrap(false);
    FLocations->setSelectionBehavior(QAbstractItemView::SelectRows);
    FLocations->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A legend to read, not a list to work in: it takes no focus, so it shows no current cell.
    FLocations->setFocusPolicy(Qt::NoFocus);
    FLocations->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    FLocations->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    const int rowHeight = FLocations->verticalHeader()->defaultSectionSize();
    FLocations->setFixedHeight(FLocations->horizontalHeader()->sizeHint().height() +
                               rowHeight * kVisibleLocations + 2 * FLocations->frameWidth());
    layout->addWidget(FTimeline, 1);
    layout->addWidget(FLocations);
    return view;
}

void THistoryPage::SetDevice(const std::string& address) {
    FAddress = address;
    FNeedsLoading = true;
    ShowReason(QString());
}

void THistoryPage::Load() {
    FNeedsLoading = false;
    const TRangeChoice& choice =
        kRanges[static_cast<std::size_t>(std::clamp<int>(FRange->currentIndex(), 0, hrAll))];
    const std::int64_t nowMs = std::int64_t{FClock.Now()} * 1000;
    const std::int64_t fromMs = choice.lengthMs > 0 ? nowMs - choice.lengthMs : -kAllLimitMs;
    const std::int64_t toMs = choice.lengthMs > 0 ? nowMs : kAllLimitMs;
    QString reason;
    const std::vector<qm::THistoryMinute> rows = ReadRows(fromMs, toMs, reason);
    if (rows.empty()) {
        ShowReason(reason.isEmpty() ? QString::fromLatin1(choice.nothing) : reason);
        return;
    }
    if (choice.lengthMs > 0) {
        ShowSeries(MakeHistorySeries(rows, fromMs, toMs));
        return;
    }
    const TTimeRange all = RowsRange(rows).value_or(TTimeRange{fromMs, toMs});
    ShowSeries(MakeHistorySeries(rows, all.fromMs, all.toMs));
}

std::vector<qm::THistoryMinute> THistoryPage::ReadRows(std::int64_t fromMs, std::int64_t toMs,
                                                       QString& reason) {
    try {
        const std::unique_ptr<qm::IHistoryReader> reader = FOpenHistory ? FOpenHistory() : nullptr;
        if (!reader) return {};
        return reader->Minutes(FAddress, fromMs, toMs);
    } catch (const qm::TError& error) {
        reason =
            QStringLiteral("The history cannot be read: %1").arg(QString::fromStdString(error.Message()));
        return {};
    }
}

void THistoryPage::ShowReason(const QString& reason) {
    FReason->setText(reason);
    FTimeline->SetSeries({});
    FLocations->setRowCount(0);
    FViews->setCurrentIndex(viReason);
}

void THistoryPage::ShowSeries(THistorySeries series) {
    FillLocations(series);
    FTimeline->SetSeries(std::move(series));
    FViews->setCurrentIndex(viHistory);
}

void THistoryPage::FillLocations(const THistorySeries& series) {
    const int swatch = fontMetrics().height() * 3 / 4;
    const QColor frame = palette().color(QPalette::Text);
    FLocations->setIconSize(QSize(swatch, swatch));
    FLocations->setRowCount(static_cast<int>(series.locations.size()));
    int row = 0;
    for (const THistoryLocation& location : series.locations) {
        const QString name =
            location.name.empty() ? QStringLiteral("(no location)") : QString::fromStdString(location.name);
        QTableWidgetItem* place = ReadOnlyItem(name);
        place->setIcon(Swatch(LocationColour(location.slot), frame, swatch));
        QTableWidgetItem* minutes = ReadOnlyItem(QString::number(location.minutes));
        minutes->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        FLocations->setItem(row, 0, place);
        FLocations->setItem(row, 1, minutes);
        ++row;
    }
}

}  // namespace qm::ui
