#pragma once

#include <iconv.h>

#include <string>

#include "toolkit/exception.h"

// An open iconv descriptor, closed with its owner.
class Iconv_handle {
public:
    Iconv_handle(const char* to, const char* from) : cd_(iconv_open(to, from))
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw Fault_exception(std::string("iconv cannot convert ") + from + " to " + to);
    }
    ~Iconv_handle() { iconv_close(cd_); }
    Iconv_handle(const Iconv_handle&) = delete;
    Iconv_handle& operator=(const Iconv_handle&) = delete;

    [[nodiscard]] iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};
