// Every CLI test process looks vendors up in a small registry of its own (QM_OUI_FILE), so that
// what the commands print does not depend on the registry installed on the machine.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "testsupport/ScopedTempDir.h"

namespace {

constexpr std::string_view kRegistry =
    "Registry,Assignment,Organization Name,Organization Address\r\n"
    "MA-L,001122,\"Maker, Inc.\",\"1 Street, Town\"\r\n";

class VendorFixture : public ::testing::Environment {
public:
    void SetUp() override {
        directory_ = std::make_unique<testsupport::ScopedTempDir>();
        ::setenv("QM_OUI_FILE", directory_->write("oui.csv", kRegistry).c_str(), 1);
    }
    void TearDown() override { directory_.reset(); }

private:
    std::unique_ptr<testsupport::ScopedTempDir> directory_;
};

[[maybe_unused]] ::testing::Environment* const kVendorFixture =
    ::testing::AddGlobalTestEnvironment(new VendorFixture);

}  // namespace
