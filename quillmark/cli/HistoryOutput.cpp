#include "HistoryOutput.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "IsoTime.h"
#include "TextTable.h"
#include "quillmark/core/CsvCell.h"

namespace qm::cli {

namespace {

using TJson = nlohmann::ordered_json;

constexpr const char* kMinutesCsvHeader =
    "minute,location,transport,sightings,rssi_min,rssi_max,rssi_mean,span_minutes\r\n";
constexpr const char* kSummaryCsvHeader = "address,first_minute,last_minute,minutes_present,locations\r\n";
constexpr std::string_view kCsvLocationSeparator = "; ";
constexpr std::string_view kTextLocationSeparator = ", ";

const char* TransportName(TTransport transport) {
    return transport == TTransport::LowEnergy ? "le" : "classic";
}

std::string Joined(const std::vector<std::string>& items, std::string_view separator) {
    std::string text;
    for (const std::string& item : items) {
        if (!text.empty()) text += separator;
        text += item;
    }
    return text;
}

template <typename T>
TJson OrNull(const std::optional<T>& value) {
    return value ? TJson(*value) : TJson(nullptr);
}

template <typename T>
std::string NumberOrEmpty(const std::optional<T>& value) {
    return value ? TJson(*value).dump() : std::string();
}

// One object per line; texts that are not valid UTF-8 get U+FFFD.
std::string JsonArray(const std::vector<TJson>& objects) {
    if (objects.empty()) return "[]\n";
    std::string out = "[";
    for (std::size_t i = 0; i < objects.size(); ++i) {
        out += i == 0 ? "\n" : ",\n";
        out += objects[i].dump(-1, ' ', false, TJson::error_handler_t::replace);
    }
    return out + "\n]\n";
}

std::string OneDecimal(const std::optional<double>& value) {
    if (!value) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", *value);
    return text;
}

std::string SignalOrDash(const std::optional<int>& value) {
    return value ? std::to_string(*value) : "-";
}

std::string MinutesTable(const std::vector<THistoryMinute>& rows) {
    std::vector<std::vector<std::string>> cells;
    for (const THistoryMinute& row : rows)
        cells.push_back({ReadableMinute(row.minuteMs), row.spanMinutes == 60 ? "hour" : "minute",
                         row.location, TransportName(row.transport), std::to_string(row.sightings),
                         SignalOrDash(row.rssiMin), OneDecimal(row.rssiMean), SignalOrDash(row.rssiMax)});
    return TextTable({{"Minute (UTC)"},
                      {"Span"},
                      {"Location"},
                      {"Transport"},
                      {"Sightings", true},
                      {"RSSI min", true},
                      {"RSSI mean", true},
                      {"RSSI max", true}},
                     cells);
}

std::string MinutesCsv(const std::vector<THistoryMinute>& rows) {
    std::string out = kMinutesCsvHeader;
    for (const THistoryMinute& row : rows) {
        AppendCsvText(out, IsoMinute(row.minuteMs), true);
        AppendCsvText(out, row.location);
        AppendCsvText(out, TransportName(row.transport));
        AppendCsvNumber(out, std::to_string(row.sightings));
        AppendCsvNumber(out, NumberOrEmpty(row.rssiMin));
        AppendCsvNumber(out, NumberOrEmpty(row.rssiMax));
        AppendCsvNumber(out, NumberOrEmpty(row.rssiMean));
        AppendCsvNumber(out, std::to_string(row.spanMinutes));
        out += "\r\n";
    }
    return out;
}

std::string MinutesJson(const std::vector<THistoryMinute>& rows) {
    std::vector<TJson> objects;
    for (const THistoryMinute& row : rows)
        objects.push_back({{"minute", IsoMinute(row.minuteMs)},
                           {"location", row.location},
                           {"transport", TransportName(row.transport)},
                           {"sightings", row.sightings},
                           {"rssi_min", OrNull(row.rssiMin)},
                           {"rssi_max", OrNull(row.rssiMax)},
                           {"rssi_mean", OrNull(row.rssiMean)},
                           {"span_minutes", row.spanMinutes}});
    return JsonArray(objects);
}

std::string SummaryTable(const std::vector<THistoryDeviceSummary>& devices) {
    std::vector<std::vector<std::string>> cells;
    for (const THistoryDeviceSummary& device : devices)
        cells.push_back({device.address, ReadableMinute(device.firstMinuteMs),
                         ReadableMinute(device.lastMinuteMs), std::to_string(device.minutesPresent),
                         Joined(device.locations, kTextLocationSeparator)});
    return TextTable({{"Address"},
                      {"First minute (UTC)"},
                      {"Last minute (UTC)"},
                      {"Minutes present", true},
                      {"Locations"}},
                     cells);
}

std::string SummaryCsv(const std::vector<THistoryDeviceSummary>& devices) {
    std::string out = kSummaryCsvHeader;
    for (const THistoryDeviceSummary& device : devices) {
        AppendCsvText(out, device.address, true);
        AppendCsvText(out, IsoMinute(device.firstMinuteMs));
        AppendCsvText(out, IsoMinute(device.lastMinuteMs));
        AppendCsvNumber(out, std::to_string(device.minutesPresent));
        AppendCsvText(out, Joined(device.locations, kCsvLocationSeparator));
        out += "\r\n";
    }
    return out;
}

std::string SummaryJson(const std::vector<THistoryDeviceSummary>& devices) {
    std::vector<TJson> objects;
    for (const THistoryDeviceSummary& device : devices)
        objects.push_back({{"address", device.address},
                           {"first_minute", IsoMinute(device.firstMinuteMs)},
                           {"last_minute", IsoMinute(device.lastMinuteMs)},
                           {"minutes_present", device.minutesPresent},
                           {"locations", device.locations}});
    return JsonArray(objects);
}

}  // namespace

std::optional<THistoryFormat> HistoryFormatNamed(std::string_view name) {
    if (name == "text") return THistoryFormat::Text;
    if (name == "csv") return THistoryFormat::Csv;
    if (name == "json") return THistoryFormat::Json;
    return std::nullopt;
}

std::string HistoryMinutesOutput(THistoryFormat format, const std::vector<THistoryMinute>& rows) {
    if (format == THistoryFormat::Json) return MinutesJson(rows);
    if (rows.empty()) return {};
    return format == THistoryFormat::Csv ? MinutesCsv(rows) : MinutesTable(rows);
}

std::string HistorySummaryOutput(THistoryFormat format, const std::vector<THistoryDeviceSummary>& devices) {
    if (format == THistoryFormat::Json) return SummaryJson(devices);
    if (devices.empty()) return {};
    return format == THistoryFormat::Csv ? SummaryCsv(devices) : SummaryTable(devices);
}

}  // namespace qm::cli
