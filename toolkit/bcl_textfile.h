#pragma once

#include <string_view>

#include "toolkit/bcl_str.h"
#include "toolkit/file_io.h"

// A text file written one line at a time. Lines are Shift-JIS bytes; on disk each is
// followed by carriage return and line feed. The UTF-8 mode (for Linux tools)
// converts every line to UTF-8 and ends it with a plain line feed instead.
// The target is replaced atomically on close(); see File_writer.
class Bcl_textfile {
public:
    enum class Encoding { shift_jis_crlf, utf8_lf };

    // Throws File_open_err_exception.
    void open_write(const Bcl_str& path, Encoding encoding = Encoding::shift_jis_crlf);
    // Throws File_write_err_exception; the target is then unchanged.
    void close();
    // Drops what was written; the target stays as it was.
    void abandon() { writer_.abandon(); }

    void write_line(std::string_view sjis_line);

private:
    File_writer writer_;
    Encoding encoding_ = Encoding::shift_jis_crlf;
};
