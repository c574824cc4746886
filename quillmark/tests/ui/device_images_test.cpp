// The device pictures, page pictures and window icon: every picture is really drawn (the
// resources are linked and valid), each device kind has its own picture, sizes follow the device
// pixel ratio, and out-of-range kinds fall back. A contact sheet of everything at 1x and 2x on a
// light and a dark background is written to QM_GRAB_DIR (default: the current directory) for a
// person to look at.

#include <gtest/gtest.h>

#include <QColor>
#include <QDirIterator>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdlib>
#include <string>
#include <vector>

#include "quillmark/ui/DeviceImages.h"

namespace qm::ui {
namespace {

std::vector<TDeviceType> AllDeviceTypes() {
    std::vector<TDeviceType> types;
    for (int type = dtOther; type < kDeviceTypeCount; ++type) types.push_back(static_cast<TDeviceType>(type));
    return types;
}

// Share of the image's pixels that are not fully transparent.
double CoveredShare(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int covered = 0;
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x) covered += qAlpha(argb.pixel(x, y)) > 0 ? 1 : 0;
    return static_cast<double>(covered) / (argb.width() * argb.height());
}

TEST(DeviceImagesTest, EveryPictureResourceIsValidSvg) {
    int count = 0;
    for (QDirIterator it(QStringLiteral(":/quillmark"), {QStringLiteral("*.svg")}, QDir::Files,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString file = it.next();
        EXPECT_TRUE(QSvgRenderer(file).isValid()) << file.toStdString();
        ++count;
    }
    // At least the 14 device pictures, the 2 page pictures and the window icon; the windows' own
    // pictures (such as the location pin) come on top.
    EXPECT_GE(count, kDeviceTypeCount + 3);
}

TEST(DeviceImagesTest, DevicePictureIsDrawnAtTheLogicalSizeForEachRatio) {
    for (const qreal ratio : {1.0, 1.25, 2.0, 3.0}) {
        for (const TDeviceType type : AllDeviceTypes()) {
            const QPixmap picture = DevicePicture(type, ratio);
            SCOPED_TRACE(testing::Message() << "type " << type << " ratio " << ratio);
            EXPECT_EQ(picture.deviceIndependentSize(), QSizeF(kDevicePictureSize, kDevicePictureSize));
            EXPECT_EQ(picture.width(), qRound(kDevicePictureSize * ratio));
            EXPECT_GT(CoveredShare(picture.toImage()), 0.5);
        }
    }
}

TEST(DeviceImagesTest, EachDeviceKindHasItsOwnPicture) {
    const std::vector<TDeviceType> types = AllDeviceTypes();
    for (size_t a = 0; a < types.size(); ++a)
        for (size_t b = a + 1; b < types.size(); ++b)
            EXPECT_NE(DevicePicture(types[a], 1.0).toImage(), DevicePicture(types[b], 1.0).toImage())
                << types[a] << " and " << types[b];
}

TEST(DeviceImagesTest, KindOutsideTheEnumerationGetsTheOtherPicture) {
    const QImage other = DevicePicture(dtOther, 2.0).toImage();
    for (const int value : {-1, kDeviceTypeCount, 1000})
        EXPECT_EQ(DevicePicture(static_cast<TDeviceType>(value), 2.0).toImage(), other) << value;
}

TEST(DeviceImagesTest, RepeatedRequestIsServedFromTheCache) {
    EXPECT_EQ(DevicePicture(dtPhone, 1.5).cacheKey(), DevicePicture(dtPhone, 1.5).cacheKey());
}

TEST(DeviceImagesTest, PagePicturesExistForNetworkAndLogOnly) {
    const QIcon network = PagePicture(0);
    const QIcon log = PagePicture(1);
    ASSERT_FALSE(network.isNull());
    ASSERT_FALSE(log.isNull());
    EXPECT_NE(network.pixmap(kDevicePictureSize).toImage(), log.pixmap(kDevicePictureSize).toImage());
    EXPECT_TRUE(PagePicture(-1).isNull());
    EXPECT_TRUE(PagePicture(2).isNull());
}

TEST(DeviceImagesTest, IconsHaveExactPixmapsAtDoubleScale) {
    for (const QIcon& icon : {PagePicture(0), PagePicture(1), WindowIcon()}) {
        const QPixmap pixmap = icon.pixmap(QSize(kDevicePictureSize, kDevicePictureSize), 2.0);
        EXPECT_EQ(pixmap.width(), 2 * kDevicePictureSize);
        EXPECT_GT(CoveredShare(pixmap.toImage()), 0.5);
    }
}

// One band per background and ratio; each picture in its own cell, shown at its logical size.
TEST(DeviceImagesTest, WritesContactSheet) {
    std::vector<QIcon> extra = {PagePicture(0), PagePicture(1), WindowIcon()};
    const int cell = kDevicePictureSize + 12;
    const int columns = kDeviceTypeCount + static_cast<int>(extra.size());
    const qreal sheetRatio = 2.0;
    QImage sheet(QSize(columns * cell, 4 * cell) * sheetRatio, QImage::Format_ARGB32);
    sheet.setDevicePixelRatio(sheetRatio);
    QPainter painter(&sheet);
    int band = 0;
    for (const QColor background : {QColor(0xF6, 0xF6, 0xF6), QColor(0x23, 0x26, 0x2B)}) {
        for (const qreal ratio : {1.0, 2.0}) {
            const int top = band++ * cell;
            painter.fillRect(0, top, columns * cell, cell, background);
            const QPoint offset(6, top + 6);
            int column = 0;
            for (const TDeviceType type : AllDeviceTypes())
                painter.drawPixmap(offset + QPoint(column++ * cell, 0), DevicePicture(type, ratio));
            for (const QIcon& icon : extra)
                painter.drawPixmap(offset + QPoint(column++ * cell, 0),
                                   icon.pixmap(QSize(kDevicePictureSize, kDevicePictureSize), ratio));
        }
    }
    painter.end();
    const char* directory = std::getenv("QM_GRAB_DIR");
    const std::string file = std::string(directory ? directory : ".") + "/device-pictures.png";
    EXPECT_TRUE(sheet.save(QString::fromStdString(file)));
}

}  // namespace
}  // namespace qm::ui
