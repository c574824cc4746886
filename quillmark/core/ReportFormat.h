#pragma once
// The report formats of the inventory: CSV (RFC 4180, UTF-8), JSON (an array of one object per
// device) and a self-contained HTML page. Each makes the texts of strangers safe for where it goes.
// Given the history, each row ends with the device's latest signal ("rssi", dBm) and its minutes
// present ("minutes_present"); without it, the report has neither.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "quillmark/core/DeviceReport.h"
#include "quillmark/core/ReportHistory.h"

namespace qm {

enum class TReportFormat { Csv, Json, Html };

// The format named "csv", "json" or "html"; none for any other name.
std::optional<TReportFormat> ReportFormatNamed(std::string_view name);

// The whole report in the format.
std::string RenderReport(TReportFormat format, const std::vector<TDeviceReportRow>& rows,
                         const TReportHistory* history = nullptr);

// Each format on its own.
std::string CsvReport(const std::vector<TDeviceReportRow>& rows, const TReportHistory* history = nullptr);
std::string JsonReport(const std::vector<TDeviceReportRow>& rows, const TReportHistory* history = nullptr);
std::string HtmlReport(const std::vector<TDeviceReportRow>& rows, const TReportHistory* history = nullptr);

}  // namespace qm
