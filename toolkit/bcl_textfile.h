#pragma once

#include <string>
#include <string_view>

#include "toolkit/bcl_str.h"
#include "toolkit/file_path.h"
#include "toolkit/file_writer.h"

// A text file written one line at a time. Lines are Shift-JIS bytes; on disk each is
// followed by carriage return and line feed. The UTF-8 mode (for Linux tools)
// converts every line to UTF-8 and ends it with a plain line feed instead.
// The written lines take the target's place on close(); see File_writer.
class Bcl_textfile {
public:
    enum class Encoding { shift_jis_crlf, utf8_lf };

    // Throws File_open_err_exception.
    void open_write(const File_path& path, Encoding encoding = Encoding::shift_jis_crlf);
    // Writes to standard output as it stands; `name` is the path messages show.
    void open_standard_output(const File_path& name, Encoding encoding = Encoding::shift_jis_crlf);
    // Throws as File_writer::commit() does.
    void close();
    // Drops what was written; the target stays as it was.
    void abandon() { writer_.abandon(); }

    // Throws as File_writer::put() does, at the first write that fails.
    void write_line(std::string_view sjis_line);
    // Writes `lines` as they stand: lines of ASCII characters (the same bytes in
    // both encodings), each already ended with line_end(). For writers that build
    // many lines at once.
    void write_ascii_lines(std::string_view lines) { writer_.write(lines.data(), lines.size()); }
    // What ends a line on disk: CR LF, or LF in the UTF-8 mode.
    [[nodiscard]] std::string_view line_end() const { return encoding_ == Encoding::utf8_lf ? "\n" : "\r\n"; }

    // Where a writer may build its next line: kept from line to line, so that
    // building lines allocates nothing once it has grown to the longest one.
    [[nodiscard]] std::string& line_buffer() { return line_buffer_; }

private:
    File_writer writer_;
    std::string line_buffer_;
    Encoding encoding_ = Encoding::shift_jis_crlf;
};
