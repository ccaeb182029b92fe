#include "agreement/random_definition.h"

#include <array>
#include <cstdint>
#include <memory>
#include <random>

#include "document/data_mgr.h"
#include "model/items.h"

unsigned Choices::below(unsigned n)
{
    if (n <= 1 || bytes_.empty())
        return 0;
    const auto byte = static_cast<unsigned char>(bytes_.front());
    bytes_.remove_prefix(1);
    return byte % n;
}

std::string_view Choices::take(std::size_t count)
{
    count = std::min(count, bytes_.size());
    const std::string_view taken = bytes_.substr(0, count);
    bytes_.remove_prefix(count);
    return taken;
}

namespace {

constexpr int max_items = 40;
constexpr int max_depth = 5;
constexpr int set_count = 3;

template <std::size_t N>
const char* one_of(Choices& choices, const std::array<const char*, N>& options)
{
    return options[choices.below(static_cast<unsigned>(N))];
}

constexpr std::array<const char*, 6> names = {"x", "v", "名前", "長い名前", "a b", "z"};
constexpr std::array<const char*, 5> int_variables = {"", "a", "b", "n", "f"};
constexpr std::array<const char*, 3> flag_variables = {"", "f", "n"};
constexpr std::array<const char*, 16> counts = {"0", "1", "2", "3", "n", "a", "b % 5", "n - 1", "c",
                                                "-1", "f", "300", "a & 3", "2000", "_rest % 7", "_pos & 3"};
constexpr std::array<const char*, 12> conditions = {"0", "1", "a", "a < 3", "b != 0", "n > 1", "f == 2",
                                                    "c", "a > 250", "f", "_rest > 3", "_pos % 5 != 2"};
constexpr std::array<const char*, 7> lengths = {"n", "a % 9", "-1", "0", "300", "_rest % 9", "_pos & 7"};
constexpr std::array<const char*, 4> assigned = {"a", "c", "n", "f"};
constexpr std::array<const char*, 8> assignments = {"c + 1", "a - 1", "n * 2", "0", "f + a", "c % 3", "_pos", "_rest - c"};
// Four names, one more than there are sets: a reference to it finds nothing.
// Byte blocks: none, empty, short, from a variable, up to the end, past it.
constexpr std::array<const char*, 7> block_lengths = {"-1", "0", "3", "n", "c * 2", "_rest", "_rest + 1"};
constexpr std::array<const char*, 4> set_names = {"S0", "S1", "S2", "S3"};

Bcl_str text(const char* utf8) { return Bcl_str::from_utf8(utf8); }

class Builder {
public:
    Builder(Choices& choices, bool anywhere) : choices_(choices), anywhere_(anywhere) {}

    void build()
    {
        Data_mgr& doc = Data_mgr::instance();
        if (choices_.below(2))
            doc.insert_item(std::make_unique<Def_set_variable>(text("c"), text(one_of(choices_, std::array{"0", "1", "2", "5"}))),
                            nullptr);
        for (int i = 0; i < set_count; ++i) {
            auto* set = new Def_def_set(text(set_names[static_cast<std::size_t>(i)]));
            fill(*set, 1);
            doc.insert_item(std::unique_ptr<Define>(set), nullptr);
        }
        for (unsigned n = 1 + choices_.below(6); n > 0 && items_left_ > 0; --n)
            doc.insert_item(std::unique_ptr<Define>(item(1)), nullptr);
    }

private:
    template <typename Container>
    void fill(Container& container, int depth)
    {
        for (unsigned n = choices_.below(4); n > 0 && items_left_ > 0; --n)
            container.insert_child(std::unique_ptr<Define>(item(depth)), nullptr);
    }

