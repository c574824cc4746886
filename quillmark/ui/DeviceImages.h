#pragma once
// The program's pictures: one per device kind, the two page pictures and the window icon. All are
// line-art SVGs compiled in as Qt resources and drawn with QSvgRenderer, so no image plugin is
// needed. Main thread only (QPixmap).

#include <QIcon>
#include <QPixmap>

#include "quillmark/core/BluetoothNames.h"

namespace qm::ui {

// Side of a device picture in logical pixels.
inline constexpr int kDevicePictureSize = 24;

// The picture of a device kind, kDevicePictureSize square in logical pixels and drawn at the given
// device pixel ratio (the pixmap carries that ratio). Cached per kind and ratio. A value outside
// the enumeration gives the dtOther picture.
QPixmap DevicePicture(qm::TDeviceType type, qreal devicePixelRatio);

// The picture of a page of the main window: 0 the device network, 1 the log. Any other number
// gives a null icon.
QIcon PagePicture(int page);

// The program's window and application icon.
QIcon WindowIcon();

}  // namespace qm::ui
