#pragma once

// The benchmarks' layout: one For loop (or a While loop) of records {2-byte integer, 4-byte integer
// with two bit flags bound to variables, string with a 1-byte length prefix of 0 to
// 2 bytes}, about 8 bytes a record.
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "document/data_mgr.h"
#include "model/items.h"

namespace records_layout {

inline Bcl_str text(const char* s) { return Bcl_str(s); }

// Writes the records; returns the file size.
inline std::size_t write_records(const std::string& path, std::size_t records)
{
    std::string bytes;
    bytes.reserve(records * 8);
    for (std::size_t i = 0; i < records; ++i) {
        bytes += static_cast<char>(i >> 8);
        bytes += static_cast<char>(i);
        for (int b = 3; b >= 0; --b)
            bytes += static_cast<char>((i * 2654435761u) >> (8 * b));
        const std::size_t length = i % 3;
        bytes += static_cast<char>(length);
        bytes.append(length, 'a');
    }
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes.size();
}

// The record's items, added to `loop`.
inline void add_record_items(Def_container* loop)
{
    loop->insert_child(std::make_unique<Def_int>(text("a"), false, 2, Def_int::decimal, Bcl_str()), nullptr);
    auto* b = new Def_int(text("b"), false, 4, Def_int::hexadecimal, Bcl_str());
    b->add_bit_flag(std::make_unique<Def_bitflag>(text("low"), 4, text("x")));
    b->add_bit_flag(std::make_unique<Def_bitflag>(text("high"), 12, text("y")));
    loop->insert_child(std::unique_ptr<Define>(b), nullptr);
    loop->insert_child(std::make_unique<Def_flex_str>(text("s"), 1), nullptr);
}

inline void define_records(Data_mgr& doc, std::size_t records)
{
    auto* loop = new Def_for(text("records"), Bcl_str(std::to_string(records)));
    add_record_items(loop);
    doc.insert_item(std::unique_ptr<Define>(loop), nullptr);
}

// Writes the records to `path`, loads them (the file is removed after) and defines
// them, not analysed yet; returns the data size.
inline std::size_t load_records(Data_mgr& doc, const std::string& path, std::size_t records)
{
    const std::size_t size = write_records(path, records);
    doc.load_data(File_path(path));
    std::remove(path.c_str());
    define_records(doc, records);
    return size;
}

// The same records as a While loop that counts them in a variable.
inline void define_while_records(Data_mgr& doc, std::size_t records)
{
    doc.insert_item(std::make_unique<Def_set_variable>(text("n"), text("0")), nullptr);
    auto* loop = new Def_while(text("records"), Bcl_str("n < " + std::to_string(records)));
    add_record_items(loop);
    loop->insert_child(std::make_unique<Def_set_variable>(text("n"), text("n + 1")), nullptr);
    doc.insert_item(std::unique_ptr<Define>(loop), nullptr);
}

} // namespace records_layout
