// The main window over an inventory of 100,000 devices loaded from its session file, on the
// offscreen platform: rebuilding the device view sorted by each column, painting its visible rows,
// rebuilding the filter tree, the resident memory, and the longest event the main thread handles
// while a second thread re-sights 1,000 devices and posts a records-changed notice after each
// (with a filter tree heading selected, so each refresh also gives the selection up and restores it).
// Prints every figure beside its goal; exits 1 when a goal is missed. --smoke runs the smallest
// setting (1,000 devices, one run of each), to show that the program still works, and judges no
// goal.

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/FoundSound.h"
#include "quillmark/core/SessionFile.h"
#include "quillmark/core/SessionState.h"
#include "quillmark/ui/DeviceTreeModel.h"
#include "quillmark/ui/DeviceView.h"
#include "quillmark/ui/FilterTree.h"
#include "quillmark/ui/MainForm.h"

namespace {

// The measured setting; --smoke runs the smallest one, to show the program still works.
struct TSetting {
    int devices = 100'000;
    int resightings = 1'000;
    int runs = 5;
    bool judged = true;  // a missed goal fails the program; the smoke run is too small to judge
};
TSetting Setting;
constexpr QEvent::Type kListChanged = static_cast<QEvent::Type>(0x87D1);

// Times every event the main thread handles at the outermost level of dispatch.
class TTimedApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        if (event->type() == kListChanged) ++FListChangedNotices;
        if (FDepth > 0) return Dispatch(receiver, event);
        QElapsedTimer timer;
        timer.start();
        const bool handled = Dispatch(receiver, event);
        if (FMeasuring) FLongestNs = std::max(FLongestNs, timer.nsecsElapsed());
        return handled;
    }
    void StartMeasuring() {
        FLongestNs = 0;
        FMeasuring = true;
    }
    int ListChangedNotices() const { return FListChangedNotices; }
    double StopMeasuring() {
        FMeasuring = false;
        return static_cast<double>(FLongestNs) / 1e6;
    }

private:
    bool Dispatch(QObject* receiver, QEvent* event) {
        ++FDepth;
        const bool handled = QApplication::notify(receiver, event);
        --FDepth;
        return handled;
    }

    int FDepth = 0;
    bool FMeasuring = false;
    qint64 FLongestNs = 0;
    int FListChangedNotices = 0;
};

// Plausible inventory texts: names repeat (many devices report none and stay "Unknown"), locations
// come from a short list with letter-case variants, a third of the devices carry service records.
const std::array<const char*, 12> kNames = {"Unknown",  "Pixel",   "iPhone",    "Galaxy",
                                            "ThinkPad", "MX Keys", "WH-1000XM", "LaserJet",
                                            "Jabra",    "Fitbit",  "Ärztehaus", "édition"};
const std::array<const char*, 8> kLocations = {"",    "Office",     "office", "Home",
                                               "Lab", "Print room", "Café",   "Garage"};
const std::array<const char*, 6> kServices = {"Serial Port", "Audio Gateway",    "Headset",
                                              "Printer",     "Phonebook Access", "Object Push"};

std::string ServiceRecord(const std::string& name) {
    const std::string body = std::string("\x09\x00\x00\x0A\x00\x01\x00\x00", 8) +
                             std::string("\x09\x01\x00\x25", 4) + static_cast<char>(name.size()) + name;
    return std::string("\x35", 1) + static_cast<char>(body.size()) + body;
}

std::string AddressText(int number) {
    char text[24];
    std::snprintf(text, sizeof text, "(00:1A:%02X:%02X:%02X:%02X)", (number >> 24) & 0xFF,
                  (number >> 16) & 0xFF, (number >> 8) & 0xFF, number & 0xFF);
    return text;
}

void Populate(qm::TSessionState& session, std::int32_t now) {
    std::mt19937 random(7);
    const auto pick = [&](int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); };
    qm::TDeviceListLock lock(session.DeviceList());
    for (int i = 0; i < Setting.devices; ++i) {
        qm::TBTDevice& device = lock->Add();
        device.SetAddress(AddressText(i));
        const std::string base = kNames[static_cast<std::size_t>(pick(static_cast<int>(kNames.size())))];
        device.SetName(base == "Unknown" ? base : base + " " + std::to_string(pick(5000)));
        device.SetMajorClass(pick(8));
        device.SetMinorClass(pick(64));
        device.SetLastSeen(now - pick(40 * 86400));
        device.SetFirstSeen(device.LastSeen() - pick(86400));
        device.SetSeenCount(1 + pick(500));
        device.SetFlags(pick(4) * 0x08);
        device.SetLocation(kLocations[static_cast<std::size_t>(pick(static_cast<int>(kLocations.size())))]);
        if (pick(3) == 0)
            for (int record = pick(3); record >= 0; --record)
                device.RawSDPRecords().push_back(ServiceRecord(kServices[static_cast<std::size_t>(pick(6))]));
    }
}

template <class Work>
double Milliseconds(Work&& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// The median and the worst of a few runs; the goal applies to the median, since other programs on
// the machine can stretch any single run.
struct TFigure {
    double median;
    double worst;
};

template <class Work>
TFigure Measure(Work&& work) {
    std::vector<double> runs(static_cast<std::size_t>(Setting.runs));
    for (double& run : runs) run = Milliseconds(work);
    std::sort(runs.begin(), runs.end());
    return {runs[runs.size() / 2], runs.back()};
}

bool Report(const std::string& what, TFigure figure, double goal) {
    const bool met = figure.median < goal;
    std::printf("%-52s %8.2f ms (worst %8.2f)  goal < %g ms  %s\n", what.c_str(), figure.median, figure.worst,
                goal, met ? "ok" : "MISSED");
    return met;
}

bool Report(const std::string& what, double value, const char* unit, double goal) {
    const bool met = value < goal;
    std::printf("%-52s %8.2f %-3s                 goal < %g %s  %s\n", what.c_str(), value, unit, goal, unit,
                met ? "ok" : "MISSED");
    return met;
}

double ResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    double kilobytes = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> kilobytes;
            break;
        }
    }
    return kilobytes / 1024;
}

