// Opening the device details window on its History page for a device with 30 days of minute rows
// (43,200 rows at three locations, each with a signal) in a history store in a temporary directory,
// on the offscreen platform: ShowDevice opens a reader, reads the rows of the range, gathers them
// into the timeline's pixel columns and shows the window, which paints itself once and closes. The
// figures are the median and the worst of the openings for "All" and for "Last day", beside the
// goal. --smoke writes one day of rows and opens the window once, to show that the program still
// works. Exits 0 either way: the figures are for reading.

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/SessionState.h"
#include "quillmark/history/HistoryPath.h"
#include "quillmark/history/SqliteHistoryStore.h"
#include "quillmark/ui/ChooseLocationForm.h"
#include "quillmark/ui/DeviceDetailsForm.h"
#include "quillmark/ui/HistoryPage.h"
#include "quillmark/ui/HistoryReaderOpener.h"

namespace {

constexpr double kGoalMs = 150;
constexpr const char* kAddress = "(00:1A:7D:DA:71:13)";
constexpr std::int64_t kMinuteMs = 60'000;
constexpr const char* kLocations[] = {"Office", "Lab", "Home"};

// A directory of its own for the session path the store sits beside; removed at the end.
struct TBenchDirectory {
    TBenchDirectory() {
        char pattern[] = "/tmp/qm-bench-XXXXXX";
        if (!::mkdtemp(pattern)) std::abort();
        path = pattern;
    }
    ~TBenchDirectory() { std::filesystem::remove_all(path); }
    std::string SessionPath() const { return path + "/Quillmark.dat"; }

    std::string path;
};

// One sighting in each minute of the days before now, moving between the locations every few hours,
// with a signal that wanders. The rows stay minute rows: the store's rollup waits longer than that.
void WriteHistory(const std::string& sessionPath, int days, std::int64_t nowMs) {
    qm::THistoryStoreOptions options;
    options.rollupAgeMinutes = std::int64_t{days + 1} * 24 * 60;
    qm::TSqliteHistoryStore store(
        qm::HistoryStorePath(sessionPath),
        [](const std::string& line) { std::fprintf(stderr, "history: %s\n", line.c_str()); }, options);
    const int minutes = days * 24 * 60;
    std::vector<qm::TRecordedSighting> batch;
    for (int minute = 0; minute < minutes; ++minute) {
        qm::TRecordedSighting recorded;
        recorded.sighting.address = kAddress;
        recorded.sighting.rssi = static_cast<std::int8_t>(-95 + (minute * 7) % 60);
        recorded.sighting.receivedMs = nowMs - std::int64_t{minutes - minute} * kMinuteMs;
        recorded.location = kLocations[(minute / 200) % 3];
        batch.push_back(std::move(recorded));
        if (batch.size() == 5000) store.SightingsRecorded(std::exchange(batch, {}));
    }
    store.SightingsRecorded(std::move(batch));
    store.Flush();
}

// One opening: the window paints itself once from its own event loop, then closes.
double OpenOnce(qm::ui::TDeviceDetailsForm& form) {
    QTimer::singleShot(0, &form, [&form] {
        form.grab();
        form.reject();
    });
    QElapsedTimer timer;
    timer.start();
    form.ShowDevice(kAddress);
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void Report(const char* what, std::vector<double> runs, double first, bool smoke) {
    std::sort(runs.begin(), runs.end());
    const double worst = std::max(first, runs.back());
    std::printf("%-52s %8.2f ms (worst %8.2f)  goal < %g ms  %s\n", what, runs[runs.size() / 2], worst,
                kGoalMs,
                smoke             ? "(smoke run, not judged)"
                : worst < kGoalMs ? "met"
                                  : "MISSED");
}

}  // namespace

int main(int argc, char* argv[]) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // --smoke writes a day of rows and opens the window once only; it judges no goal.
    const bool smoke = argc == 2 && std::string_view(argv[1]) == "--smoke";
    const int days = smoke ? 1 : 30;
    const int openings = smoke ? 1 : 15;
    QApplication application(argc, argv);
    const TBenchDirectory directory;
    qm::TSessionState session;
    const std::int64_t nowMs = std::int64_t{session.Clock().Now()} * 1000;
    QElapsedTimer writing;
    writing.start();
    WriteHistory(directory.SessionPath(), days, nowMs);
    std::printf("%d days of minute rows (%d rows) written in %.0f ms\n", days, days * 24 * 60,
                static_cast<double>(writing.elapsed()));
    {
        qm::TDeviceListLock lock(session.DeviceList());
        qm::TBTDevice& device = lock->Add();
        device.SetAddress(kAddress);
        device.SetName("Benchmark Phone");
    }
    qm::ui::TChooseLocationForm chooser(session, nullptr);
    qm::ui::TDeviceDetailsForm form(
        session, chooser, [] {}, qm::ui::HistoryReaderOpener(directory.SessionPath()), nullptr);
    auto& pages = *form.findChild<QTabWidget*>("PageControl1");
    pages.setCurrentWidget(form.findChild<QWidget*>("HistoryPage"));
    auto& range = *form.findChild<QComboBox*>("HistoryRange");
    const struct {
        qm::ui::THistoryRange range;
        const char* what;
    } measured[] = {{qm::ui::hrAll, "open the History page, All (every row)"},
                    {qm::ui::hrLastDay, "open the History page, Last day"}};
    for (const auto& m : measured) {
        range.setCurrentIndex(m.range);
        const double first = OpenOnce(form);
        std::vector<double> runs;
        for (int run = 0; run < openings; ++run) runs.push_back(OpenOnce(form));
        std::printf("%s: first opening %.2f ms\n", m.what, first);
        Report(m.what, runs, first, smoke);
    }
    return 0;
}
