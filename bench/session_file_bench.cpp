// Saving and loading the reference session: 10,000 devices with five SDP records of about 250
// bytes each, and 100,000 log lines of about 60 characters.
//
//   SaveSession       the whole save: text, temporary file, flush, rename
//   SessionTextPieces the text alone, made piece by piece as a save makes it
//   WriteFsyncFloor   the same number of bytes written with one write and one fsync
//   LoadSession       reading and parsing the file into a new session
//   LoadPeakMemory    a load in a fresh process (this program run with --measure-load FILE):
//                     the growth of its peak resident memory, against the file's size
//
// Goals: save within 3x the floor, load under 0.5 s, load peak memory under 4x the file size.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "quillmark/core/SessionFile.h"
#include "quillmark/core/SessionText.h"

namespace {

constexpr int kDevices = 10000;
constexpr int kRecordsPerDevice = 5;
constexpr int kLogLines = 100000;

std::string Element(unsigned char header, const std::string& content) {
    return std::string(1, static_cast<char>(header)) + static_cast<char>(content.size()) + content;
}

// A service record of about 250 bytes: handle, class, protocols, browse group, language base,
// profile, name and description, as a device sends them.
std::string ServiceRecord(int device, int record) {
    std::string attributes = std::string("\x09\x00\x00\x0A\x00\x01", 6) + static_cast<char>(device >> 8) +
                             static_cast<char>(record);
    attributes += std::string("\x09\x00\x01\x35\x03\x19\x11\x01", 8);
    attributes += std::string("\x09\x00\x04\x35\x0C\x35\x03\x19\x01\x00\x35\x05\x19\x00\x03\x08\x02", 17);
    attributes += std::string("\x09\x00\x05\x35\x03\x19\x10\x02", 8);
    attributes += std::string("\x09\x00\x06\x35\x09\x09\x65\x6E\x09\x00\x6A\x09\x01\x00", 14);
    attributes += std::string("\x09\x00\x09\x35\x08\x35\x06\x19\x11\x01\x09\x01\x02", 13);
    attributes += std::string("\x09\x01\x00", 3) + Element(0x25, "Serial Port " + std::to_string(record));
    attributes += std::string("\x09\x01\x01", 3) + Element(0x25, std::string(150, 'd'));
    return std::string("\x36\x00", 2) + static_cast<char>(attributes.size()) + attributes;
}

std::unique_ptr<qm::TSessionState> ReferenceSession() {
    auto session = std::make_unique<qm::TSessionState>();
    for (int i = 0; i < kDevices; ++i) {
        qm::TBTDevice& device = session->DeviceList().Add();
        char address[32];
        std::snprintf(address, sizeof address, "(00:11:22:%02X:%02X:%02X)", i >> 16, (i >> 8) & 0xFF,
                      i & 0xFF);
        device.SetAddress(address);
        device.SetName("Device " + std::to_string(i));
        device.SetMajorClass(2);
        device.SetMinorClass(3);
        device.SetLastSeen(1700000000 + i);
        device.SetSeenCount(i % 50 + 1);
        device.SetLocation("Office");
        for (int r = 0; r < kRecordsPerDevice; ++r) device.RawSDPRecords().push_back(ServiceRecord(i, r));
    }
    session->SetCurrentLocation("Office");
    for (int i = 0; i < kLogLines; ++i)
        session->Log().push_back("11/14/23 at 22:13:20: Found new device: (00:11:22:AA:" +
                                 std::to_string(10000 + i));
    return session;
}

struct TReference {
    TReference() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qm-session-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        directory = pattern;
        path = directory + "/Quillmark.dat";
        qm::SaveSession(*session, path);
        size = std::filesystem::file_size(path);
    }
    ~TReference() { std::filesystem::remove_all(directory); }

    std::unique_ptr<qm::TSessionState> session = ReferenceSession();
    std::string directory;
    std::string path;
    std::uintmax_t size;
};

TReference& Reference() {
    static TReference reference;
    return reference;
}

double SecondsOf(std::chrono::steady_clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

void SaveSession(benchmark::State& state) {
    TReference& reference = Reference();
    for (auto _ : state) qm::SaveSession(*reference.session, reference.path);
    state.counters["file_MB"] = static_cast<double>(reference.size) / 1e6;
}
BENCHMARK(SaveSession)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

void SessionTextPieces(benchmark::State& state) {
    TReference& reference = Reference();
    std::size_t size = 0;
    for (auto _ : state)
        qm::WriteSessionText(*reference.session, [&size](std::string_view piece) { size += piece.size(); });
    benchmark::DoNotOptimize(size);
}
BENCHMARK(SessionTextPieces)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

void WriteFsyncFloor(benchmark::State& state) {
    TReference& reference = Reference();
    const std::string bytes(reference.size, 'x');
    const std::string path = reference.directory + "/floor.dat";
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
            ::fsync(fd) < 0)
            std::abort();
        ::close(fd);
    }
}
BENCHMARK(WriteFsyncFloor)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

void LoadSession(benchmark::State& state) {
    TReference& reference = Reference();
    int devices = 0;
    for (auto _ : state) devices = qm::LoadSession(reference.path)->DeviceList().Count();
    if (devices != kDevices) state.SkipWithError("the reference session did not load");
}
BENCHMARK(LoadSession)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The peak resident set (kB) of this process so far, and its current one.
long StatusValue(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::strlen(key));
    return -1;
}

int MeasureLoad(const char* path) {
    const long before = StatusValue("VmRSS:");
    const auto start = std::chrono::steady_clock::now();
    const auto session = qm::LoadSession(path);
    const double seconds = SecondsOf(std::chrono::steady_clock::now() - start);
    std::printf("%ld %ld %d %f\n", before, StatusValue("VmHWM:"), session->DeviceList().Count(), seconds);
    return 0;
}

void LoadPeakMemory(benchmark::State& state) {
    TReference& reference = Reference();
    long before = 0, peak = 0;
    int devices = 0;
    double seconds = 0;
    for (auto _ : state) {
        const std::string command =
            "/proc/" + std::to_string(::getpid()) + "/exe --measure-load " + reference.path;
        FILE* child = ::popen(command.c_str(), "r");
        if (!child || std::fscanf(child, "%ld %ld %d %lf", &before, &peak, &devices, &seconds) != 4)
            std::abort();
        ::pclose(child);
    }
    const double grownBytes = static_cast<double>(peak - before) * 1024.0;
    state.counters["file_MB"] = static_cast<double>(reference.size) / 1e6;
    state.counters["peak_growth_MB"] = grownBytes / 1e6;
    state.counters["peak_over_file"] = grownBytes / static_cast<double>(reference.size);
    state.counters["load_s"] = seconds;
    if (devices != kDevices) state.SkipWithError("the reference session did not load");
}
BENCHMARK(LoadPeakMemory)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--measure-load") == 0) return MeasureLoad(argv[2]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
