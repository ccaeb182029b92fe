#include "toolkit/text/texts.h"

#define KESTRIX_TEXT(name, utf8)                              \
    const Bcl_str& name()                                     \
    {                                                         \
        static const Bcl_str text = Bcl_str::from_utf8(utf8); \
        return text;                                          \
    }

namespace texts {

KESTRIX_TEXT(undefined, "未定義")
KESTRIX_TEXT(data_shortage, "データ不足")
KESTRIX_TEXT(stopped_marker, "中断")
KESTRIX_TEXT(loading, "読み込んでいます・・・")
KESTRIX_TEXT(saving, "保存しています・・・")
KESTRIX_TEXT(releasing, "解放しています・・・")
KESTRIX_TEXT(analysing, "解析しています・・・")
KESTRIX_TEXT(updating, "更新しています・・・")
KESTRIX_TEXT(analysing_saving, "解析・保存しています・・・")

KESTRIX_TEXT(cannot_open, "は開けません。")
KESTRIX_TEXT(not_definition, "はケストリクスの定義ファイルではありません。")
KESTRIX_TEXT(data_corrupt, "はデータ異常です。")
KESTRIX_TEXT(version_head, "はこのプログラムでは読めません。\nプログラムバージョン")
KESTRIX_TEXT(version_tail, "以降を御使用ください。")
KESTRIX_TEXT(cannot_write, "に書き込めませんでした。元のファイルは変更されていません。")
KESTRIX_TEXT(cannot_write_stream, "に書き込めませんでした。")
KESTRIX_TEXT(cannot_restore, "に書き込めませんでした。元の内容は次のファイルに残してあります。")
KESTRIX_TEXT(cannot_read, "を読み込めませんでした。")
KESTRIX_TEXT(too_large, "は大きすぎて読み込めません。")
KESTRIX_TEXT(out_of_memory, "を処理するためのメモリが足りません。")
KESTRIX_TEXT(too_long_to_add, "は、追加すると4294967295バイトを超えるので追加できません。")
KESTRIX_TEXT(same_as_input, "は読み込むファイルと同じなので書き込めません。")
KESTRIX_TEXT(cannot_store, "は保存できません。")
KESTRIX_TEXT(store_text_too_long, "文字列が255バイトを超えています。")
KESTRIX_TEXT(store_too_many_items, "項目が65535個を超えています。")
KESTRIX_TEXT(store_too_many_values, "定義値が255個を超えています。")
KESTRIX_TEXT(store_too_many_flags, "ビットフラグが255個を超えています。")
KESTRIX_TEXT(store_too_deep, "入れ子が256段を超えています。")
KESTRIX_TEXT(store_bad_value, "定義ファイルに入らない値です。")
KESTRIX_TEXT(output_done, "に出力しました。")

KESTRIX_TEXT(signed_mark, "○")
KESTRIX_TEXT(string_size, "文字列")
KESTRIX_TEXT(float_remark, "浮動小数点数")
KESTRIX_TEXT(definition_set_open, "定義 (")

KESTRIX_TEXT(bytes_remark, "バイト列")
KESTRIX_TEXT(bytes_unit, " バイト")
KESTRIX_TEXT(more_bytes_mark, "…")

KESTRIX_TEXT(encoding_cannot_hold, "この文字コードで表せない文字があります。")
KESTRIX_TEXT(string_too_long, "文字列が長すぎます。")

// 8-byte integers.
KESTRIX_TEXT(values_too_wide, "定義値が整数のサイズに入りません。")

} // namespace texts
