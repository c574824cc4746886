// One QApplication for every test of a window test program, on the offscreen platform, so the real
// windows run without a display. Grabs go to the directory QM_GRAB_DIR names (default: the current
// directory).

#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace {

class TQtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        application_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { application_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "quillmark-test";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new TQtApplicationEnvironment);

}  // namespace