    Define* item(int depth)
    {
        --items_left_;
        const bool may_nest = depth < max_depth;
        const unsigned kinds = may_nest ? (anywhere_ ? 14 : 12) : 7;
        switch (choices_.below(kinds)) {
        case 0:
        case 1:
            return integer();
        case 2: {
            auto* string = encoded(new Def_fix_str(name(), static_cast<int>(choices_.below(9))));
            if (choices_.below(3) == 0)
                string->set_length_text(text(one_of(choices_, lengths)));
            return string;
        }
        case 3:
            return encoded(new Def_flex_str(name(), std::array{1, 2, 4}[choices_.below(3)]));
        case 4:
            return encoded(new Def_null_str(name()));
        case 5:
            return new Def_float(name(), choices_.below(2) ? 8 : 4);
        case 6:
            return new Def_bytes(name(), text(one_of(choices_, block_lengths)));
        case 7: {
            auto* branch = new Def_if(text(one_of(choices_, conditions)));
            for (unsigned n = choices_.below(3); n > 0 && items_left_ > 0; --n)
                branch->insert_then_child(std::unique_ptr<Define>(item(depth + 1)), nullptr);
            for (unsigned n = choices_.below(3); n > 0 && items_left_ > 0; --n)
                branch->insert_else_child(std::unique_ptr<Define>(item(depth + 1)), nullptr);
            return branch;
        }
        case 8: {
            auto* loop = new Def_for(name(), text(one_of(choices_, counts)));
            fill(*loop, depth + 1);
            return loop;
        }
        case 9: {
            auto* loop = new Def_while(name(), text(one_of(choices_, conditions)));
            fill(*loop, depth + 1);
            return loop;
        }
        case 12:
            return new Def_set_variable(text(one_of(choices_, assigned)),
                                        text(one_of(choices_, assignments)));
        case 13: {
            auto* set = new Def_def_set(text(one_of(choices_, set_names)));
            fill(*set, depth + 1);
            return set;
        }
        default:
            return new Def_def_ref(name(), text(one_of(choices_, set_names)));
        }
    }

    // Shift-JIS half of the time, else any encoding.
    template <typename String>
    String* encoded(String* string)
    {
        if (choices_.below(2))
            string->set_encoding(static_cast<Text_encoding>(choices_.below(text_encoding_count)));
        return string;
    }

    Def_int* integer()
    {
        auto* item = new Def_int(name(), choices_.below(2) == 1, std::array{1, 2, 4, 8}[choices_.below(4)],
                                 choices_.below(2) ? Def_int::hexadecimal : Def_int::decimal,
                                 text(one_of(choices_, int_variables)));
        const bool wide = item->size() == wide_int_size;
        item->set_named_values(named_values(wide));
        for (unsigned n = choices_.below(4); n > 0; --n) {
            // A flag may reach past its integer's top bit (31 or 63), or be as wide.
            auto flag = std::make_unique<Def_bitflag>(name(), static_cast<int>(1 + choices_.below(wide ? 72 : 40)),
                                                      text(one_of(choices_, flag_variables)));
            flag->set_named_values(named_values(wide));
            item->add_bit_flag(std::move(flag));
        }
        return item;
    }

    // `wide`: of an 8-byte integer, which also takes values beyond 32 bits.
    Named_values named_values(bool wide)
    {
        Named_values values;
        for (unsigned n = choices_.below(3); n > 0; --n)
            values[std::array<std::int64_t, 10>{-1, 0, 1, 2, 5, 10, -75, 0x12345678, 0x100000000ll,
                                                INT64_MIN}[choices_.below(wide ? 10 : 8)]] = name();
        return values;
    }

    Bcl_str name() { return text(one_of(choices_, names)); }

    Choices& choices_;
    bool anywhere_;
    int items_left_ = max_items;
};

} // namespace

void build_random_definition(Choices& choices) { Builder(choices, false).build(); }

void build_random_walk_definition(Choices& choices) { Builder(choices, true).build(); }

std::string seeded_choices(unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(1024, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

std::string random_data(Choices& choices, std::size_t max_size)
{
    std::string data;
    for (std::size_t n = choices.below(static_cast<unsigned>(max_size + 1)); n > 0; --n) {
        switch (choices.below(4)) {
        case 0:
            data += static_cast<char>(choices.below(4));
            break;
        case 1:
            data += std::array{'\r', '\n', '\0', 'A'}[choices.below(4)];
            break;
        default:
            data += static_cast<char>(choices.below(256));
        }
    }
    return data;
}
