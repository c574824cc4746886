// One QApplication for every test of a window test program, on the offscreen platform, so the real
// windows run without a display, on one 1920x1080 screen at 96 dpi as a desktop has (the platform's
// own screen is 800x600); QT_SCALE_FACTOR scales it as on a desktop. Grabs go to the directory
// QM_GRAB_DIR names (default: the current directory).

#include <unistd.h>
#include <QApplication>

#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

class TQtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        {
            std::ofstream(screens_.string())
                << R"({"screens": [{"name": "Desktop", "x": 0, "y": 0, "width": 1920,
                "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
        }
        ::setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screens_.string()).c_str(), 1);
        application_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override {
        application_.reset();
        std::filesystem::remove(screens_);
    }

private:
    int argc_ = 1;
    char name_[16] = "quillmark-test";
    char* argv_[2] = {name_, nullptr};
    std::filesystem::path screens_ =
        std::filesystem::temp_directory_path() / ("qm-screens-" + std::to_string(::getpid()) + ".json");
    std::unique_ptr<QApplication> application_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new TQtApplicationEnvironment);

}  // namespace
