#include "toolkit/exception.h"

#include <cstdio>

#include "toolkit/text/texts.h"

std::string Exception::display_text() const
{
    const std::string name = path_.empty() ? std::string("\"\"") : path_.display();
    return name + message().to_utf8();
}

Bcl_str File_open_err_exception::message() const { return texts::cannot_open(); }
Bcl_str Data_kind_exception::message() const { return texts::not_definition(); }
Bcl_str Data_err_exception::message() const { return texts::data_corrupt(); }
Bcl_str File_write_err_exception::message() const { return texts::cannot_write(); }
Bcl_str Stream_write_err_exception::message() const { return texts::cannot_write_stream(); }
Bcl_str Restore_err_exception::message() const { return texts::cannot_restore(); }
Bcl_str File_read_err_exception::message() const { return texts::cannot_read(); }
Bcl_str File_too_large_exception::message() const { return texts::too_large(); }
Bcl_str Out_of_memory_exception::message() const { return texts::out_of_memory(); }
Bcl_str Data_too_long_exception::message() const { return texts::too_long_to_add(); }
Bcl_str Same_file_exception::message() const { return texts::same_as_input(); }
Bcl_str Unstorable_exception::message() const { return texts::cannot_store() + detail_; }

std::string Restore_err_exception::display_text() const
{
    return Exception::display_text() + "\n" + backup_.display();
}

Bcl_str Ver_exception::message() const
{
    char version[32];
    std::snprintf(version, sizeof version, "%d.%02d", version_ / 100, version_ % 100);
    return texts::version_head() + std::string_view(version) + texts::version_tail();
}
