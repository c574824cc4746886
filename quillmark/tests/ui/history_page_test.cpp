// The History page of the device details window on the offscreen platform, over a real history
// store in a temporary directory: a day of a device's sightings at three locations with a varying
// signal. What each range reads and lists, the timeline's colours, a reading at each showing, and
// the plain-text reason when there is no history or it cannot be read. Pictures of the page at
// 100% and 200%, on a light and a dark palette, are written for a look by eye; each scaling needs a
// process of its own (Qt reads QT_SCALE_FACTOR at start), so the test runs its own program again.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "quillmark/history/HistoryPath.h"
#include "quillmark/history/SqliteHistoryStore.h"
#include "quillmark/ui/ChooseLocationForm.h"
#include "quillmark/ui/DeviceDetailsForm.h"
#include "quillmark/ui/HistoryColours.h"
#include "quillmark/ui/HistoryPage.h"
#include "quillmark/ui/HistoryReaderOpener.h"
#include "support/Grabs.h"
#include "support/InventoryFixture.h"
#include "support/ModalWindows.h"
#include "testsupport/ScopedTempDir.h"

namespace {

using qm::ui::TDeviceDetailsForm;
using uitest::kNow;

constexpr const char* kAddress = "(00:11:22:AA:BB:01)";
constexpr const char* kStranger = "(00:11:22:AA:BB:02)";
constexpr std::int64_t kMinuteMs = 60'000;
constexpr std::int64_t kNowMs = std::int64_t{kNow} * 1000;
// The first whole minute of the last day.
constexpr std::int64_t kDayStartMs = (kNowMs - 24 * 60 * kMinuteMs + kMinuteMs - 1) / kMinuteMs * kMinuteMs;
constexpr const char* kOffice = "Office";
constexpr const char* kLab = "Lab <b>2</b>";  // a name with markup, to be shown as it is
constexpr const char* kHome = "Home";

// Where the device was in each minute of the last day (minutes after kDayStartMs), and its signal:
// Office every other minute of the morning, the Lab for five hours (heard over both transports at
// first, without a signal for the last hour), Home the last hour, with ten minutes back in the Lab.
// Three days ago it was in the Office for five minutes.
struct TStay {
    const char* location;
    int firstMinute;
    int lastMinute;  // inclusive
    int every;
    bool withSignal;
    bool bothTransports;
};

const std::vector<TStay> kStays = {
    {kOffice, 60, 539, 2, true, false},                   // 240 minutes
    {kLab, 600, 609, 1, true, true},                      // 10 minutes
    {kLab, 610, 839, 1, true, false},                     // 230 minutes
    {kLab, 840, 899, 1, false, false},                    // 60 minutes
    {kHome, 1380, 1439, 1, true, false},                  // 60 minutes
    {kLab, 1400, 1409, 1, true, false},                   // 10 minutes
    {kOffice, -3 * 1440, -3 * 1440 + 4, 1, true, false},  // 5 minutes
};

qm::TRecordedSighting Sighting(const std::string& address, std::int64_t ms, const char* location,
                               std::optional<std::int8_t> rssi, qm::TTransport transport) {
    qm::TRecordedSighting recorded;
    recorded.sighting.address = address;
    recorded.sighting.transport = transport;
    recorded.sighting.rssi = rssi;
    recorded.sighting.receivedMs = ms;
    recorded.location = location;
    return recorded;
}

std::vector<qm::TRecordedSighting> FixtureSightings() {
    std::vector<qm::TRecordedSighting> batch;
    for (const TStay& stay : kStays)
        for (int minute = stay.firstMinute; minute <= stay.lastMinute; minute += stay.every) {
            const std::int64_t ms = kDayStartMs + minute * kMinuteMs + 1000;
            // A signal that wanders between -95 and -45 dBm; two sightings a minute give a band.
            const auto rssi = [&](int offset) -> std::optional<std::int8_t> {
                if (!stay.withSignal) return std::nullopt;
                return static_cast<std::int8_t>(-95 + ((minute * 7 + offset) % 50 + 50) % 50);
            };
            batch.push_back(Sighting(kAddress, ms, stay.location, rssi(0), qm::TTransport::Classic));
            batch.push_back(Sighting(kAddress, ms + 20'000, stay.location, rssi(9), qm::TTransport::Classic));
            if (stay.bothTransports)
                batch.push_back(
                    Sighting(kAddress, ms + 30'000, stay.location, rssi(3), qm::TTransport::LowEnergy));
        }
    return batch;
}

// The reader of the store, noting each range it is asked for.
class TNotingReader : public qm::IHistoryReader {
public:
    TNotingReader(std::unique_ptr<qm::IHistoryReader> reader,
                  std::vector<std::pair<std::int64_t, std::int64_t>>& asked)
        : reader_(std::move(reader)), asked_(asked) {}
    std::vector<qm::THistoryMinute> Minutes(const std::string& address, std::int64_t fromMs,
                                            std::int64_t toMs) override {
        asked_.emplace_back(fromMs, toMs);
        return reader_->Minutes(address, fromMs, toMs);
    }
    std::vector<qm::THistoryDeviceSummary> Summary() override { return reader_->Summary(); }
    std::optional<qm::THistoryLatest> Latest(const std::string& address) override {
        return reader_->Latest(address);
    }

private:
    std::unique_ptr<qm::IHistoryReader> reader_;
    std::vector<std::pair<std::int64_t, std::int64_t>>& asked_;
};

using TLegend = std::vector<std::pair<std::string, int>>;

class HistoryPageTest : public uitest::TInventoryTest {
protected:
    void SetUp() override {
        AddDevice({.address = kAddress, .name = "Ines's Phone", .location = kHome});
        AddDevice({.address = kStranger, .name = "Never recorded"});
    }

    std::string SessionPath() const { return (dir / "Quillmark.dat").string(); }

    void WriteFixtureHistory() {
        qm::THistoryStoreOptions options;
        options.coalesceMs = 0;
        options.clock = &clock_;  // the rows are a day old by the session's clock, not by the system's
        qm::TSqliteHistoryStore store(
            qm::HistoryStorePath(SessionPath()), [](const std::string&) {}, options);
        store.SightingsRecorded(FixtureSightings());
        store.Flush();
    }

    template <typename T>
    T& Child(const char* name) {
        T* child = form.findChild<T*>(name);
        if (child == nullptr) ADD_FAILURE() << "no " << name;
        return *child;
    }

    // Opens the window on its History page for the address; act runs while it shows.
    void ShowHistory(const std::string& address, const std::function<void()>& act) {
        Child<QTabWidget>("PageControl1").setCurrentWidget(&Child<QWidget>("HistoryPage"));
        uitest::WhenModal([this, act](QWidget& modal) {
            EXPECT_EQ(&modal, &form) << "only the details window opens";
            act();
            form.reject();
        });
        form.ShowDevice(address);
    }

    TLegend Legend() {
        auto& table = Child<QTableWidget>("HistoryLocations");
        TLegend legend;
        for (int row = 0; row < table.rowCount(); ++row)
            legend.emplace_back(table.item(row, 0)->text().toStdString(), table.item(row, 1)->text().toInt());
        return legend;
    }

    // The reason shown in place of the history, or empty while the history shows.
    QString Reason() {
        auto& views = *Child<QWidget>("HistoryReason").parentWidget();
        const bool showing =
            qobject_cast<QStackedWidget*>(&views)->currentWidget()->objectName() == "HistoryReason";
        return showing ? Child<QLabel>("HistoryReason").text() : QString();
    }

    testsupport::ScopedTempDir dir;
    std::vector<std::pair<std::int64_t, std::int64_t>> asked;
    int opened = 0;
    QWidget owner;
    qm::ui::TChooseLocationForm chooser{session_, &owner};
    TDeviceDetailsForm form{session_, chooser, [] {},
                            [this]() -> std::unique_ptr<qm::IHistoryReader> {
                                ++opened;
                                auto reader = qm::ui::HistoryReaderOpener(SessionPath())();
                                if (!reader) return nullptr;
                                return std::make_unique<TNotingReader>(std::move(reader), asked);
                            },
                            &owner};
};

TEST_F(HistoryPageTest, EachRangeReadsItsRowsAndListsTheLocationsWithTheirMinutes) {
    WriteFixtureHistory();
    constexpr std::int64_t kHourMs = 60 * kMinuteMs;
    const struct {
        qm::ui::THistoryRange range;
        std::int64_t fromMs;  // 0: all, asked as the widest range
        TLegend legend;
    } cases[] = {
        {qm::ui::hrLastHour, kNowMs - kHourMs, {{kHome, 60}, {kLab, 10}}},
        {qm::ui::hrLastDay, kNowMs - 24 * kHourMs, {{kLab, 310}, {kOffice, 240}, {kHome, 60}}},
        {qm::ui::hrLastWeek, kNowMs - 7 * 24 * kHourMs, {{kLab, 310}, {kOffice, 245}, {kHome, 60}}},
        {qm::ui::hrAll, 0, {{kLab, 310}, {kOffice, 245}, {kHome, 60}}},
    };
    ShowHistory(kAddress, [&] {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.range);
            asked.clear();
            Child<QComboBox>("HistoryRange").setCurrentIndex(c.range);
            ASSERT_EQ(asked.size(), 1u);
            if (c.fromMs != 0) {
                EXPECT_EQ(asked[0], std::make_pair(c.fromMs, kNowMs));
            } else {
                EXPECT_LT(asked[0].first, kDayStartMs - 3 * 24 * kHourMs);
                EXPECT_GT(asked[0].second, kNowMs);
            }
            EXPECT_EQ(Reason(), QString());
            EXPECT_EQ(Legend(), c.legend);
        }
    });
}

// The legend's swatches and the strip share the colours: each location of the range is on its
// timeline in its colour, also the Lab's ten minutes within the last hour at Home.
TEST_F(HistoryPageTest, TimelineShowsEachLocationInItsLegendColour) {
    WriteFixtureHistory();
    const struct {
        qm::ui::THistoryRange range;
        int locations;
    } cases[] = {{qm::ui::hrLastHour, 2}, {qm::ui::hrLastDay, 3}};
    ShowHistory(kAddress, [&] {
        for (const auto& c : cases) {
            Child<QComboBox>("HistoryRange").setCurrentIndex(c.range);
            const QImage timeline = Child<QWidget>("HistoryTimeline").grab().toImage();
            for (int slot = 0; slot < qm::ui::kLocationSlots; ++slot) {
                SCOPED_TRACE(testing::Message() << "range " << c.range << ", slot " << slot);
                int pixels = 0;
                for (int y = 0; y < timeline.height(); ++y)
                    for (int x = 0; x < timeline.width(); ++x)
                        pixels += timeline.pixelColor(x, y).rgb() == qm::ui::LocationColour(slot).rgb();
                if (slot < c.locations)
                    EXPECT_GT(pixels, 10);
                else
                    EXPECT_EQ(pixels, 0);
            }
        }
    });
}

TEST_F(HistoryPageTest, ReadsAtEachShowingOfItsPageOnly) {
    WriteFixtureHistory();
    ShowHistory(kAddress, [] {});
    ShowHistory(kAddress, [] {});
    EXPECT_EQ(opened, 2);
    // Shown on another page, the window reads when the History page is chosen.
    Child<QTabWidget>("PageControl1").setCurrentIndex(0);
    uitest::WhenModal([&](QWidget&) {
        EXPECT_EQ(opened, 2);
        Child<QTabWidget>("PageControl1").setCurrentWidget(&Child<QWidget>("HistoryPage"));
        EXPECT_EQ(opened, 3);
        EXPECT_EQ(Legend().size(), 3u);
        form.reject();
    });
    form.ShowDevice(kAddress);
}

TEST_F(HistoryPageTest, WithoutHistoryThePageSaysWhyInPlainText) {
    struct TCase {
        const char* what;
        std::function<void()> prepare;
        const char* address;
        qm::ui::THistoryRange range;
        QString reason;  // the start of it
    };
    const std::vector<TCase> cases = {
        {"no store", [] {}, kAddress, qm::ui::hrLastDay, "No history"},
        {"a device the store does not know", [this] { WriteFixtureHistory(); }, kStranger, qm::ui::hrAll,
         "No history"},
        {"nothing in the range", [this] { WriteFixtureHistory(); }, kStranger, qm::ui::hrLastHour,
         "No history in the last hour"},
        {"a store that is no database",
         [this] { dir.write(qm::kHistoryStoreFileName, std::string(4096, '<')); }, kAddress,
         qm::ui::hrLastDay, "The history cannot be read: "},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(qm::HistoryStorePath(SessionPath()));
        c.prepare();
        Child<QComboBox>("HistoryRange").setCurrentIndex(c.range);
        ShowHistory(c.address, [&] {
            EXPECT_TRUE(Reason().startsWith(c.reason)) << Reason().toStdString();
            EXPECT_EQ(Child<QLabel>("HistoryReason").textFormat(), Qt::PlainText);
            EXPECT_TRUE(Legend().empty());
        });
    }
}

// The pictures: the History page of the day, on the application's palette and on a dark one.
constexpr const char* kPicturesCase = "HistoryPagePictures.AtTheScaleOfThisProcess";

int RunChild(const std::string& scale) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::setenv("QT_SCALE_FACTOR", scale.c_str(), 1);
        ::setenv("QM_PICTURES_CHILD", "1", 1);
        const std::string filter = std::string("--gtest_filter=") + kPicturesCase;
        ::execl("/proc/self/exe", "/proc/self/exe", filter.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(HistoryPageScales, PicturesAtOneHundredAndTwoHundredPercent) {
    for (const std::string scale : {"1", "2"}) EXPECT_EQ(RunChild(scale), 0) << "QT_SCALE_FACTOR=" << scale;
}

class HistoryPagePictures : public HistoryPageTest {};

TEST_F(HistoryPagePictures, AtTheScaleOfThisProcess) {
    const char* scale = std::getenv("QT_SCALE_FACTOR");
    if (!std::getenv("QM_PICTURES_CHILD") || !scale)
        GTEST_SKIP() << "runs in the processes of HistoryPageScales";
    WriteFixtureHistory();
    const struct {
        const char* name;
        QPalette palette;
    } looks[] = {{"light", QApplication::palette()}, {"dark", uitest::DarkPalette()}};
    // Every range of the device, and the page of a device without history.
    const struct {
        const char* name;
        const char* address;
        qm::ui::THistoryRange range;
    } pages[] = {{"hour", kAddress, qm::ui::hrLastHour},
                 {"day", kAddress, qm::ui::hrLastDay},
                 {"week", kAddress, qm::ui::hrLastWeek},
                 {"all", kAddress, qm::ui::hrAll},
                 {"none", kStranger, qm::ui::hrAll}};
    for (const auto& look : looks) {
        form.setPalette(look.palette);
        for (const auto& page : pages) {
            Child<QComboBox>("HistoryRange").setCurrentIndex(page.range);
            ShowHistory(page.address, [&] {
                const std::string file =
                    std::string("history_page_") + page.name + "_" + look.name + "_" + scale + "x.png";
                EXPECT_TRUE(
                    form.grab().save(QString::fromStdString((uitest::GrabDirectory() / file).string())));
            });
        }
    }
}

}  // namespace
