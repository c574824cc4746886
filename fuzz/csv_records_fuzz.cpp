// Hostile comma-separated text (a damaged vendor registry): the reader must end on every input
// without reading out of bounds, and its fields can never hold more bytes than the text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "quillmark/core/CsvRecords.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    qm::TCsvRecords records(text);
    std::vector<std::string> fields;
    std::size_t bytes = 0;
    std::size_t count = 0;
    while (records.Next(fields)) {
        if (fields.empty() || ++count > size) std::abort();
        for (const std::string& field : fields) bytes += field.size();
    }
    if (bytes > size) std::abort();
    return 0;
}
