#pragma once
// Formatted text appended into a fixed character buffer: whatever does not fit is cut, and the
// buffer always holds a terminated text.

#include <cstddef>

namespace zema {

class BoundedText {
public:
    // capacity counts the terminator and must be at least 1.
    BoundedText(char* buffer, std::size_t capacity);

    void Append(const char* format, ...) __attribute__((format(printf, 2, 3)));

    const char* Text() const { return buffer_; }
    std::size_t Length() const { return length_; }

private:
    char* buffer_;
    std::size_t capacity_;
    std::size_t length_ = 0;
};

}  // namespace zema
