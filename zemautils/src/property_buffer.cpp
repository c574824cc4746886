// The property buffer: a count byte, then each property as its big-endian tag and its value in the
// form of its type. Buffers come from other components and the network, so the reader checks
// every length against the bytes that remain before it touches them, and the writer checks every
// property against the capacity before it writes it.

#include <zemautils/netcodec.h>
#include <zemautils/property.h>
#include <zemautils/trace.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "allocation.h"
#include "property_value_internal.h"
#include "service_trace.h"

namespace {

constexpr std::size_t kTagSize = 4;
constexpr std::size_t kLengthSize = 4;

// How a value type stands in a buffer.
enum class BufferForm { kNone, kWord, kSignedByte, kHalfWord, kText, kBlock };

BufferForm FormOf(uint32_t tag) {
    const uint32_t type = PROP_TYPE(tag);
    if (type >= PT_ROGUE && type <= PT_EAP_TYPE) return BufferForm::kWord;
    switch (type) {
        case PT_I2:
        case PT_LONG:
        case PT_ERROR:
            return BufferForm::kWord;
        case PT_FLOAT:
            return BufferForm::kSignedByte;
        case PT_BOOLEAN:
            return BufferForm::kHalfWord;
        case PT_STRING8:
            return BufferForm::kText;
        case PT_BINARY:
            return BufferForm::kBlock;
        default:
            return BufferForm::kNone;
    }
}

// ---- Writing ----

// A float travels as one byte: the low 8 bits of the value truncated toward zero to a 32-bit
// integer, so 200.0 travels as 0xC8 and -75.6 as 0xB5. Where that truncation is undefined (NaN,
// magnitudes of 2^31 and more) the byte is 0, the low byte of the x86 conversion's out-of-range
// result 0x80000000, which is what peers built on that conversion send.
uint8_t FloatToWireByte(float value) {
    constexpr float kTwoToThe31 = 2147483648.0f;
    if (!(std::fabs(value) < kTwoToThe31)) return 0;
    return static_cast<uint8_t>(static_cast<uint32_t>(static_cast<int32_t>(value)));
}

const char* TextOf(const _PV& value) {
    return value.lpszA != nullptr ? value.lpszA : "";
}

std::size_t EncodedValueSize(BufferForm form, const _PV& value) {
    switch (form) {
        case BufferForm::kWord:
            return 4;
        case BufferForm::kSignedByte:
            return 1;
        case BufferForm::kHalfWord:
            return 2;
        case BufferForm::kText:
            return kLengthSize + std::strlen(TextOf(value)) + 1;
        case BufferForm::kBlock:
            return kLengthSize + value.bin.cb;
        case BufferForm::kNone:
            break;
    }
    return 0;
}

void WriteValue(uint8_t** cursor, BufferForm form, const _PV& value) {
    switch (form) {
        case BufferForm::kWord:
            NetWrite32(cursor, value.ul);
            break;
        case BufferForm::kSignedByte:
            NetWrite8(cursor, FloatToWireByte(value.flt));
            break;
        case BufferForm::kHalfWord:
            NetWrite16(cursor, static_cast<uint16_t>(value.ul));
            break;
        case BufferForm::kText:
            NetWrite32(cursor, static_cast<uint32_t>(std::strlen(TextOf(value)) + 1));
            NetWriteStr(cursor, TextOf(value), 1);
            break;
        case BufferForm::kBlock:
            NetWrite32(cursor, value.bin.cb);
            NetWriteMem(cursor, value.bin.lpb, value.bin.cb);
            break;
        case BufferForm::kNone:
            break;
    }
}

struct Writer {
    uint8_t* start;
    uint8_t* cursor;
    std::size_t capacity;

