#include "quillmark/ui/DeviceItemDelegate.h"

#include <QApplication>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/SessionState.h"
#include "quillmark/core/TimeText.h"
#include "quillmark/ui/ColourBlend.h"
#include "quillmark/ui/DeviceImages.h"
#include "quillmark/ui/DeviceTreeModel.h"

namespace qm::ui {

namespace {

constexpr int kPictureGap = 4;  // between the picture and the name
constexpr int kCountGap = 8;    // between the first sighting and the number of sightings
// Share of the background in the grey of inactive devices; less on the selection highlight, whose
// contrast with its text is lower to begin with.
constexpr qreal kGreyOnBase = 0.45;
constexpr qreal kGreyOnHighlight = 0.35;
// The signal bar runs from the weakest to the strongest signal a receiver usually reports; the bar's
// track is the text colour mostly faded into the background, so it shows on every palette.
constexpr int kWeakestSignal = -100;
constexpr int kStrongestSignal = -30;
constexpr qreal kTrackGround = 0.8;
// The fixed-form texts, each digit a zero, and the digits that can take the zeros' places: the form
// of FormatTime, the widest count of sightings the column makes room for, the weakest signal, and
// an address.
constexpr const char* kTimeForm = "00/00/00 at 00:00:00";
constexpr const char* kWidestCount = "(0000)";
constexpr const char* kWidestSignal = "-000 dBm";
constexpr const char* kAddressForm = "(00:00:00:00:00:00)";
constexpr const char* kDigits = "0123456789";
constexpr const char* kHexDigits = "0123456789ABCDEF";

// What one cell shows, copied out of the record while the list's lock is held, so the lock is
// not held while text is laid out.
struct TCellContent {
    bool active = true;
    qm::TDeviceType type = qm::dtOther;
    QString first;
    QString firstCount;
    QString second;
    std::optional<std::int8_t> signal;
};

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

void ReadColumn(qm::TBTDevice& device, int column, TCellContent& cell) {
    switch (column) {
        case dcName:
            cell.first = Text(device.Name());
            cell.second = Text(device.Address());
            break;
        case dcSeen:
            cell.first = Text(qm::FormatTime(device.FirstSeen()));
            cell.firstCount = QStringLiteral("(%1)").arg(device.SeenCount());
            cell.second = Text(qm::FormatTime(device.LastSeen()));
            break;
        case dcType:
            cell.first = Text(qm::DeviceClassName(device.MajorClass(), device.MinorClass()));
            cell.second = Text(device.FlagsText());
            break;
        case dcLocation:
            cell.first = Text(device.Location());
            break;
        case dcSignal:
            cell.signal = device.Signal();
            if (cell.signal) cell.first = QStringLiteral("%1 dBm").arg(int{*cell.signal});
            break;
        default:
            break;
    }
}

std::optional<TCellContent> ReadCell(qm::TSessionState& session, const std::string& address, int column) {
    qm::TDeviceListLock lock(session.DeviceList());
    qm::TBTDevice* device = lock->FindDevice(address);
    if (device == nullptr) return std::nullopt;
    TCellContent cell;
    cell.active = device->IsActive();
    cell.type = device->Type();
    ReadColumn(*device, column, cell);
    return cell;
}

// The window text colour for active devices, grey for the others: the text colour moved towards
// the background it is drawn on, which keeps it legible on light and dark palettes and on the
// selection highlight alike.
QColor TextColour(const QStyleOptionViewItem& option, bool active) {
    QPalette::ColorGroup group = QPalette::Active;
    if (!(option.state & QStyle::State_Enabled))
        group = QPalette::Disabled;
    else if (!(option.state & QStyle::State_Active))
        group = QPalette::Inactive;
    const bool selected = option.state & QStyle::State_Selected;
    const QColor ink = option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    if (active) return ink;
    if (selected)
        return BlendColours(ink, option.palette.color(group, QPalette::Highlight), kGreyOnHighlight);
    return BlendColours(ink, option.palette.color(group, QPalette::Base), kGreyOnBase);
}

// One line of plain text with its top left corner at (x, y); ended with "…" where it would pass
// the cell's edge.
void DrawLine(QPainter& painter, const QRect& cell, int x, int y, const QString& text) {
    const QFontMetrics metrics = painter.fontMetrics();
    const int width = std::max(0, cell.right() - x + 1);
    painter.drawText(QRect(x, y, width, metrics.height()), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     metrics.elidedText(text, Qt::ElideRight, width));
}

// The advance of the form with each of its zeros replaced by the widest of the digits in the font.
int WidestDigitsAdvance(const QFontMetrics& metrics, const char* form, const char* digits = kDigits) {
    QChar widest = u'0';
    for (const QChar digit : QString::fromLatin1(digits))
        if (metrics.horizontalAdvance(digit) > metrics.horizontalAdvance(widest)) widest = digit;
    return metrics.horizontalAdvance(QString::fromLatin1(form).replace(u'0', widest));
}

// The share of the bar a signal fills: none at -100 dBm or weaker, all at -30 dBm or stronger.
qreal SignalFill(int dbm) {
    const int clamped = std::clamp(dbm, kWeakestSignal, kStrongestSignal);
    return static_cast<qreal>(clamped - kWeakestSignal) / (kStrongestSignal - kWeakestSignal);
}

// The strength as text on the first line, a bar on the second: a faded track across the cell and
// the part the signal fills in the text colour. A device without a signal gets an empty cell.
void DrawSignal(QPainter& painter, const QStyleOptionViewItem& option, const QRect& area, int top,
                const TCellContent& cell) {
    if (!cell.signal) return;
    DrawLine(painter, area, area.left(), top, cell.first);
    const int lineHeight = option.fontMetrics.height();
    const int barHeight = std::max(3, lineHeight / 2);
    const QRect track(area.left(), top + lineHeight + (lineHeight - barHeight) / 2, area.width(), barHeight);
    const QColor ink = painter.pen().color();
    const QColor ground =
        option.palette.color(option.state & QStyle::State_Selected ? QPalette::Highlight : QPalette::Base);
    painter.fillRect(track, BlendColours(ink, ground, kTrackGround));
    QRect filled = track;
    filled.setWidth(std::max(1, qRound(track.width() * SignalFill(*cell.signal))));
    painter.fillRect(filled, ink);
}

void DrawCell(QPainter& painter, const QStyleOptionViewItem& option, int column, const TCellContent& cell) {
    const QRect area = option.rect.adjusted(kDeviceCellMargin, 0, -kDeviceCellMargin, 0);
    const int lineHeight = option.fontMetrics.height();
    const int top = area.top() + (area.height() - 2 * lineHeight) / 2;
    int x = area.left();
    QFont bold = option.font;
    bold.setBold(true);
    painter.setFont(option.font);
    if (column == dcSignal) {
        DrawSignal(painter, option, area, top, cell);
        return;
    }
    if (column == dcName) {
        const QPixmap picture = DevicePicture(cell.type, painter.device()->devicePixelRatioF());
        painter.drawPixmap(x, area.top() + (area.height() - kDevicePictureSize) / 2, picture);
        x += kDevicePictureSize + kPictureGap;
        painter.setFont(bold);
        DrawLine(painter, area, x, top, cell.first);
        painter.setFont(option.font);
    } else {
        DrawLine(painter, area, x, top, cell.first);
    }
    if (!cell.firstCount.isEmpty())
        DrawLine(painter, area, x + option.fontMetrics.horizontalAdvance(cell.first) + kCountGap, top,
                 cell.firstCount);
    DrawLine(painter, area, x, top + lineHeight, cell.second);
}

}  // namespace

int DeviceRowHeight(const QFontMetrics& metrics) {
    return std::max(kDevicePictureSize + 8, 2 * metrics.height() + 4);
}

std::optional<int> DeviceColumnContentWidth(int column, const QFontMetrics& metrics) {
    const int margins = 2 * kDeviceCellMargin;
    if (column == dcSeen)
        return margins + WidestDigitsAdvance(metrics, kTimeForm) + kCountGap +
               WidestDigitsAdvance(metrics, kWidestCount);
    if (column == dcSignal) return margins + WidestDigitsAdvance(metrics, kWidestSignal);
    return std::nullopt;
}

int DeviceColumnMinimumWidth(int column, const QFontMetrics& metrics) {
    if (column != dcName) return 0;
    return 2 * kDeviceCellMargin + kDevicePictureSize + kPictureGap +
           WidestDigitsAdvance(metrics, kAddressForm, kHexDigits);
}

TDeviceItemDelegate::TDeviceItemDelegate(qm::TSessionState& session, const TDeviceTreeModel& model,
                                         QObject* parent)
    : QStyledItemDelegate(parent), FSession(session), FModel(model) {}

void TDeviceItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QStyleOptionViewItem view = option;
    initStyleOption(&view, index);
    view.text.clear();
    const QWidget* widget = view.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &view, painter, widget);
    if (index.row() < 0 || index.row() >= FModel.rowCount()) return;
    const std::optional<TCellContent> cell =
        ReadCell(FSession, FModel.AddressAt(index.row()), index.column());
    if (!cell) return;
    painter->save();
    painter->setClipRect(view.rect, Qt::IntersectClip);
    painter->setPen(TextColour(view, cell->active));
    DrawCell(*painter, view, index.column(), *cell);
    painter->restore();
}

QSize TDeviceItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return {0, DeviceRowHeight(option.fontMetrics)};
}

}  // namespace qm::ui
