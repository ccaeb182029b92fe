#include "ui/core/byte_readings.h"

#include <bit>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>

#include "toolkit/text/bcl_str.h"
#include "ui/core/dump_lines.h"

namespace {

constexpr std::string_view not_a_character = "不正";

std::optional<std::uint64_t> read_unsigned(std::span<const std::uint8_t> bytes, std::size_t width, bool little)
{
    if (bytes.size() < width)
        return std::nullopt;
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
        value = value << 8 | bytes[little ? width - 1 - i : i];
    return value;
}

std::string unsigned_text(std::span<const std::uint8_t> bytes, std::size_t width, bool little)
{
    const auto value = read_unsigned(bytes, width, little);
    return value ? std::to_string(*value) : std::string();
}

std::string signed_text(std::span<const std::uint8_t> bytes, std::size_t width, bool little)
{
    const auto value = read_unsigned(bytes, width, little);
    if (!value)
        return {};
    // Sign-extend from the value's width.
    const unsigned shift = static_cast<unsigned>(64 - width * 8);
    return std::to_string(static_cast<std::int64_t>(*value << shift) >> shift);
}

template <typename Float>
std::string float_text(Float value)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "+∞" : "−∞";
    // The shortest text that reads back as the same value.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return {buffer, result.ptr};
}

std::string float_text(std::span<const std::uint8_t> bytes, std::size_t width, bool little)
{
    const auto value = read_unsigned(bytes, width, little);
    if (!value)
        return {};
    if (width == 4)
        return float_text(std::bit_cast<float>(static_cast<std::uint32_t>(*value)));
    return float_text(std::bit_cast<double>(*value));
}

std::string code_point_text(char32_t c)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
    return buffer;
}

void append_utf8(std::string& text, char32_t c)
{
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | c >> 6);
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text += static_cast<char>(0xE0 | c >> 12);
        text += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | c >> 18);
        text += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        text += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// "あ (U+3042)"; a control character alone as its code point, so that no cell
// holds a line break or an escape.
std::string character_text(char32_t c)
{
    if (c < 0x20 || (c >= 0x7F && c < 0xA0))
        return code_point_text(c);
    std::string text;
    append_utf8(text, c);
    text += " (";
    text += code_point_text(c);
    text += ')';
    return text;
}

std::string sjis_text(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty())
        return {};
    if (!is_sjis_lead(bytes[0]))
        return single_byte_text(bytes[0]);
    return bytes.size() < 2 ? std::string() : double_byte_text(bytes[0], bytes[1]);
}

std::string utf8_text(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty())
        return {};
    const std::uint8_t lead = bytes[0];
    std::size_t length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (lead < 0x80)
        return character_text(lead);
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, c = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, c = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, c = lead & 0x07, minimum = 0x10000;
    } else {
        return std::string(not_a_character);
    }
    // A continuation byte that is wrong says so before the end of the data does.
    for (std::size_t i = 1; i < length; ++i) {
        if (i >= bytes.size())
            return {};
        if ((bytes[i] & 0xC0) != 0x80)
            return std::string(not_a_character);
        c = c << 6 | (bytes[i] & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return std::string(not_a_character);
    return character_text(c);
}

std::string utf16_text(std::span<const std::uint8_t> bytes, bool little)
{
    const auto first = read_unsigned(bytes, 2, little);
    if (!first)
        return {};
    if (*first >= 0xDC00 && *first <= 0xDFFF)
        return std::string(not_a_character);
    if (*first < 0xD800 || *first > 0xDBFF)
        return character_text(static_cast<char32_t>(*first));
    const auto second = read_unsigned(bytes.subspan(2), 2, little);
    if (!second)
        return {};
    if (*second < 0xDC00 || *second > 0xDFFF)
        return std::string(not_a_character);
    return character_text(static_cast<char32_t>(0x10000 + ((*first - 0xD800) << 10) + (*second - 0xDC00)));
}

std::string date_text(const std::chrono::year_month_day& date)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return buffer;
}

std::string time_text(long hours, long minutes, long seconds)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02ld:%02ld:%02ld", hours, minutes, seconds);
    return buffer;
}

// A signed 32-bit count of seconds since 1970-01-01 00:00:00 UTC.
std::string unix_time_text(std::span<const std::uint8_t> bytes, bool little)
{
    const auto value = read_unsigned(bytes, 4, little);
    if (!value)
        return {};
    const auto seconds = static_cast<std::int64_t>(static_cast<std::int32_t>(static_cast<std::uint32_t>(*value)));
    const auto days = std::chrono::floor<std::chrono::days>(std::chrono::sys_seconds(std::chrono::seconds(seconds)));
    const long in_day = static_cast<long>(seconds - std::chrono::sys_seconds(days).time_since_epoch().count());
    std::string text = date_text(std::chrono::year_month_day(days));
    text += ' ';
    text += time_text(in_day / 3600, in_day / 60 % 60, in_day % 60);
    return text;
}

std::string dos_time_text(std::span<const std::uint8_t> bytes)
{
    const auto time = read_unsigned(bytes, 2, true);
    const auto date = read_unsigned(bytes.subspan(std::min<std::size_t>(2, bytes.size())), 2, true);
    if (!time || !date)
        return {};
    std::string text;
    const std::chrono::year_month_day day{std::chrono::year(1980 + static_cast<int>(*date >> 9)),
                                          std::chrono::month(static_cast<unsigned>(*date >> 5 & 0x0F)),
                                          std::chrono::day(static_cast<unsigned>(*date & 0x1F))};
    if (day.ok())
        text = date_text(day);
    const long hours = static_cast<long>(*time >> 11);
    const long minutes = static_cast<long>(*time >> 5 & 0x3F);
    const long seconds = static_cast<long>(*time & 0x1F) * 2;
    if (hours < 24 && minutes < 60 && seconds < 60) {
        if (!text.empty())
            text += ' ';
        text += time_text(hours, minutes, seconds);
    }
    return text;
}

} // namespace

std::vector<Byte_reading> byte_readings(std::span<const std::uint8_t> bytes)
{
    bytes = bytes.first(std::min(bytes.size(), inspector_bytes));
    std::vector<Byte_reading> rows;
    const auto both = [&rows](std::string label, auto read) {
        rows.push_back({std::move(label), read(true), read(false)});
    };
    for (const std::size_t width : {1, 2, 4, 8}) {
        const std::string bits = std::to_string(width * 8).append("ビット");
        both(std::string(bits).append("符号付き"), [&](bool little) { return signed_text(bytes, width, little); });
        both(std::string(bits).append("符号なし"), [&](bool little) { return unsigned_text(bytes, width, little); });
    }
    both("32ビット浮動小数点", [&](bool little) { return float_text(bytes, 4, little); });
    both("64ビット浮動小数点", [&](bool little) { return float_text(bytes, 8, little); });
    both("Shift-JIS文字", [&](bool) { return sjis_text(bytes); });
    both("UTF-8文字", [&](bool) { return utf8_text(bytes); });
    both("UTF-16文字", [&](bool little) { return utf16_text(bytes, little); });
    both("UNIX時刻", [&](bool little) { return unix_time_text(bytes, little); });
    rows.push_back({"DOS日時", dos_time_text(bytes), {}});
    return rows;
}
