#include <gtest/gtest.h>

#include <vector>

#include "analysis_helpers.h"
#include "support/document_fixture.h"

using namespace analysis_test;

namespace {

// A real-world layout end to end: an 8-byte signature, then chunks of a 4-byte
// big-endian length, a 4-byte type, the data and a CRC, until the IEND chunk.
TEST_F(Document_test, PngLikeFileRendersChunkByChunk)
{
    Def_int* type = int_item("type", 4, false, Def_int::hexadecimal, "type");
    type->set_named_values({{0x49484452, sj("IHDR")}, {0x49444154, sj("IDAT")}, {0x49454E44, sj("IEND")}});
    auto* chunks = while_loop("chunks", "type != 1229278788", int_item("length", 4, false, Def_int::decimal, "len"),
                              type, for_loop("data", "len", int_item("byte", 1, false, Def_int::hexadecimal)),
                              int_item("crc", 4, false, Def_int::hexadecimal));
    define(int_item("magic", 4, false, Def_int::hexadecimal), int_item("magic2", 4, false, Def_int::hexadecimal),
           set_var("type", "0"), chunks);
    load_bytes(std::vector<std::uint8_t>{
        0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A,                                            // signature
        0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52,                                            // IHDR
        0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x02, 0x00, 0x00, 0x00,              //
        0x90, 0x77, 0x53, 0xDE,                                                                    //
        0x00, 0x00, 0x00, 0x03, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0x11, 0x22, 0x33, 0x44,  // IDAT
        0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82,                    // IEND
        0x00, 0xFF});                                                                              // trailing

    EXPECT_EQ(tree(3), "未定義\t\n"
                       "  magic\t0x89504E47\n"
                       "  magic2\t0x0D0A1A0A\n"
                       "  chunks\t...\n"
                       "    [0]\t...\n"
                       "      length\t13\n"
                       "      type\tIHDR\n"
                       "      data\t...\n"
                       "      crc\t0x907753DE\n"
                       "    [1]\t...\n"
                       "      length\t3\n"
                       "      type\tIDAT\n"
                       "      data\t...\n"
                       "      crc\t0x11223344\n"
                       "    [2]\t...\n"
                       "      length\t0\n"
                       "      type\tIEND\n"
                       "      crc\t0xAE426082\n"
                       "  未定義[0 - 1]\t...\n"
                       "    [0]\t0x00\n"
                       "    [1]\t0xFF\n");
    EXPECT_EQ(chunks->last_count(), 3);
    EXPECT_EQ(root()->child(2)->end()->position(), 60u);

    // The IDAT data, opened on its own: the replay restores len = 3 for its count.
    Component* idat_data = root()->child(2)->child(1)->child(2);
    EXPECT_EQ(tree(2, idat_data), "data\t...\n  [0]\t...\n    byte\t0x78\n  [1]\t...\n    byte\t0x9C\n"
                                  "  [2]\t...\n    byte\t0x63\n");
    EXPECT_EQ(idat_data->size(), 3u);
}

} // namespace
