// Saving and loading the reference session: 10,000 devices with five SDP records of about 250
// bytes each, and 100,000 log lines of about 60 characters.
//
//   SaveSession       the whole save: text, temporary file, flush, rename (a new log line each
//                     time, so every save has something to write)
//   SaveLockHold      the longest wait of another thread for the device list's lock during a save
//                     (how long the save holds the lock): median and largest of the saves
//   NewDeviceSaves    the two saves that follow a new device (its log line, then the list-changed
//                     notice): bytes passed to write(2) per new device
//   SessionTextPieces the text alone, handed over piece by piece
//   WriteFsyncFloor   the same number of bytes written with one write and one fsync
//   LoadSession       reading and parsing the file into a new session
//   LoadPeakMemory    a load in a fresh process (this program run with --measure-load FILE):
//                     the growth of its peak resident memory, against the file's size
//
// Goals: save within 3x the floor, lock held under 25 ms, load under 0.5 s, load peak memory
// under 4x the file size.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "quillmark/core/DeviceListLock.h"
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

// A log line that no earlier save of this run wrote.
std::string NewLogLine() {
    static int number = 0;
    return "11/14/23 at 22:13:21: Found new device: (00:11:22:BB:" + std::to_string(++number);
}

void SaveSession(benchmark::State& state) {
    TReference& reference = Reference();
    for (auto _ : state) {
        reference.session->Log().push_front(NewLogLine());
        qm::SaveSession(*reference.session, reference.path);
    }
    state.counters["file_MB"] = static_cast<double>(reference.size) / 1e6;
}
BENCHMARK(SaveSession)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// Another thread takes and releases the lock again and again while the save runs; its longest
// wait is the time the save held the lock.
void SaveLockHold(benchmark::State& state) {
    TReference& reference = Reference();
    std::vector<double> holds;
    for (auto _ : state) {
        reference.session->Log().push_front(NewLogLine());
        std::atomic<bool> saved{false};
        std::chrono::steady_clock::duration wait{};
        std::thread probe([&] {
            while (!saved) {
                const auto start = std::chrono::steady_clock::now();
                qm::TDeviceListLock lock(reference.session->DeviceList());
                wait = std::max(wait, std::chrono::steady_clock::now() - start);
            }
        });
        qm::SaveSession(*reference.session, reference.path);
        saved = true;
        probe.join();
        holds.push_back(SecondsOf(wait));
    }
    std::sort(holds.begin(), holds.end());
    state.counters["lock_hold_median_ms"] = holds[holds.size() / 2] * 1e3;
    state.counters["lock_hold_max_ms"] = holds.back() * 1e3;
}
BENCHMARK(SaveLockHold)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// The bytes this process has passed to write(2) so far.
long long WrittenBytes() {
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = 0;
    while (io >> key >> value)
        if (key == "wchar:") return value;
    return -1;
}

// A device is found: it joins the list under the lock, its log line is saved, then the
// list-changed notice saves again.
void NewDeviceSaves(benchmark::State& state) {
    TReference& reference = Reference();
    qm::TDeviceList& list = reference.session->DeviceList();
    const long long before = WrittenBytes();
    for (auto _ : state) {
        {
            qm::TDeviceListLock lock(list);
            lock->Add().SetAddress("(00:11:22:CC:00:" + std::to_string(list.Count()) + ")");
        }
        reference.session->Log().push_front(NewLogLine());
        qm::SaveSession(*reference.session, reference.path);
        qm::SaveSession(*reference.session, reference.path);
    }
    state.counters["bytes_per_new_device"] =
        static_cast<double>(WrittenBytes() - before) / static_cast<double>(state.iterations());
    {
        qm::TDeviceListLock lock(list);
        while (list.Count() > kDevices) list.Delete(list.Count() - 1);
    }
    qm::SaveSession(*reference.session, reference.path);
}
BENCHMARK(NewDeviceSaves)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

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
