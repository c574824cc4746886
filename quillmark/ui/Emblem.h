#pragma once
// The program's emblem of the about box: 33 by 25 pixels, carried inside the program as JPEG data
// and decoded with libjpeg (JpegImage.h), not with Qt's image plugins. Main thread only.

#include <QImage>
#include <string>
#include <string_view>

namespace qm::ui {

inline constexpr int kEmblemWidth = 33;
inline constexpr int kEmblemHeight = 25;

// The JPEG data decoded into an RGB image; a null image when libjpeg cannot read it.
QImage JpegToImage(std::string_view bytes);

// The JPEG data of the emblem compiled into the program.
std::string EmblemJpeg();

// EmblemJpeg decoded.
QImage EmblemImage();

}  // namespace qm::ui
