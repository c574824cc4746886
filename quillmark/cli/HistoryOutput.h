#pragma once
// What quillmark-cli history prints: a device's rows or the summary of every device, as a table
// for people, as CSV (RFC 4180, a heading record, CR LF) or as JSON (an array of one object per
// row). With nothing to show, the table and CSV are empty and JSON is "[]".

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "quillmark/core/HistoryStore.h"

namespace qm::cli {

enum class THistoryFormat { Text, Csv, Json };

// The format named "text", "csv" or "json"; none for any other name.
std::optional<THistoryFormat> HistoryFormatNamed(std::string_view name);

// Per row: the minute (an hour row's is the start of its hour), location, transport ("classic" or
// "le"), sightings, the lowest, highest and mean signal in dBm (empty or null when the row has no
// signal), and the minutes the row spans (1, or 60 for an hour row).
std::string HistoryMinutesOutput(THistoryFormat format, const std::vector<THistoryMinute>& rows);

// Per device: address, first and last minute, minutes present and the locations.
std::string HistorySummaryOutput(THistoryFormat format, const std::vector<THistoryDeviceSummary>& devices);

}  // namespace qm::cli
