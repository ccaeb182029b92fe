#pragma once

#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "toolkit/text/bcl_str.h"
#include "toolkit/files/file_path.h"
#include "toolkit/files/file_writer.h"

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

    // A line built in place, in the output's buffer, saves copying it: its bytes go
    // to the start of line_room(); line_room(placed, count) makes room for `count`
    // more after the `placed` ones already there (they stay at its start); and
    // end_line(room, length) writes the line of `length` bytes built at the start
    // of `room`, the last span line_room() gave for it (or an empty one when none
    // was asked for), as write_line() would. Nothing else may be written while a
    // line is built. The room also holds the line's end, which then goes in with
    // the line.
    [[nodiscard]] std::span<char> line_room(std::size_t placed, std::size_t count)
    {
        return writer_.place(placed, count + line_end_room);
    }
    void end_line(std::span<char> room, std::size_t length)
    {
        if (encoding_ != Encoding::shift_jis_crlf) {
            end_converted_line(length);
            return;
        }
        if (room.size() < length + line_end_room) {
            // Only for a line built without asking line_room() for its room.
            writer_.take(length);
            writer_.put('\r');
            writer_.put('\n');
            return;
        }
        std::memcpy(room.data() + length, "\r\n", line_end_room);  // one store
        writer_.take(length + line_end_room);
    }

    [[nodiscard]] bool utf8() const { return encoding_ == Encoding::utf8_lf; }
    // In the UTF-8 mode: ends the line built in `room` as end_line() does, with
    // `utf8_tail`, text that Shift-JIS may not hold, after its `length` bytes.
    void end_line_with_utf8(std::size_t length, std::string_view utf8_tail);

private:
    static constexpr std::size_t line_end_room = 2;

    // Converts a line that is not ASCII in the UTF-8 mode; false when it goes as it is.
    bool write_converted(std::string_view sjis_line);
    void write_line_end();
    void end_converted_line(std::size_t length);

    File_writer writer_;
    Encoding encoding_ = Encoding::shift_jis_crlf;
};
