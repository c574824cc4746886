#pragma once
// Paints the two-line cells of the device view from the device records: the picture, the bold
// name and the address; the first sighting with the number of sightings, and the last sighting;
// the class description and the flags; the location; the latest signal strength in dBm above a bar
// that is longer for a stronger signal. Devices that are no longer active are drawn
// in grey. Texts from devices are drawn as plain text, ended with "…" where the cell is too narrow.

#include <QStyledItemDelegate>
#include <optional>

namespace qm {
class TSessionState;
}

namespace qm::ui {

class TDeviceTreeModel;

class TDeviceItemDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    TDeviceItemDelegate(qm::TSessionState& session, const TDeviceTreeModel& model, QObject* parent = nullptr);

    // DeviceTreeDrawNode: the selection background of the view's style, then the cell's texts; a
    // row whose device is gone gets the background only.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    // DeviceTreeMeasureItem: every row is as high as a device picture plus 8 pixels, or two text
    // lines where the font is larger than that.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    qm::TSessionState& FSession;
    const TDeviceTreeModel& FModel;
};

// Between a cell's left and right edges and its contents.
inline constexpr int kDeviceCellMargin = 4;

// The height of every row of the device view for a font.
int DeviceRowHeight(const QFontMetrics& metrics);

// The width a column needs to show every cell whole, margins included, for the columns whose
// contents have a fixed form: the sighting times (with a count of sightings up to four digits) and
// the signal. None for the columns of free texts, which are elided.
std::optional<int> DeviceColumnContentWidth(int column, const QFontMetrics& metrics);
// The narrowest a column of free texts is made by fitting: the Name column shows the picture and
// the whole address; the others have no minimum of their own.
int DeviceColumnMinimumWidth(int column, const QFontMetrics& metrics);

}  // namespace qm::ui
