#include "toolkit/files/bcl_textfile.h"

void Bcl_textfile::open_write(const File_path& path, Encoding encoding)
{
    writer_.open(path);
    encoding_ = encoding;
}

void Bcl_textfile::open_standard_output(const File_path& name, Encoding encoding)
{
    writer_.open_standard_output(name);
    encoding_ = encoding;
}

void Bcl_textfile::close() { writer_.commit(); }

bool Bcl_textfile::write_converted(std::string_view sjis_line)
{
    // ASCII is the same in Shift-JIS and UTF-8: only other text needs converting.
    if (encoding_ != Encoding::utf8_lf || is_ascii(sjis_line))
        return false;
    const std::string utf8 = Bcl_str(sjis_line).to_utf8();
    writer_.write(utf8.data(), utf8.size());
    return true;
}

void Bcl_textfile::write_line_end()
{
    for (const char c : line_end())
        writer_.put(static_cast<std::uint8_t>(c));
}

void Bcl_textfile::write_line(std::string_view sjis_line)
{
    if (!write_converted(sjis_line))
        writer_.write(sjis_line.data(), sjis_line.size());
    write_line_end();
}

void Bcl_textfile::end_converted_line(std::size_t length)
{
    // A converted line goes where the line was built, over it.
    if (!write_converted(std::string_view(writer_.room().data(), length)))
        writer_.take(length);
    write_line_end();
}

void Bcl_textfile::end_line_with_utf8(std::size_t length, std::string_view utf8_tail)
{
    if (!write_converted(std::string_view(writer_.room().data(), length)))
        writer_.take(length);
    writer_.write(utf8_tail.data(), utf8_tail.size());
    write_line_end();
}
