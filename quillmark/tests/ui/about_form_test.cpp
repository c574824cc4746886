// The about box on the offscreen platform: the version text for a release, a pre-release and no
// version, the label as this build shows it, the emblem decoded by libjpeg from the data inside
// the program, corrupt JPEG data, and a picture of the box for a look by eye.

#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QLabel>
#include <QPalette>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

#include "quillmark/ui/AboutForm.h"
#include "quillmark/ui/Emblem.h"
#include "quillmark/ui/JpegImage.h"
#include "quillmark/ui/VersionText.h"

namespace {

using qm::ui::VersionText;

TEST(VersionText, NumbersUpToTheReleaseThenBetaForAPreRelease) {
    struct TCase {
        const char* version;
        bool prerelease;
        const char* expected;
    };
    for (const TCase& c : {TCase{"1.1.2", false, "1.1.2"}, TCase{"1.1.2", true, "1.1.2 Beta"},
                           TCase{"2.0.7.15", false, "2.0.7"}, TCase{"1.1.2.0", true, "1.1.2 Beta"},
                           TCase{"", false, ""}, TCase{"", true, ""}}) {
        SCOPED_TRACE(std::string(c.version) + (c.prerelease ? " pre-release" : " release"));
        EXPECT_EQ(VersionText(c.version, c.prerelease), c.expected);
    }
}

TEST(AboutForm, ShowsThePlaceholderUntilShownThenTheProgramsVersion) {
    QWidget owner;
    qm::ui::TAboutForm form(&owner);
    auto& version = *form.findChild<QLabel*>("Version");
    EXPECT_EQ(version.text(), "Version");
    EXPECT_EQ(form.windowTitle(), "About");
    EXPECT_EQ(form.findChild<QLabel*>("Title")->text(), "Tessaline Networks Quillmark");
    form.show();
#ifdef QM_PRERELEASE
    EXPECT_EQ(version.text(), "Version: 1.1.2 Beta");
#else
    EXPECT_EQ(version.text(), "Version: 1.1.2");
#endif
    form.close();
}

TEST(Emblem, DecodesFromTheProgramsJpegDataAt33By25Pixels) {
    const QImage emblem = qm::ui::EmblemImage();
    ASSERT_FALSE(emblem.isNull());
    EXPECT_EQ(emblem.size(), QSize(33, 25));
    // A blue tile with a white quill: the decoder delivered colours, not a blank.
    EXPECT_GT(qBlue(emblem.pixel(0, 0)), qRed(emblem.pixel(0, 0)) + 40);
    EXPECT_GT(qGray(emblem.pixel(22, 8)), 200);
}

TEST(JpegImage, DamagedDataGivesANullImage) {
    const std::string good = qm::ui::EmblemJpeg();
    ASSERT_FALSE(qm::ui::DecodeJpeg(good).IsNull());

    std::string flipped = good;
    for (std::size_t i = good.size() / 2; i < good.size() - 2; ++i)
        flipped[i] = static_cast<char>(~flipped[i]);
    struct TCase {
        const char* what;
        std::string bytes;
    };
    for (const TCase& c :
         {TCase{"empty", ""}, TCase{"not a JPEG", "GIF89a........"},
          TCase{"cut after the header", good.substr(0, good.size() / 3)}, TCase{"scan data damaged", flipped},
          TCase{"end marker missing", good.substr(0, good.size() - 2)}}) {
        SCOPED_TRACE(c.what);
        const qm::ui::TJpegImage image = qm::ui::DecodeJpeg(c.bytes);
        EXPECT_TRUE(image.IsNull());
        EXPECT_TRUE(image.rgb.empty());
        EXPECT_TRUE(qm::ui::JpegToImage(c.bytes).isNull());
    }
}

// The box is white with black text also on a dark desktop; both are written for a look by eye.
TEST(AboutForm, PicturesOnLightAndDarkDesktops) {
    const char* directory = std::getenv("QM_GRAB_DIR");
    const std::filesystem::path grabs =
        directory ? std::filesystem::path(directory) : std::filesystem::current_path();
    const QPalette desktop = QApplication::palette();
    QPalette dark(QColor("#35383d"), QColor("#2d2f33"));
    dark.setColor(QPalette::WindowText, QColor("#e6e6e6"));
    dark.setColor(QPalette::ButtonText, QColor("#e6e6e6"));
    for (const auto& [palette, file] :
         {std::pair{desktop, "about_form.png"}, std::pair{dark, "about_form_dark.png"}}) {
        QApplication::setPalette(palette);
        qm::ui::TAboutForm form(nullptr);
        form.show();
        const QImage picture = form.grab().toImage();
        EXPECT_EQ(picture.pixelColor(1, picture.height() / 2), QColor(Qt::white));
        EXPECT_TRUE(picture.save(QString::fromStdString((grabs / file).string())));
    }
    QApplication::setPalette(desktop);
}

}  // namespace
