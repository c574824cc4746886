#pragma once
// The report formats of the inventory: CSV (RFC 4180, UTF-8), JSON (an array of one object per
// device) and a self-contained HTML page. Each makes the texts of strangers safe for where it goes.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "quillmark/core/DeviceReport.h"

namespace qm {

enum class TReportFormat { Csv, Json, Html };

// The format named "csv", "json" or "html"; none for any other name.
std::optional<TReportFormat> ReportFormatNamed(std::string_view name);

// The whole report in the format.
std::string RenderReport(TReportFormat format, const std::vector<TDeviceReportRow>& rows);

// Each format on its own.
std::string CsvReport(const std::vector<TDeviceReportRow>& rows);
std::string JsonReport(const std::vector<TDeviceReportRow>& rows);
std::string HtmlReport(const std::vector<TDeviceReportRow>& rows);

}  // namespace qm
