// The session file reader on arbitrary bytes: it either rejects them with its read error or builds
// a session, and every session it builds saves to a text that it reads again. After the first
// save the text no longer changes (the first may still fill in constructor values such as the
// "Unknown" name of a device whose name was empty).

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "quillmark/core/ObjectReader.h"
#include "quillmark/core/SessionText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const qm::TSettableClock clock(1700000000);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<qm::TSessionState> state;
    try {
        state = qm::ReadSessionText(text, clock);
    } catch (const qm::TObjectReadError&) {
        return 0;
    }
    const std::string first = qm::WriteSessionText(*state);
    const std::string second = qm::WriteSessionText(*qm::ReadSessionText(first, clock));
    const std::string third = qm::WriteSessionText(*qm::ReadSessionText(second, clock));
    if (second != third) std::abort();
    return 0;
}
