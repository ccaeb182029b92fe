// The examples of real formats read their samples as other readers read them:
// readelf for the program, zipinfo for the archive, the bytes themselves for the
// model's floats. The tree comes from kestrix-cli's tree --json.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <iomanip>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

#include "cli_helpers.h"

using namespace cli_test;

namespace {

using json = nlohmann::json;

std::string example(const std::string& name) { return std::string(KESTRIX_SOURCE_DIR) + "/examples/" + name; }

json tree_of(const std::string& folder, const std::string& name, const std::string& sample)
{
    const Cli_run run = run_cli(folder, {"tree", "--json", "--depth", "5", example(name) + "/definition.kxd",
                                         example(name) + "/" + sample});
    EXPECT_EQ(run.status, 0) << run.err;
    return json::parse(run.out);
}

// The child of `node` named `name`; a failure and null when there is none.
const json& field(const json& node, const std::string& name)
{
    static const json none;
    for (const json& child : node["children"])
        if (child["name"] == name)
            return child;
    ADD_FAILURE() << "no " << name << " in " << node["name"];
    return none;
}

std::uint64_t number(const json& node, const std::string& name) { return field(node, name)["number"].get<std::uint64_t>(); }

std::uint64_t parse_number(const std::string& text)
{
    return std::stoull(text, nullptr, text.starts_with("0x") ? 16 : 10);
}

// What a tool prints, in the C locale unless told otherwise; the test is skipped
// where the tool is missing.
std::string tool_output(const std::string& folder, const std::string& command)
{
    const Cli_run run = run_shell(folder, command);
    return run.status == 0 ? run.out : std::string();
}

// The value after "label:" on the line that starts with it (after spaces).
std::string after_label(const std::string& text, const std::string& label)
{
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t start = line.find_first_not_of(' ');
        if (start == std::string::npos || line.compare(start, label.size(), label) != 0)
            continue;
        std::string value = line.substr(start + label.size());
        value.erase(0, value.find_first_not_of(' '));
        return value;
    }
    ADD_FAILURE() << "no " << label;
    return {};
}

TEST(Example_readers, TheElfHeaderAndProgramHeadersReadAsReadelfReadsThem)
{
    Temp_folder temp("readers");
    const std::string sample = example("elf64") + "/sample.elf";
    const std::string header = tool_output(temp.path(), "LC_ALL=C readelf -h -W " + quoted(sample));
    const std::string segments = tool_output(temp.path(), "LC_ALL=C readelf -l -W " + quoted(sample));
    if (header.empty() || segments.empty())
        GTEST_SKIP() << "readelf is not installed";

    const json root = tree_of(temp.path(), "elf64", "sample.elf");
    EXPECT_EQ(field(root, "e_type")["value"], "ET_" + after_label(header, "Type:").substr(0, 4));
    EXPECT_EQ(number(root, "e_machine"), 62u) << after_label(header, "Machine:");
    const std::map<std::string, std::string> numbers = {
        {"e_entry", "Entry point address:"},     {"e_flags", "Flags:"},
        {"e_phoff", "Start of program headers:"}, {"e_shoff", "Start of section headers:"},
        {"e_ehsize", "Size of this header:"},     {"e_phentsize", "Size of program headers:"},
        {"e_phnum", "Number of program headers:"}, {"e_shentsize", "Size of section headers:"},
        {"e_shnum", "Number of section headers:"}, {"e_shstrndx", "Section header string table index:"},
    };
    for (const auto& [name, label] : numbers)
        EXPECT_EQ(number(root, name), parse_number(after_label(header, label))) << name;
    EXPECT_TRUE(field(root, "e_ident")["value"].get<std::string>().starts_with("16 バイト: 7F 45 4C 46 02 01 01"));

    // Type Offset VirtAddr PhysAddr FileSiz MemSiz Flg(letters apart) Align
    const json& table = field(root, "プログラムヘッダ");
    std::istringstream lines(segments.substr(segments.find("Type ")));
    std::string line;
    std::getline(lines, line);
    std::size_t index = 0;
    while (std::getline(lines, line) && line.starts_with("  ") && !line.starts_with("   ")) {
        std::istringstream words(line);
        std::vector<std::string> word{std::istream_iterator<std::string>(words), {}};
        ASSERT_GE(word.size(), 7u) << line;
        ASSERT_LT(index, table["children"].size()) << line;
        const json& record = table["children"][index++];
        EXPECT_EQ(field(record, "p_type")["value"], "PT_" + word[0]);
        EXPECT_EQ(number(record, "p_offset"), parse_number(word[1]));
        EXPECT_EQ(number(record, "p_vaddr"), parse_number(word[2]));
        EXPECT_EQ(number(record, "p_paddr"), parse_number(word[3]));
        EXPECT_EQ(number(record, "p_filesz"), parse_number(word[4]));
        EXPECT_EQ(number(record, "p_memsz"), parse_number(word[5]));
        EXPECT_EQ(number(record, "p_align"), parse_number(word.back()));
        std::uint64_t flags = 0;
        for (std::size_t i = 6; i + 1 < word.size(); ++i)
            for (const char letter : word[i])
                flags |= letter == 'R' ? 4 : letter == 'W' ? 2 : letter == 'E' ? 1 : 0;
        EXPECT_EQ(number(record, "p_flags"), flags) << line;
    }
    EXPECT_EQ(index, number(root, "e_phnum"));
    EXPECT_EQ(table["children"].size(), index);
}