    std::size_t Room() const { return capacity - static_cast<std::size_t>(cursor - start); }
};

// Writes one property if it fits; false when it does not, and nothing is written then.
bool WriteProperty(Writer& writer, const SPropValue& property, BufferForm form) {
    const _PV value = property.GetValue();
    if (kTagSize + EncodedValueSize(form, value) > writer.Room()) return false;
    NetWrite32(&writer.cursor, property.GetTag());
    WriteValue(&writer.cursor, form, value);
    return true;
}

void TraceSkipped(uint32_t tag) {
    zema::TraceServiceLine(TRACE_MODULE_ENGINE, 5, "OutputToBuffer", __LINE__,
                           "Unkonwn property type with property tag: %#010x, the property will be ignored",
                           tag);
}

void TraceOverflow() {
    zema::TraceServiceLine(TRACE_MODULE_ENGINE, 1, "OutputToBuffer", __LINE__, "oops, buffer overflows !");
}

void TraceTooMany(uint32_t count) {
    zema::TraceServiceLine(TRACE_MODULE_ENGINE, 1, "OutputToBuffer", __LINE__,
                           "too many properties for one buffer: %u, only the first %d written", count,
                           PROP_BUFFER_MAX_PROPERTIES);
}

// Writes the properties after the count byte; returns how many were written.
uint32_t WriteProperties(Writer& writer, uint32_t count, const SPropValue* properties) {
    uint32_t written = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const BufferForm form = FormOf(properties[i].GetTag());
        if (form == BufferForm::kNone) {
            TraceSkipped(properties[i].GetTag());
            continue;
        }
        if (written == PROP_BUFFER_MAX_PROPERTIES) {
            TraceTooMany(count);
            break;
        }
        if (!WriteProperty(writer, properties[i], form)) {
            TraceOverflow();
            break;
        }
        ++written;
    }
    return written;
}

// ---- Reading ----

// The codec's cursor type serves reads and writes alike; the reader only ever reads through it.
struct Reader {
    uint8_t* cursor;
    const uint8_t* end;

    std::size_t Remaining() const { return static_cast<std::size_t>(end - cursor); }
};

// A terminated copy of a text that the buffer holds without its zero byte, its block reused from
// text to text.
class SpareText {
public:
    SpareText() = default;
    SpareText(const SpareText&) = delete;
    SpareText& operator=(const SpareText&) = delete;
    ~SpareText() { std::free(text_); }

    // The copy, or nullptr when memory is short.
    const char* Assign(const uint8_t* bytes, std::size_t length) {
        if (length >= capacity_) {
            std::free(text_);
            text_ = static_cast<char*>(zema::Allocate(length + 1));
            capacity_ = text_ != nullptr ? length + 1 : 0;
            if (text_ == nullptr) return nullptr;
        }
        std::memcpy(text_, bytes, length);
        text_[length] = '\0';
        return text_;
    }

private:
    char* text_ = nullptr;
    std::size_t capacity_ = 0;
};

// Texts and blocks point into the buffer. A text without a zero byte within its length is
// completed in spare, so the property's copy of it never reads past the buffer; without memory
// for that, the property holds no text, as it does when its own copy finds no memory.
bool ReadText(Reader& reader, _PV& value, SpareText& spare) {
    const uint32_t length = NetRead32(&reader.cursor);
    if (length > reader.Remaining()) return false;
    if (std::memchr(reader.cursor, 0, length) != nullptr) {
        value.lpszA = reinterpret_cast<const char*>(reader.cursor);
    } else {
        value.lpszA = spare.Assign(reader.cursor, length);
    }
    reader.cursor += length;
    return true;
}

// A block points into the buffer; the property copies it.
bool ReadBlock(Reader& reader, _PV& value) {
    const uint32_t length = NetRead32(&reader.cursor);
    if (length > reader.Remaining()) return false;
    value.bin = SBinary{length, reader.cursor};
    reader.cursor += length;
    return true;
}

