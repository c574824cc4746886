#pragma once
// Trace points of the program, all under the "Bluetooth" module. A disabled point costs one load
// and one compare of the module's level; its arguments are not evaluated.
//
//   QM_TRACE("TDeviceList::LockList", 210, "Locking list (%d)", depth);
//   QM_TRACE_ENTER("QuerySDP");  ...  QM_TRACE_EXIT("QuerySDP");
//
// Texts from outside (device names, file contents) are passed as "%s" arguments, never as formats.

#include <zemautils/trace.h>

namespace qm::trace {

inline constexpr int kModule = TRACE_MODULE_BLUETOOTH;
inline constexpr int kEntryExitBit = 128;

inline int CurrentLevel() { return TraceModuleLevel(kModule); }
inline bool LevelOn(int level) { return CurrentLevel() >= level; }
inline bool EntryExitOn() { return (CurrentLevel() & kEntryExitBit) != 0; }

// Writes one level-L line: tag, "L<level> - ", the formatted text, and a line feed unless the
// text already ends in one.
void WriteLine(const char* function, int line, int level, const char* format, ...)
    __attribute__((format(printf, 4, 5)));

// Writes " ==>TRACING Enter ...\n" or " ==>TRACING Exit ...\n" after the tag.
void WriteEntry(const char* function, int line);
void WriteExit(const char* function, int line);

}  // namespace qm::trace

#define QM_TRACE(function, level, ...)                                                         \
    do {                                                                                      \
        if (::qm::trace::LevelOn(level)) ::qm::trace::WriteLine(function, __LINE__, level, __VA_ARGS__); \
    } while (0)

#define QM_TRACE_ENTER(function)                                                    \
    do {                                                                           \
        if (::qm::trace::EntryExitOn()) ::qm::trace::WriteEntry(function, __LINE__); \
    } while (0)

#define QM_TRACE_EXIT(function)                                                    \
    do {                                                                          \
        if (::qm::trace::EntryExitOn()) ::qm::trace::WriteExit(function, __LINE__); \
    } while (0)
