// The keystroke rules of the validated fields, without a window.
//
// A field is written as its text with the caret as "|" or the selection in "[...]":
// "25|" is "25" with the caret at the end, "0[0F]F" has "0F" selected.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "toolkit/text/utf32.h"
#include "ui/core/field_rules.h"

namespace {

std::u32string utf32(const std::string& text) { return utf32_from_utf8(text); }
std::string utf8(const std::u32string& text) { return utf8_from_utf32(text); }

Field_text field(const std::string& written)
{
    Field_text f;
    for (const char32_t c : utf32(written)) {
        if (c == U'|') {
            f.start = f.end = f.text.size();
        } else if (c == U'[') {
            f.start = f.text.size();
        } else if (c == U']') {
            f.end = f.text.size();
        } else {
            f.text += c;
        }
    }
    return f;
}

std::string written(const Field_text& f)
{
    std::u32string out;
    for (std::size_t i = 0; i <= f.text.size(); ++i) {
        if (f.start == f.end && i == f.start)
            out += U'|';
        else if (i == f.start)
            out += U'[';
        else if (i == f.end && f.start != f.end)
            out += U']';
        if (i < f.text.size())
            out += f.text[i];
    }
    return utf8(out);
}

std::string written(const Field_outcome& outcome)
{
    switch (outcome.kind) {
    case Field_outcome::pass:
        return "pass";
    case Field_outcome::refuse:
        return "refused";
    default:
        return written(outcome.after);
    }
}

const Ctrl_edit_num_state byte_field(0, 255);
const Ctrl_edit_num_state small_field(0, 5);
const Ctrl_edit_num_state signed_byte_field(-128, 127);
const Ctrl_edit_num_state above_minus_five(-5, 10);
const Ctrl_edit_num_state full_range(-2147483647 - 1, 4294967295u);
const Ctrl_edit_hex_state hex_field;
const Ctrl_edit_var_state var_field;
const Ctrl_edit_var_state short_var_field(4);

enum class Event { type, key, paste, focus, click, after_key };

struct Rule_case {
    const Ctrl_edit_state* rules;
    const char* before;
    Event event;
    const char* input;  // the character, the pasted text or the key's name
    const char* expected;
};

void PrintTo(const Rule_case& c, std::ostream* os) { *os << c.before << " + " << c.input; }

Field_key key_named(const std::string& name)
{
    static const std::vector<std::pair<std::string, Field_key>> keys{
        {"Left", Field_key::left},           {"Right", Field_key::right},   {"Up", Field_key::up},
        {"Down", Field_key::down},           {"Home", Field_key::home},     {"End", Field_key::end},
        {"Backspace", Field_key::backspace}, {"Delete", Field_key::delete_key}, {"F1", Field_key::other}};
    for (const auto& [n, key] : keys)
        if (n == name)
            return key;
    throw std::invalid_argument(name);
}

std::string apply(const Rule_case& c)
{
    const Field_text before = field(c.before);
    switch (c.event) {
    case Event::type:
        return written(c.rules->typed(before, utf32(c.input).at(0)));
    case Event::key:
        return written(c.rules->key(before, key_named(c.input)));
    case Event::paste:
        return written(c.rules->pasted(before, utf32(c.input)));
    case Event::focus:
        return written(c.rules->after_focus(before));
    case Event::click:
        return written(c.rules->after_click(before));
    case Event::after_key:
        return written(c.rules->after_key(before, key_named(c.input)));
    }
    return {};
}

class Field_rules_test : public testing::TestWithParam<Rule_case> {};

TEST_P(Field_rules_test, GivesTheTextAndSelection) { EXPECT_EQ(apply(GetParam()), GetParam().expected); }

constexpr Event type = Event::type;
constexpr Event key = Event::key;
constexpr Event paste = Event::paste;

INSTANTIATE_TEST_SUITE_P(
    Number, Field_rules_test,
    testing::Values(
        // Digits are judged as appended, and appended.
        Rule_case{&byte_field, "25|", type, "5", "255|"}, Rule_case{&byte_field, "25|", type, "6", "refused"},
        Rule_case{&byte_field, "255|", type, "0", "refused"}, Rule_case{&byte_field, "|25", type, "5", "255|"},
        Rule_case{&byte_field, "2|5", type, "6", "refused"},
        // "0" and "-0" give way to the first digit.
        Rule_case{&byte_field, "0|", type, "7", "7|"}, Rule_case{&small_field, "0|", type, "7", "refused"},
        Rule_case{&small_field, "0|", type, "5", "5|"}, Rule_case{&signed_byte_field, "-0|", type, "5", "-5|"},
        Rule_case{&above_minus_five, "-0|", type, "6", "refused"},
        Rule_case{&above_minus_five, "-0|", type, "5", "-5|"},
        // A whole selection is typed over, but never with a digit no number in range starts with.
        Rule_case{&byte_field, "[123]", type, "9", "9|"}, Rule_case{&small_field, "[3]", type, "7", "refused"},
        Rule_case{&small_field, "[3]", type, "4", "4|"},
        // Negative limits.
        Rule_case{&signed_byte_field, "-12|", type, "8", "-128|"},
        Rule_case{&signed_byte_field, "-12|", type, "9", "refused"},
        Rule_case{&signed_byte_field, "12|", type, "7", "127|"},
        Rule_case{&signed_byte_field, "12|", type, "8", "refused"},
        Rule_case{&full_range, "-214748364|", type, "8", "-2147483648|"},
        Rule_case{&full_range, "-214748364|", type, "9", "refused"},
        Rule_case{&full_range, "429496729|", type, "5", "4294967295|"},
        Rule_case{&full_range, "429496729|", type, "6", "refused"},
        Rule_case{&full_range, "4294967295|", type, "0", "refused"},
        // The minus sign.
        Rule_case{&byte_field, "0|", type, "-", "refused"}, Rule_case{&signed_byte_field, "0|", type, "-", "-0|"},
        Rule_case{&signed_byte_field, "[45]", type, "-", "-0|"},
        Rule_case{&signed_byte_field, "45|", type, "-", "refused"},
        // Nothing else, and no character of two bytes.
        Rule_case{&byte_field, "1|", type, "a", "refused"}, Rule_case{&byte_field, "1|", type, "５", "refused"},
        Rule_case{&byte_field, "1|", type, " ", "refused"},
        // Backspace and Delete never leave an empty field, nor a number out of range.
        Rule_case{&byte_field, "7|", key, "Backspace", "0|"}, Rule_case{&byte_field, "|7", key, "Backspace", "0|"},
        Rule_case{&signed_byte_field, "-0|", key, "Backspace", "0|"},
        Rule_case{&signed_byte_field, "-5|", key, "Backspace", "-0|"},
        Rule_case{&byte_field, "123|", key, "Backspace", "12|"},
        Rule_case{&byte_field, "1[2]3", key, "Backspace", "1|3"},
        Rule_case{&byte_field, "[123]", key, "Backspace", "|"},
        Rule_case{&byte_field, "|123", key, "Backspace", "refused"},
        Rule_case{&signed_byte_field, "-12[3]", key, "Backspace", "-12|"},
        Rule_case{&signed_byte_field, "-[12]", key, "Backspace", "-0|"},
        Rule_case{&signed_byte_field, "-|128", key, "Backspace", "refused"},
        Rule_case{&signed_byte_field, "-|127", key, "Backspace", "|127"},
        Rule_case{&byte_field, "12|3", key, "Delete", "0|"}, Rule_case{&byte_field, "[123]", key, "Delete", "0|"},
        // Left and Up go to the end; other keys are the control's.
        Rule_case{&byte_field, "1|23", key, "Left", "123|"}, Rule_case{&byte_field, "[12]3", key, "Up", "123|"},
        Rule_case{&byte_field, "1|23", key, "Right", "pass"}, Rule_case{&byte_field, "1|23", key, "Home", "pass"},
        // Focus selects everything; a click without a selection goes to the end.
        Rule_case{&byte_field, "1|23", Event::focus, "", "[123]"},
        Rule_case{&byte_field, "1|23", Event::click, "", "123|"},
        Rule_case{&byte_field, "1[2]3", Event::click, "", "[123]"},
        // Pasting is typing, all or nothing.
        Rule_case{&byte_field, "0|", paste, "255", "255|"}, Rule_case{&byte_field, "0|", paste, "256", "refused"},
        Rule_case{&byte_field, "[7]", paste, "12a", "refused"},
        Rule_case{&signed_byte_field, "[0]", paste, "-128", "-128|"},
        Rule_case{&signed_byte_field, "[0]", paste, "-129", "refused"},
        Rule_case{&byte_field, "1|", paste, "", "refused"}));

INSTANTIATE_TEST_SUITE_P(
    Hexadecimal, Field_rules_test,
    testing::Values(
        Rule_case{&hex_field, "|00FF", type, "a", "A|0FF"}, Rule_case{&hex_field, "0|0FF", type, "9", "09|FF"},
        Rule_case{&hex_field, "00F|F", type, "c", "00FC|"}, Rule_case{&hex_field, "00FF|", type, "1", "refused"},
        Rule_case{&hex_field, "0|0FF", type, "g", "refused"}, Rule_case{&hex_field, "0|0FF", type, "Ａ", "refused"},
        Rule_case{&hex_field, "00[FF]", type, "1", "001|F"},
        Rule_case{&hex_field, "00F|F", key, "Backspace", "refused"},
        Rule_case{&hex_field, "00F|F", key, "Delete", "refused"}, Rule_case{&hex_field, "00F|F", key, "Right", "pass"},
        Rule_case{&hex_field, "0[0F]F", Event::after_key, "End", "00F|F"},
        Rule_case{&hex_field, "0[0F]F", Event::after_key, "Down", "00F|F"},
        Rule_case{&hex_field, "0[0F]F", Event::after_key, "Home", "0|0FF"},
        Rule_case{&hex_field, "0[0F]F", Event::after_key, "Up", "0|0FF"},
        Rule_case{&hex_field, "0[0F]F", Event::after_key, "F1", "0[0F]F"},
        Rule_case{&hex_field, "00F|F", Event::focus, "", "|00FF"},
        Rule_case{&hex_field, "0[0F]F", Event::click, "", "00F|F"},
        Rule_case{&hex_field, "|00FF", paste, "12ab", "12AB|"}, Rule_case{&hex_field, "0|0FF", paste, "1234", "refused"}));

INSTANTIATE_TEST_SUITE_P(
    Variable, Field_rules_test,
    testing::Values(
        Rule_case{&var_field, "|", type, "1", "refused"}, Rule_case{&var_field, "|x", type, "1", "refused"},
        Rule_case{&var_field, "a|", type, "1", "a1|"}, Rule_case{&var_field, "[ab]", type, "1", "refused"},
        Rule_case{&var_field, "a|", type, "_", "a_|"}, Rule_case{&var_field, "a|c", type, "b", "ab|c"},
        Rule_case{&var_field, "a[bc]", type, "d", "ad|"},
        Rule_case{&var_field, "|", type, "あ", "あ|"}, Rule_case{&var_field, "a|", type, "ｱ", "aｱ|"},
        Rule_case{&var_field, "a|", type, "é", "refused"}, Rule_case{&var_field, "a|", type, "😀", "refused"},
        Rule_case{&var_field, "a|", type, "\t", "refused"},
        // The limit counts Shift-JIS bytes: "abあ" is four.
        Rule_case{&short_var_field, "ab|", type, "あ", "abあ|"},
        Rule_case{&short_var_field, "abc|", type, "あ", "refused"},
        Rule_case{&short_var_field, "[abc]", type, "あ", "あ|"},
        Rule_case{&short_var_field, "abc|", type, "d", "abcd|"},
        Rule_case{&var_field, "a|b", key, "Backspace", "pass"},
        Rule_case{&var_field, "a|b", Event::click, "", "ab|"}, Rule_case{&var_field, "[a]b", Event::click, "", "[ab]"},
        Rule_case{&var_field, "a|b", Event::focus, "", "a|b"},
        // A paste keeps what typing takes, and what fits.
        Rule_case{&var_field, "|", paste, "名前_2", "名前_2|"}, Rule_case{&var_field, "|", paste, "2nd", "nd|"},
        Rule_case{&var_field, "|", paste, "12a3", "a3|"}, Rule_case{&var_field, "|", paste, "a b", "ab|"},
        Rule_case{&short_var_field, "|", paste, "あいう", "あい|"},
        Rule_case{&var_field, "|", paste, "〜", "～|"}, Rule_case{&var_field, "|", paste, "-", "refused"}));

const Ctrl_edit_text_state text_field(255);

INSTANTIATE_TEST_SUITE_P(
    Text, Field_rules_test,
    testing::Values(
        Rule_case{&text_field, "a|", type, "あ", "aあ|"}, Rule_case{&text_field, "a|", type, "\t", "refused"},
        Rule_case{&text_field, "a|", type, "😀", "refused"}, Rule_case{&text_field, "a|", type, "한", "refused"},
        // The JIS forms input methods give enter as CP932's.
        Rule_case{&text_field, "1|", type, "〜", "1～|"}, Rule_case{&text_field, "1|", type, "−", "1－|"},
        Rule_case{&text_field, "|", type, "—", "―|"}, Rule_case{&text_field, "|", type, "‖", "∥|"},
        Rule_case{&text_field, "|", type, "¬", "￢|"}, Rule_case{&text_field, "|", type, "¢", "￠|"},
        Rule_case{&text_field, "|", type, "£", "￡|"}, Rule_case{&text_field, "|", paste, "1〜2−3", "1～2－3|"},
        // Stand-ins of bytes with no Unicode form stay, and can be pasted.
        Rule_case{&text_field, "⣿|∅", type, "x", "⣿x|∅"}, Rule_case{&text_field, "a|", paste, "⣿∅", "a⣿∅|"},
        // A paste puts in what fits, leaving out what typing refuses.
        Rule_case{&text_field, "|", paste, "PNG画像", "PNG画像|"}, Rule_case{&text_field, "|", paste, "①Ⅹ㈱", "①Ⅹ㈱|"},
        Rule_case{&text_field, "x[yz]", paste, "AB한C\r\n", "xABC|"},
        Rule_case{&text_field, "x|", paste, "a\xEF\xBF\xBD" "b", "xab|"},
        Rule_case{&text_field, "x[y]", paste, "한글", "refused"}, Rule_case{&text_field, "x|", paste, "", "refused"}));

std::string repeat(const std::string& piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

// The limit counts Shift-JIS bytes, a stand-in of a byte as one; a paste is cut
// before the first character that would pass it.
TEST(Ctrl_edit_text_state, TheLimitCountsStoredBytesAndCutsAPasteAtACharacter)
{
    const auto typing = [](std::string before, const char* c) {
        return written(text_field.typed(field(before), utf32(c).at(0)));
    };
    const auto pasting = [](std::string before, std::string pasted) {
        return written(text_field.pasted(field(before), utf32(pasted)));
    };
    const std::string a253 = repeat("a", 253);
    const std::string pattern = "⣿";  // the stand-in of 0xFF
    EXPECT_EQ(typing(a253 + "|", "あ"), a253 + "あ|");
    EXPECT_EQ(typing(a253 + "あ|", "b"), "refused");
    EXPECT_EQ(typing(pattern + a253 + "|", "b"), pattern + a253 + "b|");
    EXPECT_EQ(typing(pattern + a253 + "b|", "b"), "refused");
    EXPECT_EQ(typing("[" + pattern + "]" + a253 + "b", "あ"), "refused");
    EXPECT_EQ(typing("[" + pattern + "]" + a253 + "b", "c"), std::string("c|") + a253 + "b");
    EXPECT_EQ(pasting("|", repeat("z", 256)), repeat("z", 255) + "|");
    EXPECT_EQ(pasting("|", repeat("あ", 128)), repeat("あ", 127) + "|");
    EXPECT_EQ(pasting("|", repeat("あ", 127) + "aa"), repeat("あ", 127) + "a|");
    EXPECT_EQ(pasting("|", repeat("ｱ", 256)), repeat("ｱ", 255) + "|");
    EXPECT_EQ(pasting(std::string("|") + repeat("a", 255), "b"), "refused");
    EXPECT_EQ(pasting(std::string("[aa]") + repeat("a", 253), "あい"), std::string("あ|") + repeat("a", 253));
}

TEST(Ctrl_edit_text_state, APasteSaysWhatItLeftOut)
{
    EXPECT_EQ(text_field.pasted(field("|"), U"abc").note, "");
    EXPECT_EQ(text_field.pasted(field("|"), U"AB한C").note, "貼り付けた文字のうち「한」は入力できないので除きました。");
    EXPECT_EQ(text_field.pasted(field("|"), utf32(std::string(258, 'z'))).note,
              "貼り付けた文字のうち、長さの上限を超える3文字を除きました。");
    // Nothing fits: the field stays, and says why.
    const Field_outcome none = text_field.pasted(field("x|"), U"한한\t€");
    EXPECT_EQ(none.kind, Field_outcome::refuse);
    EXPECT_EQ(none.note, "貼り付けた文字のうち「한」、タブ、「€」は入力できないので除きました。");
    EXPECT_EQ(paste_note(U"\r\n\x01" U"abcdefg", 2),
              "貼り付けた文字のうち改行、制御文字、「a」、「b」、「c」などは入力できないので除き、"
              "長さの上限を超える2文字も除きました。");
}

// The string field of several lines: a line break takes the two bytes of CR LF, a
// stand-in one; a paste puts in what fits and says what it left out.
TEST(Ctrl_edit_lines_state, CountsStoredBytesAndPutsInWhatFitsOfAPaste)
{
    const Ctrl_edit_lines_state six(6);
    EXPECT_EQ(written(six.typed(field("ab|cd"), U'\n')), "ab\n|cd");
    EXPECT_EQ(written(Ctrl_edit_lines_state(5).typed(field("ab|cd"), U'\n')), "refused");
    EXPECT_EQ(written(Ctrl_edit_lines_state(2).typed(field("∅|"), U'⣿')), "∅⣿|");
    EXPECT_EQ(written(six.typed(field("x|"), U'\t')), "refused");
    EXPECT_EQ(written(six.typed(field("x|"), U'€')), "refused");
    EXPECT_EQ(written(six.typed(field("1|"), U'〜')), "1～|");
    EXPECT_EQ(written(Ctrl_edit_lines_state(3).pasted(field("|"), U"日本")), "日|");
    const Field_outcome pasted = six.pasted(field("x|"), U"a\tb\r\n€cdef");
    EXPECT_EQ(written(pasted), "xab\nc|");
    EXPECT_EQ(pasted.note, "貼り付けた文字のうちタブ、「€」は入力できないので除き、長さの上限を超える3文字も除きました。");
}

TEST(Ctrl_edit_var_state, RefusesEachOfTheEighteenOperatorCharacters)
{
    const std::string refused = " !\"%&'()*+-/=[]{|}";
    ASSERT_EQ(refused.size(), 18u);
    for (const char c : refused)
        EXPECT_EQ(var_field.typed(field("a|"), static_cast<char32_t>(c)).kind, Field_outcome::refuse) << c;
    for (const char c : std::string("#$,.:;<>?@\\^_`~"))
        EXPECT_EQ(var_field.typed(field("a|"), static_cast<char32_t>(c)).kind, Field_outcome::set) << c;
}

TEST(Ctrl_edit_var_state, TypingAMinusBetweenTwoLettersGivesTheTwoLetters)
{
    Field_text f = field("|");
    for (const char32_t c : std::u32string(U"a-b")) {
        const Field_outcome outcome = var_field.typed(f, c);
        if (outcome.kind == Field_outcome::set)
            f = outcome.after;
    }
    EXPECT_EQ(written(f), "ab|");
}

TEST(Ctrl_edit_state, StaleSelectionsAreHeldInsideTheText)
{
    const Field_text beyond{U"12", 5, 9};
    EXPECT_EQ(written(byte_field.typed(beyond, U'3')), "123|");
    EXPECT_EQ(written(hex_field.typed(beyond, U'3')), "refused");
    EXPECT_EQ(written(var_field.typed(beyond, U'x')), "12x|");
}

TEST(Shift_jis, LengthsAndCharactersItCanHold)
{
    EXPECT_EQ(sjis_length(U"aあｱ"), 4u);
    EXPECT_EQ(sjis_length(U""), 0u);
    EXPECT_TRUE(sjis_can_hold(U'漢'));
    EXPECT_TRUE(sjis_can_hold(U'?'));
    EXPECT_FALSE(sjis_can_hold(U'é'));
    EXPECT_FALSE(sjis_can_hold(char32_t{0xD800}));
    EXPECT_FALSE(sjis_can_hold(char32_t{0x110000}));
}

// Characters the conversion writes as another character's code would come back
// changed after a save: a field takes only what reads back as itself.
TEST(Shift_jis, OnlyCharactersThatReadBackAsThemselvesAreHeld)
{
    EXPECT_TRUE(sjis_can_hold(U'\\'));
    EXPECT_TRUE(sjis_can_hold(U'~'));
    EXPECT_TRUE(sjis_can_hold(U'＼'));
    EXPECT_FALSE(sjis_can_hold(U'¥'));
    EXPECT_FALSE(sjis_can_hold(U'‾'));
    const Ctrl_edit_text_state text(255);
    EXPECT_EQ(text.typed(field("a|"), U'¥').kind, Field_outcome::refuse);
    EXPECT_EQ(written(text.pasted(field("|"), U"100¥")), "100|");
    EXPECT_EQ(var_field.typed(field("a|"), U'¥').kind, Field_outcome::refuse);
}

} // namespace
