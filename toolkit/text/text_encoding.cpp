#include "toolkit/text/text_encoding.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <memory>

#include "toolkit/text/iconv_handle.h"

namespace {

constexpr std::array<std::string_view, text_encoding_count> names{"Shift-JIS", "ASCII",    "UTF-8",
                                                                  "UTF-16LE",  "UTF-16BE", "ISO-8859-1"};

// iconv's names of the encodings, Shift-JIS as CP932 like the program's own texts.
constexpr std::array<const char*, text_encoding_count> iconv_names{"CP932",    "ASCII",    "UTF-8",
                                                                   "UTF-16LE", "UTF-16BE", "ISO-8859-1"};

// One descriptor per direction, encoding and thread, opened on first use: a report
// decodes a string per record, and opening costs far more than a short text.
class Descriptor {
public:
    Descriptor(const char* to, const char* from) : cd_(to, from) {}

    enum class Stop { done, incomplete, invalid };

    // Converts from `in`, appending to `out`, until the input ends or a sequence is
    // cut short or invalid; `in` is left at that sequence.
    Stop convert(std::string_view& in, std::string& out)
    {
        char chunk[1024];
        char* src = const_cast<char*>(in.data());  // iconv's signature; it does not write
        std::size_t left = in.size();
        Stop stop = Stop::done;
        while (left > 0) {
            char* dst = chunk;
            std::size_t room = sizeof chunk;
            const std::size_t r = iconv(cd_.get(), &src, &left, &dst, &room);
            out.append(chunk, static_cast<std::size_t>(dst - chunk));
            if (r != static_cast<std::size_t>(-1) || errno == E2BIG)
                continue;
            stop = errno == EINVAL ? Stop::incomplete : Stop::invalid;
            break;
        }
        in = std::string_view(src, left);
        iconv(cd_.get(), nullptr, nullptr, nullptr, nullptr);
        return stop;
    }

private:
    Iconv_handle cd_;
};

Descriptor& decoder_of(Text_encoding encoding)
{
    thread_local std::array<std::unique_ptr<Descriptor>, text_encoding_count> open;
    auto& slot = open[static_cast<std::size_t>(encoding)];
    if (!slot)
        slot = std::make_unique<Descriptor>("UTF-8", iconv_names[static_cast<std::size_t>(encoding)]);
    return *slot;
}

Descriptor& encoder_of(Text_encoding encoding)
{
    thread_local std::array<std::unique_ptr<Descriptor>, text_encoding_count> open;
    auto& slot = open[static_cast<std::size_t>(encoding)];
    if (!slot)
        slot = std::make_unique<Descriptor>(iconv_names[static_cast<std::size_t>(encoding)], "UTF-8");
    return *slot;
}

void append_stand_ins(std::string& utf8, std::string_view bytes)
{
    for (const char byte : bytes)
        append_stand_in(utf8, static_cast<std::uint8_t>(byte));
}

// The byte a stand-in at the start of `utf8` shows, if one is there.
std::optional<std::uint8_t> stand_in_at(std::string_view utf8)
{
    if (utf8.size() < 3 || static_cast<unsigned char>(utf8[0]) != 0xE2)
        return std::nullopt;
    const auto second = static_cast<unsigned char>(utf8[1]);
    if (second < 0xA0 || second > 0xA3)
        return std::nullopt;
    return static_cast<std::uint8_t>(((second & 0x03) << 6) | (static_cast<unsigned char>(utf8[2]) & 0x3F));
}

std::size_t utf8_length_at(std::string_view utf8)
{
    const auto lead = static_cast<unsigned char>(utf8[0]);
    const std::size_t n = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return std::min(n, utf8.size());
}

} // namespace

int code_unit_size(Text_encoding encoding)
{
    return encoding == Text_encoding::utf16le || encoding == Text_encoding::utf16be ? 2 : 1;
}

std::string_view encoding_name(Text_encoding encoding) { return names.at(static_cast<std::size_t>(encoding)); }

std::optional<Text_encoding> encoding_named(std::string_view name)
{
    const auto found = std::find(names.begin(), names.end(), name);
    if (found == names.end())
        return std::nullopt;
    return static_cast<Text_encoding>(found - names.begin());
}

std::optional<Text_encoding> encoding_of_code(unsigned code)
{
    if (code >= static_cast<unsigned>(text_encoding_count))
        return std::nullopt;
    return static_cast<Text_encoding>(code);
}

void append_stand_in(std::string& utf8, std::uint8_t byte)
{
    utf8 += static_cast<char>(0xE2);
    utf8 += static_cast<char>(0xA0 | (byte >> 6));
    utf8 += static_cast<char>(0x80 | (byte & 0x3F));
}

Text_decoder::Text_decoder(Text_encoding encoding) : encoding_(encoding) {}

void Text_decoder::decode(std::string_view bytes, std::string& utf8)
{
    std::string joined;
    if (!pending_.empty()) {
        joined = std::move(pending_) + std::string(bytes);
        pending_.clear();
        bytes = joined;
    }
    Descriptor& descriptor = decoder_of(encoding_);
    const auto unit = static_cast<std::size_t>(code_unit_size(encoding_));
    while (!bytes.empty()) {
        switch (descriptor.convert(bytes, utf8)) {
        case Descriptor::Stop::done:
            return;
        case Descriptor::Stop::incomplete:
            pending_ = std::string(bytes);
            return;
        case Descriptor::Stop::invalid: {
            // A whole code unit: UTF-16 stays in step with its pairs of bytes.
            const std::size_t n = std::min(unit, bytes.size());
            append_stand_ins(utf8, bytes.substr(0, n));
            bytes.remove_prefix(n);
            break;
        }
        }
    }
}

void Text_decoder::finish(std::string& utf8)
{
    append_stand_ins(utf8, pending_);
    pending_.clear();
}

std::string decode_text(std::string_view bytes, Text_encoding encoding)
{
    std::string utf8;
    Text_decoder decoder(encoding);
    decoder.decode(bytes, utf8);
    decoder.finish(utf8);
    return utf8;
}

std::optional<std::string> encode_text(std::string_view utf8, Text_encoding encoding)
{
    std::string bytes;
    Descriptor& descriptor = encoder_of(encoding);
    while (!utf8.empty()) {
        if (const std::optional<std::uint8_t> byte = stand_in_at(utf8)) {
            bytes += static_cast<char>(*byte);
            utf8.remove_prefix(3);
            continue;
        }
        std::size_t run = 0;
        while (run < utf8.size() && !stand_in_at(utf8.substr(run)))
            run += utf8_length_at(utf8.substr(run));
        std::string_view piece = utf8.substr(0, run);
        if (descriptor.convert(piece, bytes) != Descriptor::Stop::done)
            return std::nullopt;
        utf8.remove_prefix(run);
    }
    return bytes;
}

Bcl_str shift_jis_with_replacement(std::string_view utf8)
{
    std::string sjis;
    Descriptor& descriptor = encoder_of(Text_encoding::shift_jis);
    while (!utf8.empty()) {
        if (descriptor.convert(utf8, sjis) == Descriptor::Stop::done)
            break;
        sjis += sjis_replacement;
        utf8.remove_prefix(utf8_length_at(utf8));
    }
    return Bcl_str(std::move(sjis));
}