// 2026 Dec 10 09:31:04 from the DOS date and time words.
std::string dos_time_text(std::uint64_t date, std::uint64_t time)
{
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::ostringstream text;
    text << 1980 + (date >> 9) << ' ' << months[((date >> 5) & 15) - 1] << ' ' << std::setfill('0') << std::setw(2)
         << (date & 31) << ' ' << std::setw(2) << (time >> 11) << ':' << std::setw(2) << ((time >> 5) & 63) << ':'
         << std::setw(2) << (time & 31) * 2;
    return text.str();
}

TEST(Example_readers, TheZipEntriesReadAsZipinfoReadsThem)
{
    Temp_folder temp("readers");
    const std::string listing =
        tool_output(temp.path(), "LC_ALL=C.UTF-8 zipinfo -v " + quoted(example("zip") + "/sample.zip"));
    if (listing.empty())
        GTEST_SKIP() << "zipinfo is not installed";

    const json root = tree_of(temp.path(), "zip", "sample.zip");
    const json& entries = field(root, "ローカルファイルヘッダ")["children"];
    std::size_t count = 0;
    for (std::size_t at = listing.find("Central directory entry #"); at != std::string::npos;
         at = listing.find("Central directory entry #", at + 1), ++count) {
        const std::string entry = listing.substr(at, listing.find("Central directory entry #", at + 1) - at);
        ASSERT_LT(count, entries.size());
        const json& record = entries[count];
        SCOPED_TRACE(entry);
        // The name stands alone on the first indented line after the underline.
        std::istringstream lines(entry.substr(entry.find("\n\n") + 2));
        std::string name;
        std::getline(lines, name);
        EXPECT_EQ(field(record, "file_name")["value"], name.substr(name.find_first_not_of(' ')));
        EXPECT_EQ(record["offset"].get<std::uint64_t>(),
                  parse_number(after_label(entry, "offset of local header from start of archive:")));
        EXPECT_EQ(number(record, "signature"), 0x04034b50u);
        EXPECT_EQ(number(record, "compression"),
                  after_label(entry, "compression method:") == "deflated" ? 8u : 0u);
        EXPECT_EQ(dos_time_text(number(record, "mod_date"), number(record, "mod_time")),
                  after_label(entry, "file last modified on (DOS date/time):"));
        EXPECT_EQ(number(record, "crc32"), std::stoull(after_label(entry, "32-bit CRC value (hex):"), nullptr, 16));
        EXPECT_EQ(number(record, "compressed_size"), std::stoull(after_label(entry, "compressed size:")));
        EXPECT_EQ(number(record, "uncompressed_size"), std::stoull(after_label(entry, "uncompressed size:")));
        EXPECT_EQ(number(record, "name_length"), std::stoull(after_label(entry, "length of filename:")));
        EXPECT_EQ(number(record, "extra_length"), std::stoull(after_label(entry, "length of extra field:")));
        EXPECT_EQ(field(record, "data")["length"], number(record, "compressed_size"));
    }
    EXPECT_EQ(count, 3u);
    // The loop ends on the central directory's signature; the rest is left undefined.
    ASSERT_EQ(entries.size(), count + 1);
    EXPECT_EQ(number(entries[count], "signature"), 0x02014b50u);
}

// A little-endian unsigned integer of `size` bytes at `at`.
std::uint32_t little_endian(const std::string& bytes, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

TEST(Example_readers, TheModelsFloatsReadBackToTheirBytes)
{
    Temp_folder temp("readers");
    const std::string bytes = file_contents(example("stl") + "/sample.stl");
    ASSERT_GE(bytes.size(), 84u);
    const json root = tree_of(temp.path(), "stl", "sample.stl");
    const std::uint32_t count = little_endian(bytes, 80, 4);
    EXPECT_EQ(number(root, "count"), count);
    const json& triangles = field(root, "triangles")["children"];
    ASSERT_EQ(triangles.size(), count);
    ASSERT_EQ(bytes.size(), 84u + 50u * count);
    const char* const names[] = {"nx", "ny", "nz", "x1", "y1", "z1", "x2", "y2", "z2", "x3", "y3", "z3"};
    for (std::uint32_t t = 0; t < count; ++t) {
        const std::size_t record = 84 + 50 * std::size_t{t};
        for (int i = 0; i < 12; ++i) {
            const std::uint32_t stored = little_endian(bytes, record + 4 * static_cast<std::size_t>(i), 4);
            const std::string text = field(triangles[t], names[i])["value"];
            float shown = 0;
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), shown);
            EXPECT_TRUE(error == std::errc() && end == text.data() + text.size()) << text;
            EXPECT_EQ(std::bit_cast<std::uint32_t>(shown), stored) << names[i] << " of " << t << ": " << text;
        }
        EXPECT_EQ(number(triangles[t], "attribute"), little_endian(bytes, record + 48, 2));
    }
}

} // namespace