// Re-sights devices spread over the list on a second thread, the way the inquiry updates them,
// and tells the window after each, as the device list's notifier does.
double LongestEventWhileResighting(TTimedApplication& application, qm::ui::TMainForm& form) {
    QEventLoop loop;
    application.StartMeasuring();
    std::thread discovery([&] {
        std::mt19937 random(11);
        qm::TSessionState& session = form.Session();
        for (int i = 0; i < Setting.resightings; ++i) {
            {
                qm::TDeviceListLock lock(session.DeviceList());
                qm::TBTDevice& device =
                    lock->Items(static_cast<int>(random() % static_cast<unsigned>(Setting.devices)));
                device.SetLastSeen(session.Clock().Now());
                device.SetSeenCount(device.SeenCount() + 1);
            }
            form.DeviceDataChanged();
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    discovery.join();
    return application.StopMeasuring();
}

class TSilentSound : public qm::IFoundSound {
public:
    void Play(const std::string&) override {}
};

// The session file keeps no signal strengths: most loaded devices get one, as the history store
// gives them at start-up; the others have had no sighting with one.
void GiveSignals(qm::TSessionState& session) {
    std::mt19937 random(13);
    qm::TDeviceListLock lock(session.DeviceList());
    for (int i = 0; i < lock->Count(); ++i)
        if (random() % 5 != 0) lock->Items(i).SetSignal(static_cast<std::int8_t>(-100 + random() % 75));
}

// A session file of the populated inventory and an empty scenario for the emulated radio, in a
// fresh directory.
struct TBenchFiles {
    TBenchFiles() {
        char pattern[] = "/tmp/qm-bench-XXXXXX";
        if (!::mkdtemp(pattern)) std::abort();
        directory = pattern;
        const qm::TSettableClock clock(static_cast<std::int32_t>(std::time(nullptr)));
        qm::TSessionState session(clock);
        Populate(session, clock.Now());
        qm::SaveSession(session, SessionPath());
        std::ofstream(ScenarioPath()) << R"({"devices": []})";
    }
    ~TBenchFiles() { std::filesystem::remove_all(directory); }
    std::string SessionPath() const { return directory + "/Quillmark.dat"; }
    std::string ScenarioPath() const { return directory + "/empty.json"; }

    std::string directory;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == "--smoke") Setting = {1'000, 10, 1, false};
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    TTimedApplication application(argc, argv);
    const TBenchFiles files;
    TSilentSound sound;
    // The real main window over the saved inventory; its discovery thread scans an empty radio.
    qm::ui::TMainForm form(files.SessionPath(), qm::TRadioChoice{true, files.ScenarioPath()}, sound);
    GiveSignals(form.Session());
    form.resize(932, 585);
    form.show();
    QApplication::processEvents();
    auto* tree = form.findChild<qm::ui::TFilterTree*>("FilterTree");
    auto* view = form.findChild<qm::ui::TDeviceView*>("DeviceTree");
    if (!tree || !view) return 1;

    std::ifstream loadAverage("/proc/loadavg");
    std::string load;
    std::getline(loadAverage, load);
    std::printf("%d devices; load average at start: %s\n", Setting.devices, load.c_str());

    bool met = true;
    met &= Report("filter tree rebuild", Measure([&] { tree->RebuildFilterTree(); }), 250);
    met &= Report("device view rebuild, unsorted", Measure([&] { view->Rebuild(qm::fkNone, {}); }), 150);
    const std::array<const char*, qm::ui::kDeviceColumnCount> columns = {"Name", "First Seen/LastSeen",
                                                                         "Type/Flags", "Location", "Signal"};
    for (int column = 0; column < qm::ui::kDeviceColumnCount; ++column) {
        for (const char* direction : {"ascending", "descending"}) {
            // The next direction of the cycle; its rebuild is the first sort, which may make the
            // collation keys of every name or location.
            const double first = Milliseconds([&] { view->DeviceTreeHeaderClick(column); });
            std::printf("%-52s %8.2f ms\n", "  header click (first sort of this order)", first);
            met &= Report(std::string("device view rebuild sorted by ") +
                              columns[static_cast<std::size_t>(column)] + ", " + direction,
                          Measure([&] { view->Rebuild(qm::fkNone, {}); }), 150);
        }
        view->DeviceTreeHeaderClick(column);  // back to unsorted
    }
    // The worst case for the refreshes below: every device listed, sorted by name.
    tree->SelectNodeByText(QStringLiteral("Location"));
    view->DeviceTreeHeaderClick(qm::ui::dcName);
    view->setCurrentIndex(view->model()->index(40, 0));
    QApplication::processEvents();
    met &= Report("paint of the visible rows (viewport grab)", Measure([&] { view->viewport()->grab(); }), 5);
    met &= Report("resident memory with the window", ResidentMegabytes(), "MB", 400);

    const int before = application.ListChangedNotices();
    met &= Report("longest event while 1,000 devices are re-sighted",
                  LongestEventWhileResighting(application, form), "ms", 300);
    std::printf("%-52s %8d\n", "  list-changed notices handled after merging",
                application.ListChangedNotices() - before);
    form.close();
    return met || !Setting.judged ? 0 : 1;
}