// Reads a value of a bufferable form; false when the buffer ends before the value does.
bool ReadValue(Reader& reader, BufferForm form, _PV& value, SpareText& spare) {
    value = zema::ZeroPropertyValue();
    switch (form) {
        case BufferForm::kWord:
            if (reader.Remaining() < 4) return false;
            value.ul = NetRead32(&reader.cursor);
            return true;
        case BufferForm::kSignedByte:
            if (reader.Remaining() < 1) return false;
            value.flt = static_cast<int8_t>(NetRead8(&reader.cursor));
            return true;
        case BufferForm::kHalfWord:
            if (reader.Remaining() < 2) return false;
            value.ul = NetRead16(&reader.cursor);
            return true;
        case BufferForm::kText:
            return reader.Remaining() >= kLengthSize && ReadText(reader, value, spare);
        case BufferForm::kBlock:
            return reader.Remaining() >= kLengthSize && ReadBlock(reader, value);
        case BufferForm::kNone:
            break;
    }
    return false;
}

void TraceUnexpectedTag(uint32_t tag) {
    zema::TraceServiceLine(TRACE_MODULE_ENGINE, 1, "ParseToProperties", __LINE__,
                           "failed to parse due to unexpected property tag: %#010x", tag);
}

void TraceCutShort(std::size_t offset) {
    zema::TraceServiceLine(
        TRACE_MODULE_ENGINE, 1, "ParseToProperties", __LINE__,
        "failed to parse due to a property cut short by the end of the buffer at offset: %zu", offset);
}

void TraceCountMismatch(uint32_t expected, uint32_t read) {
    zema::TraceServiceLine(TRACE_MODULE_ENGINE, 1, "ParseToProperties", __LINE__,
                           "self contained property does not match the result: the number of expected "
                           "properties: %d, result: %d",
                           static_cast<int>(expected), static_cast<int>(read));
}

// Reads one property at the cursor into tag and value; false (traced) when the parse must end.
bool ReadProperty(Reader& reader, const uint8_t* start, uint32_t& tag, _PV& value, SpareText& spare) {
    const std::size_t offset = static_cast<std::size_t>(reader.cursor - start);
    if (reader.Remaining() < kTagSize) {
        TraceCutShort(offset);
        return false;
    }
    tag = NetRead32(&reader.cursor);
    const BufferForm form = FormOf(tag);
    if (form == BufferForm::kNone) {
        TraceUnexpectedTag(tag);
        return false;
    }
    if (!ReadValue(reader, form, value, spare)) {
        TraceCutShort(offset);
        return false;
    }
    return true;
}

// Reads properties up to the end of the buffer, storing the first count of them. Returns false
// when the parse ended early.
bool ReadProperties(Reader& reader, const uint8_t* start, uint32_t count, SPropValue* properties,
                    uint32_t& read) {
    SpareText spare;
    while (reader.cursor < reader.end) {
        uint32_t tag = 0;
        _PV value;
        if (!ReadProperty(reader, start, tag, value, spare)) return false;
        if (read < count) properties[read] = SPropValue(tag, value);
        ++read;
    }
    return true;
}

}  // namespace

extern "C" {

void OutputToBuffer(uint32_t count, const SPropValue* properties, uint32_t* size, uint8_t* buffer) {
    if (size == nullptr) return;
    if (buffer == nullptr || *size == 0) {
        TraceOverflow();
        *size = 0;
        return;
    }
    Writer writer{buffer, buffer, *size};
    NetWrite8(&writer.cursor, 0);
    const uint32_t written = properties == nullptr ? 0 : WriteProperties(writer, count, properties);
    buffer[0] = static_cast<uint8_t>(written);
    *size = static_cast<uint32_t>(writer.cursor - writer.start);
}

void ParseToProperties(uint32_t length, const uint8_t* buffer, uint32_t* count, SPropValue** properties) {
    if (count == nullptr || properties == nullptr) return;
    *count = 0;
    *properties = nullptr;
    if (buffer == nullptr || length == 0) {
        TraceCutShort(0);
        return;
    }
    Reader reader{const_cast<uint8_t*>(buffer), buffer + length};
    const uint32_t expected = NetRead8(&reader.cursor);
    SPropValue* array = new (std::nothrow) SPropValue[expected];
    if (array == nullptr) return;
    *count = expected;
    *properties = array;
    uint32_t read = 0;
    if (ReadProperties(reader, buffer, expected, array, read) && read != expected)
        TraceCountMismatch(expected, read);
}

}  // extern "C"
