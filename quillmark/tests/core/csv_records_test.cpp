// Splitting comma-separated text into records and fields, damaged text included.

#include "quillmark/core/CsvRecords.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

using Records = std::vector<std::vector<std::string>>;

struct SplitCase {
    const char* name;
    std::string_view text;
    Records records;
    friend std::ostream& operator<<(std::ostream& out, const SplitCase& c) { return out << c.name; }
};

Records Split(std::string_view text) {
    qm::TCsvRecords reader(text);
    Records records;
    std::vector<std::string> fields;
    while (reader.Next(fields)) records.push_back(fields);
    return records;
}

class CsvSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(CsvSplit, RecordsAndFields) {
    EXPECT_EQ(Split(GetParam().text), GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CsvSplit,
    ::testing::Values(SplitCase{"empty", "", {}},
                      SplitCase{"crlf_and_lf", "a,b\r\nc\nd,e", {{"a", "b"}, {"c"}, {"d", "e"}}},
                      SplitCase{"final_line_break", "a\r\n", {{"a"}}},
                      SplitCase{"empty_fields", ",,\r\n", {{"", "", ""}}},
                      SplitCase{"trailing_comma_at_end", "a,", {{"a", ""}}},
                      SplitCase{"blank_line", "a\r\n\r\nb", {{"a"}, {""}, {"b"}}},
                      SplitCase{"quoted_comma_and_quotes", "\"x, \"\"y\"\"\",z", {{"x, \"y\"", "z"}}},
                      SplitCase{"quoted_line_break", "\"1\r\n2\",3\r\n4", {{"1\r\n2", "3"}, {"4"}}},
                      SplitCase{"lone_cr_is_text", "a\rb,c", {{"a\rb", "c"}}},
                      SplitCase{"quote_inside_plain_field", "a\"b,c", {{"a\"b", "c"}}},
                      SplitCase{"text_after_closing_quote", "\"a\"b,c", {{"ab", "c"}}},
                      SplitCase{"unterminated_quote", "\"a,b\r\nc", {{"a,b\r\nc"}}},
                      SplitCase{"lone_quote", "\"", {{""}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
