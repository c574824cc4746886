#include "bounded_text.h"

#include <cstdarg>
#include <cstdio>

namespace zema {

BoundedText::BoundedText(char* buffer, std::size_t capacity) : buffer_(buffer), capacity_(capacity) {
    buffer_[0] = '\0';
}

void BoundedText::Append(const char* format, ...) {
    const std::size_t room = capacity_ - length_;
    if (room <= 1) return;
    std::va_list arguments;
    va_start(arguments, format);
    const int written = std::vsnprintf(buffer_ + length_, room, format, arguments);
    va_end(arguments);
    if (written < 0) {
        buffer_[length_] = '\0';
        return;
    }
    length_ += static_cast<std::size_t>(written) < room ? static_cast<std::size_t>(written) : room - 1;
}

}  // namespace zema
