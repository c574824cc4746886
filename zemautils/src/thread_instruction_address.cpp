#include "thread_instruction_address.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace zema {

namespace {

constexpr int kFieldsInSyscall = 9;
constexpr int kFieldsOutsideSyscall = 3;

bool IsBlank(char c) {
    return c == ' ' || c == '\n' || c == '\t';
}

}  // namespace

std::uint64_t InstructionAddressFromSyscallText(const char* text) {
    int fields = 0;
    const char* last = nullptr;
    for (const char* p = text; *p; ++p) {
        if (!IsBlank(*p) && (p == text || IsBlank(p[-1]))) {
            ++fields;
            last = p;
        }
    }
    if (fields != kFieldsInSyscall && fields != kFieldsOutsideSyscall) return 0;
    if (!(text[0] == '-' || (text[0] >= '0' && text[0] <= '9'))) return 0;
    if (std::strncmp(last, "0x", 2) != 0) return 0;
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(last + 2, &end, 16);
    if (errno != 0 || end == last + 2 || !(*end == '\0' || IsBlank(*end))) return 0;
    return value;
}

std::uint64_t ReadThreadInstructionAddress(pid_t tid) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/self/task/%d/syscall", static_cast<int>(tid));
    const int file = open(path, O_RDONLY | O_CLOEXEC);
    if (file == -1) return 0;
    char text[256];
    ssize_t length = 0;
    while ((length = read(file, text, sizeof text - 1)) == -1 && errno == EINTR) {
    }
    close(file);
    if (length <= 0) return 0;
    text[length] = '\0';
    return InstructionAddressFromSyscallText(text);
}

}  // namespace zema
