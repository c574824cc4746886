#pragma once
// A radio layer test: the fake libraries on the search path as the test places them, their state
// at hand, the trace written to a file of the test's own, and the layer shut down at the end.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "fakes/FakeRadioStacks.h"
#include "testsupport/ScopedTempDir.h"

namespace radiotest {

class RadioLayerFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Puts the complete fakes of both stacks on the search path (and "wbtapi.dll").
    void InstallBothStacks();
    TFakeMicrosoftState& Microsoft();
    TFakeWidcommState& Widcomm();
    // The trace lines written so far (tags removed); ends the trace.
    std::string TraceBody();

private:
    void* Open(std::string_view fileName);

    testsupport::ScopedTempDir dir_{testsupport::ScopedTempDir::Chdir::Yes};
    void* microsoft_ = nullptr;
    void* widcomm_ = nullptr;
};

// A Microsoft radio of the fake library with this address (most significant byte first), name,
// class of device, manufacturer and LMP subversion.
TFakeMicrosoftRadio MicrosoftRadio(std::uint64_t address, const char* name, std::uint32_t classOfDevice,
                                   std::uint16_t manufacturer, std::uint16_t subversion);

}  // namespace radiotest
