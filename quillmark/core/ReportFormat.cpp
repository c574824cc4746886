#include "quillmark/core/ReportFormat.h"

namespace qm {

std::optional<TReportFormat> ReportFormatNamed(std::string_view name) {
    if (name == "csv") return TReportFormat::Csv;
    if (name == "json") return TReportFormat::Json;
    if (name == "html") return TReportFormat::Html;
    return std::nullopt;
}

std::string RenderReport(TReportFormat format, const std::vector<TDeviceReportRow>& rows,
                         const TReportHistory* history) {
    switch (format) {
        case TReportFormat::Csv:
            return CsvReport(rows, history);
        case TReportFormat::Json:
            return JsonReport(rows, history);
        case TReportFormat::Html:
            break;
    }
    return HtmlReport(rows, history);
}

}  // namespace qm
