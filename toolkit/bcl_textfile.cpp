#include "toolkit/bcl_textfile.h"

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

void Bcl_textfile::write_line(std::string_view sjis_line)
{
    // ASCII is the same in Shift-JIS and UTF-8: only other text needs converting.
    if (encoding_ == Encoding::utf8_lf && !is_ascii(sjis_line)) {
        const std::string utf8 = Bcl_str(sjis_line).to_utf8();
        writer_.write(utf8.data(), utf8.size());
    } else {
        writer_.write(sjis_line.data(), sjis_line.size());
    }
    const std::string_view end = line_end();
    writer_.write(end.data(), end.size());
}
