#pragma once

#include "toolkit/files/bcl_textfile.h"
#include "toolkit/files/file_path.h"

class Data_mgr;

// Writes the analysis of the data file at `data_path` by `document`'s definition
// to `output_path`, one line per value, reading the data as it goes and writing
// each line at once: files of any size stream through without being held in
// memory. This is Data_mgr::analyze_to_text with a choice of encoding: Shift-JIS
// with carriage return + line feed (the program's own), or UTF-8 with line feeds
// for the command line.
//
// Throws File_open_err_exception (data file first: the output is not created when
// the data cannot be read), Same_file_exception when the output is the data file or
// the document's definition file, File_read_err_exception, and, at the first write
// that fails, File_write_err_exception or its kin (see File_writer); the output
// path then keeps what it held before. Running out of data is not a failure: the
// report ends with the data-shortage line. A stop throws Operation_stopped between
// two items, iterations or blocks of undefined bytes; the output path, too, keeps
// what it held, and the unfinished file is removed.
void write_report(Data_mgr& document, const File_path& data_path, const File_path& output_path,
                  Bcl_textfile::Encoding encoding = Bcl_textfile::Encoding::shift_jis_crlf);

// The same report written to standard output as it stands (the command line's "-");
// `output_name` is the name messages show for it.
void write_report_to_standard_output(Data_mgr& document, const File_path& data_path, const File_path& output_name,
                                     Bcl_textfile::Encoding encoding);
