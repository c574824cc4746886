#include "RadioLayerFixture.h"

#include <dlfcn.h>

#include <zemautils/trace.h>

#include <regex>

#include "FakeLibraryPath.h"
#include "quillmark/bluetooth/radios/KvBluetoothAPI.h"
#include "quillmark/bluetooth/radios/RadioName.h"

namespace radiotest {

void RadioLayerFixture::SetUp() {
    // A library loaded once stays loaded in the process, so each case needs a process of its own.
    for (const char* name : {"irprops.cpl", "BTWrapper.dll"})
        if (void* loaded = ::dlopen(name, RTLD_NOW | RTLD_NOLOAD)) {
            ::dlclose(loaded);
            GTEST_SKIP() << name << " is loaded already; run each case in a process of its own (ctest does)";
        }
    FakeLibraryPath::Clear();
    ASSERT_EQ(TraceStart("trace.log"), 0);
    TraceLevel(TRACE_MODULE_BLUETOOTH, 10);
}

void RadioLayerFixture::TearDown() {
    qm::bt::KvBTShutdown();
    qm::bt::KvBTUsePlatform(nullptr, nullptr);
    TraceLevel(TRACE_MODULE_BLUETOOTH, 0);
    TraceStop();
    for (void* handle : {microsoft_, widcomm_})
        if (handle != nullptr) ::dlclose(handle);
}

void RadioLayerFixture::InstallBothStacks() {
    FakeLibraryPath::Install("complete", "irprops.cpl");
    FakeLibraryPath::Install("complete", "BTWrapper.dll");
    FakeLibraryPath::Write("wbtapi.dll", "driver");
}

void* RadioLayerFixture::Open(std::string_view fileName) {
    void* handle = ::dlopen((FakeLibraryPath::Directory() / fileName).c_str(), RTLD_NOW);
    EXPECT_NE(handle, nullptr) << ::dlerror();
    return handle;
}

TFakeMicrosoftState& RadioLayerFixture::Microsoft() {
    if (microsoft_ == nullptr) microsoft_ = Open("irprops.cpl");
    return *reinterpret_cast<PFN_FakeMicrosoftState>(::dlsym(microsoft_, "FakeMicrosoftState"))();
}

TFakeWidcommState& RadioLayerFixture::Widcomm() {
    if (widcomm_ == nullptr) widcomm_ = Open("BTWrapper.dll");
    return *reinterpret_cast<PFN_FakeWidcommState>(::dlsym(widcomm_, "FakeWidcommState"))();
}

std::string RadioLayerFixture::TraceBody() {
    TraceStop();
    const std::string log = testsupport::ScopedTempDir::read(dir_ / "trace.log");
    std::size_t start = 0;
    for (int line = 0; line < 3; ++line) start = log.find('\n', start) + 1;
    const std::regex tag(R"([0-9-]{10} [0-9:]{8} \[[0-9]+\] \([0-9]{3}\) \[Bluetooth\])");
    const std::regex lineNumber(R"(:\d+ L)");
    const std::string body = log.substr(start, log.rfind("Stopped Tracing ") - start);
    return std::regex_replace(std::regex_replace(body, tag, ""), lineNumber, " L");
}

TFakeMicrosoftRadio MicrosoftRadio(std::uint64_t address, const char* name, std::uint32_t classOfDevice,
                                   std::uint16_t manufacturer, std::uint16_t subversion) {
    TFakeMicrosoftRadio radio{};
    radio.info.dwSize = sizeof radio.info;
    radio.info.address = address;
    qm::bt::SetRadioName(radio.info, name);
    radio.info.ulClassofDevice = classOfDevice;
    radio.info.manufacturer = manufacturer;
    radio.info.lmpSubversion = subversion;
    radio.enableDiscoveryResult = 1;
    radio.enableConnectionsResult = 1;
    return radio;
}

}  // namespace radiotest
