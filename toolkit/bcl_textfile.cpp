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
    if (encoding_ == Encoding::utf8_lf) {
        const std::string utf8 = Bcl_str(sjis_line).to_utf8();
        writer_.write(utf8.data(), utf8.size());
        writer_.put('\n');
        return;
    }
    writer_.write(sjis_line.data(), sjis_line.size());
    writer_.put('\r');
    writer_.put('\n');
}
