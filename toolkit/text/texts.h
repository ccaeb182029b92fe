#pragma once

#include "toolkit/text/bcl_str.h"

// The system's own texts, written once here as UTF-8 and converted to Shift-JIS on
// first use. Every message, label and marker the logic produces comes from here.
namespace texts {

const Bcl_str& undefined();          // 未定義: the initial title and the undefined-bytes label
const Bcl_str& data_shortage();      // データ不足
const Bcl_str& stopped_marker();     // 中断: ends a tree whose analysis the user stopped
const Bcl_str& loading();            // 読み込んでいます・・・
const Bcl_str& saving();             // 保存しています・・・
const Bcl_str& releasing();          // 解放しています・・・
const Bcl_str& analysing();          // 解析しています・・・
const Bcl_str& updating();           // 更新しています・・・
const Bcl_str& analysing_saving();   // 解析・保存しています・・・

const Bcl_str& cannot_open();        // は開けません。
const Bcl_str& not_definition();     // はケストリクスの定義ファイルではありません。
const Bcl_str& data_corrupt();       // はデータ異常です。
const Bcl_str& version_head();       // はこのプログラムでは読めません。\nプログラムバージョン
const Bcl_str& version_tail();       // 以降を御使用ください。
const Bcl_str& cannot_write();       // に書き込めませんでした。元のファイルは変更されていません。
const Bcl_str& cannot_write_stream(); // に書き込めませんでした。 (a pipe, terminal or device: nothing to keep)
const Bcl_str& cannot_restore();     // に書き込めませんでした。元の内容は次のファイルに残してあります。
const Bcl_str& cannot_read();        // を読み込めませんでした。
const Bcl_str& too_large();          // は大きすぎて読み込めません。
const Bcl_str& out_of_memory();      // を処理するためのメモリが足りません。
const Bcl_str& too_long_to_add();    // は、追加すると4294967295バイトを超えるので追加できません。
const Bcl_str& same_as_input();      // は読み込むファイルと同じなので書き込めません。
const Bcl_str& cannot_store();       // は保存できません。 (then the place and one of the reasons below)
const Bcl_str& store_text_too_long();     // 文字列が255バイトを超えています。
const Bcl_str& store_too_many_items();    // 項目が65535個を超えています。
const Bcl_str& store_too_many_values();   // 定義値が255個を超えています。
const Bcl_str& store_too_many_flags();    // ビットフラグが255個を超えています。
const Bcl_str& store_too_deep();          // 入れ子が256段を超えています。
const Bcl_str& store_bad_value();         // 定義ファイルに入らない値です。
const Bcl_str& output_done();        // に出力しました。 (after the report's path)

// The definition list's markers.
const Bcl_str& signed_mark();        // ○: a signed integer
const Bcl_str& string_size();        // 文字列: the size of a string without a fixed length
const Bcl_str& float_remark();       // 浮動小数点数: the remark of a float item
const Bcl_str& definition_set_open(); // 定義 (: the head of a definition set's row

// The byte block's texts.
const Bcl_str& bytes_remark();       // バイト列: the remark of a byte block
const Bcl_str& bytes_unit();         // " バイト": after a byte block's length
const Bcl_str& more_bytes_mark();    // …: after a byte block's first bytes when more follow

// The string change of a string in another encoding than Shift-JIS.
const Bcl_str& encoding_cannot_hold(); // この文字コードで表せない文字があります。
const Bcl_str& string_too_long();      // 文字列が長すぎます。

// 8-byte integers.
const Bcl_str& values_too_wide();    // 定義値が整数のサイズに入りません。 (a 64-bit value in a smaller integer)

} // namespace texts
