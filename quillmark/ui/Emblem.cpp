#include "quillmark/ui/Emblem.h"

#include <QFile>
#include <cstring>

#include "quillmark/ui/JpegImage.h"

// The emblem is compiled into the static window library; the registration keeps the linker from
// leaving it out. The macro must be used outside any namespace.
static void RegisterEmblemResource() {
    Q_INIT_RESOURCE(quillmark);
}

namespace qm::ui {

QImage JpegToImage(std::string_view bytes) {
    const TJpegImage decoded = DecodeJpeg(bytes);
    if (decoded.IsNull()) return {};
    QImage image(decoded.width, decoded.height, QImage::Format_RGB888);
    const std::size_t rowBytes = static_cast<std::size_t>(decoded.width) * 3;
    for (int row = 0; row < decoded.height; ++row)
        std::memcpy(image.scanLine(row), decoded.rgb.data() + row * rowBytes, rowBytes);
    return image;
}

std::string EmblemJpeg() {
    static const bool registered = (RegisterEmblemResource(), true);
    Q_UNUSED(registered);
    QFile file(QStringLiteral(":/quillmark/emblem.jpg"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
}

QImage EmblemImage() {
    return JpegToImage(EmblemJpeg());
}

}  // namespace qm::ui
