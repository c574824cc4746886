#include "IsoTime.h"

#include <cstdio>

namespace qm::cli {

namespace {

constexpr std::int64_t kMsPerSecond = 1000;
constexpr std::int64_t kMsPerMinute = 60 * kMsPerSecond;
constexpr std::int64_t kMsPerHour = 60 * kMsPerMinute;
constexpr std::int64_t kMsPerDay = 24 * kMsPerHour;
// Days from 0000-03-01, where the shifted calendar's years begin, to 1970-01-01.
constexpr std::int64_t kEpochDay = 719468;
constexpr std::int64_t kDaysPerEra = 146097;  // 400 Gregorian years

// The calendar counted from March, so that the leap day ends its year: month 0 is March.
std::int64_t ShiftedMonth(int month) {
    return month > 2 ? month - 3 : month + 9;
}

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
std::int64_t DaysFromDate(std::int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * ShiftedMonth(month) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * kDaysPerEra + dayOfEra - kEpochDay;
}

struct TDate {
    std::int64_t year;
    int month;
    int day;
};

TDate DateFromDays(std::int64_t days) {
    days += kEpochDay;
    const std::int64_t era = (days >= 0 ? days : days - (kDaysPerEra - 1)) / kDaysPerEra;
    const std::int64_t dayOfEra = days - era * kDaysPerEra;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

int DaysInMonth(std::int64_t year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

std::int64_t FloorDivide(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return value % divisor != 0 && value < 0 ? quotient - 1 : quotient;
}

// Reads the text from the front.
class TCursor {
public:
    explicit TCursor(std::string_view text) : FText(text) {}

    bool AtEnd() const { return FText.empty(); }

    // Consumes one of the characters when the text goes on with it.
    bool Take(std::string_view choices) {
        if (FText.empty() || choices.find(FText.front()) == std::string_view::npos) return false;
        FText.remove_prefix(1);
        return true;
    }

    // The next `count` characters as a number; none unless all of them are digits.
    std::optional<int> Digits(std::size_t count) {
        if (FText.size() < count) return std::nullopt;
        int value = 0;
        for (char c : FText.substr(0, count)) {
            if (c < '0' || c > '9') return std::nullopt;
            value = value * 10 + (c - '0');
        }
        FText.remove_prefix(count);
        return value;
    }

    // The milliseconds of a fraction of a second after its separator: one digit or more, those
    // after the third ignored.
    std::optional<int> FractionMs() {
        int ms = 0;
        std::size_t digits = 0;
        while (!FText.empty() && FText.front() >= '0' && FText.front() <= '9') {
            if (digits < 3) ms = ms * 10 + (FText.front() - '0');
            ++digits;
            FText.remove_prefix(1);
        }
        if (digits == 0) return std::nullopt;
        for (; digits < 3; ++digits) ms *= 10;
        return ms;
    }

private:
    std::string_view FText;
};

std::optional<std::int64_t> ParseDate(TCursor& cursor) {
    const auto year = cursor.Digits(4);
    if (!year || !cursor.Take("-")) return std::nullopt;
    const auto month = cursor.Digits(2);
    if (!month || *month < 1 || *month > 12 || !cursor.Take("-")) return std::nullopt;
    const auto day = cursor.Digits(2);
    if (!day || *day < 1 || *day > DaysInMonth(*year, *month)) return std::nullopt;
    return DaysFromDate(*year, *month, *day) * kMsPerDay;
}

// "HH:MM", "HH:MM:SS" or "HH:MM:SS.fff" as milliseconds into the day.
std::optional<std::int64_t> ParseClock(TCursor& cursor) {
    const auto hour = cursor.Digits(2);
    if (!hour || *hour > 23 || !cursor.Take(":")) return std::nullopt;
    const auto minute = cursor.Digits(2);
    if (!minute || *minute > 59) return std::nullopt;
    std::int64_t ms = *hour * kMsPerHour + *minute * kMsPerMinute;
    if (!cursor.Take(":")) return ms;
    const auto second = cursor.Digits(2);
    if (!second || *second > 59) return std::nullopt;
    ms += *second * kMsPerSecond;
    if (!cursor.Take(".,")) return ms;
    const auto fraction = cursor.FractionMs();
    return fraction ? std::optional(ms + *fraction) : std::nullopt;
}

// The zone's offset east of UTC in milliseconds: "Z", or "+HH:MM", "+HHMM", "+HH" (or with "-").
std::optional<std::int64_t> ParseZone(TCursor& cursor) {
    if (cursor.Take("Zz")) return 0;
    const bool east = cursor.Take("+");
    if (!east && !cursor.Take("-")) return std::nullopt;
    const auto hours = cursor.Digits(2);
    if (!hours || *hours > 23) return std::nullopt;
    std::optional<int> minutes = 0;
    if (cursor.Take(":") || !cursor.AtEnd()) minutes = cursor.Digits(2);
    if (!minutes || *minutes > 59) return std::nullopt;
    const std::int64_t offset = *hours * kMsPerHour + *minutes * kMsPerMinute;
    return east ? offset : -offset;
}

struct TMinute {
    long long year;
    int month;
    int day;
    int hour;
    int minute;
};

TMinute MinuteOf(std::int64_t ms) {
    const std::int64_t minute = FloorDivide(ms, kMsPerMinute);
    const std::int64_t days = FloorDivide(minute, 24 * 60);
    const auto minuteOfDay = static_cast<int>(minute - days * 24 * 60);
    const TDate date = DateFromDays(days);
    return {static_cast<long long>(date.year), date.month, date.day, minuteOfDay / 60, minuteOfDay % 60};
}

}  // namespace

std::optional<std::int64_t> ParseIsoTime(std::string_view text) {
    TCursor cursor(text);
    const auto day = ParseDate(cursor);
    if (!day || cursor.AtEnd()) return day;
    if (!cursor.Take("Tt")) return std::nullopt;
    const auto clock = ParseClock(cursor);
    if (!clock) return std::nullopt;
    const auto zone = ParseZone(cursor);
    if (!zone || !cursor.AtEnd()) return std::nullopt;
    return *day + *clock - *zone;
}

std::string IsoMinute(std::int64_t ms) {
    const TMinute m = MinuteOf(ms);
    char text[64];
    std::snprintf(text, sizeof text, "%04lld-%02d-%02dT%02d:%02d:00Z", m.year, m.month, m.day, m.hour,
                  m.minute);
    return text;
}

std::string ReadableMinute(std::int64_t ms) {
    const TMinute m = MinuteOf(ms);
    char text[64];
    std::snprintf(text, sizeof text, "%04lld-%02d-%02d %02d:%02d", m.year, m.month, m.day, m.hour, m.minute);
    return text;
}

}  // namespace qm::cli
