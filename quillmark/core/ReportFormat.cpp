#include "quillmark/core/ReportFormat.h"

namespace qm {

std::optional<TReportFormat> ReportFormatNamed(std::string_view name) {
    if (name == "csv") return TReportFormat::Csv;
    if (name == "json") return TReportFormat::Json;
    if (name == "html") return TReportFormat::Html;
    return std::nullopt;
}

std::string RenderReport(TReportFormat format, const std::vector<TDeviceReportRow>& rows) {
    switch (format) {
        case TReportFormat::Csv:
            return CsvReport(rows);
        case TReportFormat::Json:
            return JsonReport(rows);
        case TReportFormat::Html:
            break;
    }
    return HtmlReport(rows);
}

}  // namespace qm
