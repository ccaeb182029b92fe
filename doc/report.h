#pragma once

#include "toolkit/bcl_str.h"
#include "toolkit/bcl_textfile.h"

// Writes the analysis of the data file at `data_path` by the document's definition
// to `output_path`, one line per value, reading the data as it goes and writing
// each line at once: files of any size stream through without being held in
// memory. This is Data_mgr::analyze_to_text with a choice of encoding: Shift-JIS
// with carriage return + line feed (the program's own), or UTF-8 with line feeds
// for the command line.
//
// Throws File_open_err_exception (data file first: the output is not created when
// the data cannot be read), File_read_err_exception, and File_write_err_exception
// when the report could not be written completely; the output path then keeps what
// it held before. Running out of data is not a failure: the report ends with the
// data-shortage line.
void write_report(const Bcl_str& data_path, const Bcl_str& output_path,
                  Bcl_textfile::Encoding encoding = Bcl_textfile::Encoding::shift_jis_crlf);
