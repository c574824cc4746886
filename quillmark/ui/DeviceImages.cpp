#include "quillmark/ui/DeviceImages.h"

#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <array>
#include <map>
#include <utility>

// The pictures are compiled into the static window library; nothing in it refers to the resource
// object, so the linker would leave it out without this explicit registration. The macro must be
// used outside any namespace.
static void RegisterPictureResources() {
    Q_INIT_RESOURCE(quillmark);
}

namespace qm::ui {

namespace {

// Resource names of the device pictures, in the order of TDeviceType.
constexpr std::array<const char*, kDeviceTypeCount> kDevicePictureFiles = {
    ":/quillmark/devices/other.svg",      ":/quillmark/devices/workstation.svg",
    ":/quillmark/devices/laptop.svg",     ":/quillmark/devices/pda.svg",
    ":/quillmark/devices/monitor.svg",    ":/quillmark/devices/lanaccess.svg",
    ":/quillmark/devices/phone.svg",      ":/quillmark/devices/audio.svg",
    ":/quillmark/devices/peripheral.svg", ":/quillmark/devices/scanner.svg",
    ":/quillmark/devices/camera.svg",     ":/quillmark/devices/printer.svg",
    ":/quillmark/devices/modem.svg",      ":/quillmark/devices/serial.svg",
};

constexpr std::array<const char*, 2> kPagePictureFiles = {
    ":/quillmark/pages/network.svg",
    ":/quillmark/pages/log.svg",
};

constexpr const char* kWindowIconFile = ":/quillmark/quillmark.svg";

// Pixel sizes a picture is drawn at for an icon: 1x, 1.5x, 2x and 3x of its logical size, so
// QIcon always has an exact match on the common scalings.
constexpr std::array<qreal, 4> kIconScales = {1.0, 1.5, 2.0, 3.0};
constexpr std::array<int, 7> kWindowIconSizes = {16, 22, 24, 32, 48, 64, 128};

// Draws an SVG resource into a transparent square image of the given side in device pixels.
QImage RenderSvg(const char* file, int side) {
    static const bool registered = (RegisterPictureResources(), true);
    Q_UNUSED(registered);
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer{QString::fromLatin1(file)};
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    return image;
}

QPixmap RenderPixmap(const char* file, int logicalSide, qreal devicePixelRatio) {
    QPixmap pixmap = QPixmap::fromImage(RenderSvg(file, qRound(logicalSide * devicePixelRatio)));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

QIcon RenderIcon(const char* file, int logicalSide) {
    QIcon icon;
    for (const qreal scale : kIconScales)
        icon.addPixmap(QPixmap::fromImage(RenderSvg(file, qRound(logicalSide * scale))));
    return icon;
}

}  // namespace

QPixmap DevicePicture(TDeviceType type, qreal devicePixelRatio) {
    const int index = type >= 0 && type < kDeviceTypeCount ? type : dtOther;
    // Keyed by the ratio in hundredths, so ratios that differ only by rounding share a picture.
    static std::map<std::pair<int, int>, QPixmap> cache;
    const std::pair key{index, qRound(devicePixelRatio * 100)};
    auto found = cache.find(key);
    if (found == cache.end()) {
        QPixmap picture = RenderPixmap(kDevicePictureFiles[index], kDevicePictureSize, devicePixelRatio);
        found = cache.emplace(key, std::move(picture)).first;
    }
    return found->second;
}

QIcon PagePicture(int page) {
    if (page < 0 || page >= static_cast<int>(kPagePictureFiles.size())) return {};
    return RenderIcon(kPagePictureFiles[page], kDevicePictureSize);
}

QIcon WindowIcon() {
    QIcon icon;
    for (const int side : kWindowIconSizes)
        icon.addPixmap(QPixmap::fromImage(RenderSvg(kWindowIconFile, side)));
    return icon;
}

}  // namespace qm::ui
