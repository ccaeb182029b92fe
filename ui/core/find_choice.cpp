#include "ui/core/find_choice.h"

#include <algorithm>

#include "toolkit/text/bcl_str.h"

Find_query make_find_query(Find_kind kind, std::string_view utf8_text)
{
    Find_query query;
    if (utf8_text.empty()) {
        query.error = "検索する文字列を入力してください。";
        return query;
    }
    if (kind == Find_kind::bytes) {
        if (std::optional<std::string> pattern = parse_hex_pattern(utf8_text))
            query.bytes = std::move(*pattern);
        else
            query.error = "バイト列は16進数2桁ずつで入力してください（例: 89 50 4E 47）。";
        return query;
    }
    // Shift-JIS puts '?' for each character it lacks: more of them than typed means
    // a character the data cannot hold.
    const Bcl_str text = Bcl_str::from_utf8(utf8_text);
    if (std::count(text.view().begin(), text.view().end(), '?') != std::count(utf8_text.begin(), utf8_text.end(), '?')) {
        query.error = "シフトJISにない文字は検索できません。";
        return query;
    }
    if (kind == Find_kind::text)
        query.bytes = text.bytes();
    else
        query.components = Component_query{
            kind == Find_kind::name ? Component_query::Kind::name : Component_query::Kind::value, text.bytes()};
    return query;
}

std::optional<std::uint64_t> byte_search_from(const Dump_caret& caret, Find_direction direction)
{
    if (direction == Find_direction::previous || caret.anchor)
        return caret.selection_start();
    if (caret.caret == 0)
        return std::nullopt;
    return caret.caret - 1;
}

std::string find_progress_text(std::uint64_t hits)
{
    std::string text = "検索しています・・・";
    if (hits > 0)
        text += "（" + std::to_string(hits) + " 件）";
    return text;
}

std::string find_result_text(const Find_result& result)
{
    switch (result.end) {
    case Find_result::End::not_found:
        return "見つかりません。";
    case Find_result::End::cancelled:
        return "検索を中止しました。";
    case Find_result::End::found:
        break;
    }
    std::string text = std::to_string(result.ordinal) + " 件目";
    if (result.wrapped)
        text += result.direction == Find_direction::next ? "（末尾まで検索したので先頭から続けました）"
                                                         : "（先頭まで検索したので末尾から続けました）";
    return text;
}
