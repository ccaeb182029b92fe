#pragma once

#include "toolkit/bcl_str.h"

// Failures of files and formats. The user sees the path immediately followed by
// message(). Running out of data during analysis is not one of these: see
// Data_shortage.
class Exception {
public:
    explicit Exception(Bcl_str path) : path_(std::move(path)) {}
    virtual ~Exception() = default;

    [[nodiscard]] const Bcl_str& path() const { return path_; }
    [[nodiscard]] virtual Bcl_str message() const = 0;
    // The path followed by the message, as shown to the user.
    [[nodiscard]] Bcl_str full_text() const { return path_ + message(); }

private:
    Bcl_str path_;
};

// A file's size cannot be obtained, or it cannot be opened.
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
    Ver_exception(Bcl_str path, int required_version) : Exception(std::move(path)), version_(required_version) {}
    [[nodiscard]] int required_version() const { return version_; }
    [[nodiscard]] Bcl_str message() const override;

private:
    int version_;
};

// Writing a file failed after it was opened (full disk, I/O error). The previous
// file at the path is left untouched.
class File_write_err_exception : public Exception {
public:
    using Exception::Exception;
    [[nodiscard]] Bcl_str message() const override;
};

// Reading a file failed part-way (I/O error); nothing of it was taken.
class File_read_err_exception : public Exception {
public:
    using Exception::Exception;
    [[nodiscard]] Bcl_str message() const override;
};

// A data file larger than the document can address (4 GiB − 1 bytes).
class File_too_large_exception : public Exception {
public:
    using Exception::Exception;
    [[nodiscard]] Bcl_str message() const override;
};

// A definition holds a string or a list too long for the definition file's fields;
// refused before anything is written.
class Unstorable_exception : public Exception {
public:
    using Exception::Exception;
    [[nodiscard]] Bcl_str message() const override;
};

// The data-shortage signal: raised by an item that needs a byte that does not
// exist, or that reaches the stop byte of a replay. Carries no text.
struct Data_shortage {};
