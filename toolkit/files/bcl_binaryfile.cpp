#include "toolkit/files/bcl_binaryfile.h"

#include <algorithm>

void Bcl_binaryfile::open_read(const File_path& path)
{
    reader_.open(path);
    path_ = path;
}

void Bcl_binaryfile::open_write(const File_path& path)
{
    writer_.open(path);
    path_ = path;
}

void Bcl_binaryfile::close()
{
    reader_.close();
    writer_.commit();
}

bool Bcl_binaryfile::read_uint(int width, std::uint32_t& value)
{
    value = 0;
    for (int i = 0; i < width; ++i) {
        std::uint8_t byte;
        if (!reader_.get(byte))
            return false;
        value = (value << 8) | byte;
    }
    return true;
}

bool Bcl_binaryfile::read_str(int width, Bcl_str& text)
{
    std::uint32_t length;
    text = Bcl_str();
    if (!read_uint(width, length))
        return false;
    std::string bytes;
    constexpr std::size_t chunk = 1 << 16;
    while (bytes.size() < length) {
        const std::size_t want = std::min<std::size_t>(chunk, length - bytes.size());
        const std::size_t old = bytes.size();
        bytes.resize(old + want);
        const std::size_t got = reader_.read(bytes.data() + old, want);
        bytes.resize(old + got);
        if (got < want) {
            text = Bcl_str(std::move(bytes));
            return false;
        }
    }
    text = Bcl_str(std::move(bytes));
    return true;
}

void Bcl_binaryfile::write_uint(int width, std::uint32_t value)
{
    for (int i = width - 1; i >= 0; --i)
        writer_.put(static_cast<std::uint8_t>(value >> (8 * i)));
}

void Bcl_binaryfile::write_str(int width, const Bcl_str& text)
{
    write_uint(width, static_cast<std::uint32_t>(text.size()));
    writer_.write(text.data(), text.size());
}
