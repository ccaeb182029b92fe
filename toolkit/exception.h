#pragma once

#include <string>

#include "toolkit/text/bcl_str.h"
#include "toolkit/files/file_path.h"

// Failures of files and formats. Each carries the path of the file concerned, exactly
// as the system gave it, and a message suffix in Shift-JIS like every text of the
// program. The user sees the path immediately followed by the message: display_text()
// is that text in UTF-8, for the command line and the window alike. Running out of
// data during analysis is not one of these: see Data_shortage.
class Exception {
public:
    explicit Exception(File_path path) : path_(std::move(path)) {}
    virtual ~Exception() = default;

    [[nodiscard]] const File_path& path() const { return path_; }
    // The message that follows the path ("は開けません。"), Shift-JIS.
    [[nodiscard]] virtual Bcl_str message() const = 0;
    // What the user is shown, UTF-8: the path as File_path::display() shows it (""
    // when it is empty, so the message never starts without its subject), then the
    // message.
    [[nodiscard]] virtual std::string display_text() const;

private:
    File_path path_;
};

// A file's size cannot be obtained, or it cannot be opened for reading or writing
// (this includes a file the user may not write, and a folder named as a file).
class File_open_err_exception : public Exception {
public:
    using Exception::Exception;
    [[nodiscard]] Bcl_str message() const override;
};

// The definition file's signature is missing or wrong.
class Data_kind_exception : public Exception {
public:
    using Exception::Exception;
    [[nodiscard]] Bcl_str message() const override;
};

// A definition file ends early or holds a value out of range.
class Data_err_exception : public Exception {
public:
    using Exception::Exception;
    [[nodiscard]] Bcl_str message() const override;
};

// The definition file's format is newer than this program reads.
class Ver_exception : public Exception {
public:
    Ver_exception(File_path path, int required_version) : Exception(std::move(path)), version_(required_version) {}
    [[nodiscard]] int required_version() const { return version_; }
    [[nodiscard]] Bcl_str message() const override;

private:
    int version_;
};

// Writing a file failed (full disk, file size limit, I/O error). The file at the path
// holds what it held before: the new contents were never put in its place, or were
// taken out again.
class File_write_err_exception : public Exception {
public:
    using Exception::Exception;
    [[nodiscard]] Bcl_str message() const override;
};

// Writing to something that is not a regular file (a pipe, a terminal, a device,
// standard output) failed; what was written before the failure cannot be taken back.
class Stream_write_err_exception : public Exception {
public:
    using Exception::Exception;
    [[nodiscard]] Bcl_str message() const override;
};

// Writing a file in place failed and its old contents could not be put back: they
// are kept in the file backup(), which display_text() names after the message.
class Restore_err_exception : public Exception {
public:
    Restore_err_exception(File_path path, File_path backup) : Exception(std::move(path)), backup_(std::move(backup)) {}
    [[nodiscard]] const File_path& backup() const { return backup_; }
    [[nodiscard]] Bcl_str message() const override;
    [[nodiscard]] std::string display_text() const override;

private:
    File_path backup_;
};

// Reading a file failed part-way (I/O error); nothing of it was taken.
class File_read_err_exception : public Exception {
public:
    using Exception::Exception;
    [[nodiscard]] Bcl_str message() const override;
};

// A data file larger than the document can address (4 GiB − 1 bytes), or than the
// memory left to this program can hold.
class File_too_large_exception : public Exception {
public:
    using Exception::Exception;
    [[nodiscard]] Bcl_str message() const override;
};

// Memory ran out while the file at the path was being worked on.
class Out_of_memory_exception : public Exception {
public:
    using Exception::Exception;
    [[nodiscard]] Bcl_str message() const override;
};

// Bytes added to the data of the path would make it longer than the document can
// address (4 GiB − 1 bytes); refused before anything changes.
class Data_too_long_exception : public Exception {
public:
    using Exception::Exception;
    [[nodiscard]] Bcl_str message() const override;
};

// The file to be written is a file being read (the same device and inode, however
// it is named): writing it would destroy the input while it is read.
class Same_file_exception : public Exception {
public:
    using Exception::Exception;
    [[nodiscard]] Bcl_str message() const override;
};

// A definition holds something the definition file's fields cannot (a string or a
// list too long, nesting too deep, a value out of range); refused before anything
// is written. `detail` names the place in the definition and the reason.
class Unstorable_exception : public Exception {
public:
    Unstorable_exception(File_path path, Bcl_str detail) : Exception(std::move(path)), detail_(std::move(detail)) {}
    [[nodiscard]] const Bcl_str& detail() const { return detail_; }
    [[nodiscard]] Bcl_str message() const override;

private:
    Bcl_str detail_;
};

// A failure that concerns no file and has no text of the program's own: a call that
// breaks an operation's rule (a fault of the caller; nothing was changed), or a
// conversion the C library cannot make. display_text() is the plain ASCII `what`
// alone, which shows even when no Shift-JIS text can be converted.
class Fault_exception : public Exception {
public:
    explicit Fault_exception(std::string what) : Exception(File_path()), what_(std::move(what)) {}
    [[nodiscard]] const std::string& what() const { return what_; }
    [[nodiscard]] Bcl_str message() const override { return Bcl_str(what_); }
    [[nodiscard]] std::string display_text() const override { return what_; }

private:
    std::string what_;
};

// The user stopped a long operation: thrown by Progress_reporter::stop_point() where
// the operation can be left cleanly. Carries no text and is no failure.
struct Operation_stopped {};

// The data-shortage signal: raised by an item that needs a byte that does not
// exist, or that reaches the stop byte of a replay. Carries no text.
struct Data_shortage {};
