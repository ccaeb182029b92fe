#include "document/find.h"

#include <array>

#include "document/data_mgr.h"
#include "document/place_path.h"
#include "engine/analysis.h"
#include "model/cmp_int.h"
#include "model/cmp_visitor.h"
#include "model/component.h"
#include "model/data_node.h"
#include "model/def_int.h"
#include "model/walk_context.h"
#include "model/int_decoder.h"
#include "toolkit/exception.h"
#include "toolkit/progress.h"
#include "toolkit/text/bcl_str.h"
#include "toolkit/text/number_text.h"

namespace {

// Every integer a component shows, from -2^63 to 2^64 - 1, and the query's number.
__extension__ using Find_number = __int128;

// A component's number and whether it is a value at all: tables, records, the root
// and the shortage marker show no value of their own.
class Value_visitor final : public Cmp_visitor {
public:
    void visit_component(Component&) override {}
    void visit_fix_str(Cmp_fix_str&) override { is_value = true; }
    void visit_flex_str(Cmp_flex_str&) override { is_value = true; }
    void visit_null_str(Cmp_null_str&) override { is_value = true; }
    void visit_int(Cmp_int& c) override { integer(true, static_cast<std::uint64_t>(c.value()), c); }
    void visit_uint(Cmp_uint& c) override { integer(false, c.value(), c); }
    void visit_hex(Cmp_hex& c) override { integer(c.def()->is_signed(), c.value(), c); }
    void visit_bitflag(Cmp_bitflag& c) override
    {
        is_value = true;
        number = c.flag_value();
        only_number = !flag_meaning(*c.def(), c.flag_value(), is_wide_int(c.int_size()));
    }
    void visit_nodef(Cmp_nodef&) override { is_value = true; }
    void visit_tbl(Cmp_tbl&) override {}
    void visit_rec(Cmp_rec&) override {}
    void visit_float(Cmp_float&) override { is_value = true; }
    void visit_bytes(Cmp_bytes&) override { is_value = true; }

    bool is_value = false;
    std::optional<Find_number> number;
    // The value text is the number alone, written in digits (no named meaning).
    bool only_number = false;

private:
    // `bits` as read; unsigned items count from 0 up to 2^(8 × size) - 1.
    void integer(bool is_signed, std::uint64_t bits, const Cmp_integer& c)
    {
        is_value = true;
        only_number = !int_meaning(*c.def(), bits);
        number = is_signed ? Find_number{sign_extend(bits, c.int_size())} : Find_number{bits};
    }
};

char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether `text` holds `part` starting at a character (a Shift-JIS trail byte is
// never taken for the start of a match). With `fold`, ASCII letters match either
// case; the trail bytes of double-byte characters, which may look like letters,
// are compared as they are.
bool holds_text(std::string_view text, std::string_view part, bool fold)
{
    if (part.empty())
        return true;
    for (std::size_t at = 0; at + part.size() <= text.size();) {
        bool same = true;
        for (std::size_t i = 0; i < part.size() && same;) {
            const bool double_byte = is_sjis_lead(static_cast<unsigned char>(part[i])) && i + 1 < part.size();
            if (double_byte) {
                same = text[at + i] == part[i] && text[at + i + 1] == part[i + 1];
                i += 2;
            } else {
                same = fold ? ascii_lower(text[at + i]) == ascii_lower(part[i]) : text[at + i] == part[i];
                ++i;
            }
        }
        if (same)
            return true;
        at += is_sjis_lead(static_cast<unsigned char>(text[at])) ? 2 : 1;
    }
    return false;
}

// The query's text as a number: decimal or hexadecimal, a leading '-' allowed.
std::optional<Find_number> query_number(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    const std::optional<std::uint64_t> magnitude = parse_offset(text);
    if (!magnitude)
        return std::nullopt;
    const Find_number value{*magnitude};
    return negative ? -value : value;
}

// Cancel checks and progress steps cost a call each: once per this many components.
constexpr unsigned components_per_check = 4096;

// A query made ready for matching many components: its number read once, and
// whether its text could be part of a number's text at all.
class Query_matcher {
public:
    explicit Query_matcher(const Component_query& query)
        : query_(query), number_(query_number(query.text)),
          beyond_numbers_(query.text.find_first_not_of("0123456789ABCDEFabcdefXx-+. ") != std::string::npos)
    {
    }

    [[nodiscard]] bool matches(const Component& component) const
    {
        if (query_.kind == Component_query::Kind::name)
            return holds_text(component.name().view(), query_.text, true);
        Value_visitor value;
        const_cast<Component&>(component).accept(value);
        if (!value.is_value)
            return false;
        if (number_ && value.number == number_)
            return true;
        // A number's text is not made when the query holds what no number shows.
        if (value.only_number && beyond_numbers_)
            return false;
        return holds_text(component.value_text().view(), query_.text, false);
    }

    // Whether a record's or a group's name ("[7]", "[0 - 1023]") can match.
    [[nodiscard]] bool may_match_label() const
    {
        return query_.kind == Component_query::Kind::name &&
               query_.text.find_first_not_of("[]0123456789 -") == std::string::npos;
    }

    // Whether a component of the value item `item` (an integer with its flags, a
    // string) can match at all: names are the item's, and an integer's or flag's
    // value text is its number unless it has named values.
    [[nodiscard]] bool may_match(const Define& item) const
    {
        const auto* integer = dynamic_cast<const Def_int*>(&item);
        if (query_.kind == Component_query::Kind::name) {
            if (holds_text(item.name().view(), query_.text, true))
                return true;
            if (integer)
                for (const auto& flag : integer->bit_flags())
                    if (holds_text(flag->name().view(), query_.text, true))
                        return true;
            return false;
        }
        if (!integer || number_ || !beyond_numbers_ || !integer->named_values().empty())
            return true;
        for (const auto& flag : integer->bit_flags())
            if (!flag->named_values().empty())
                return true;
        return false;
    }

private:
    const Component_query& query_;
    std::optional<Find_number> number_;
    bool beyond_numbers_;
};

} // namespace

bool component_matches(const Component& component, const Component_query& query)
{
    return Query_matcher(query).matches(component);
}

namespace {

// How a watched walk is left early.
struct Search_ended {
    Find_end end;
};

// The search's watcher: matches each component the walk would make, keeping the
// names and indices of the containers around it only.
class Search final : public Walk_watcher {
public:
    Search(const Component_query& query, const Hit_found& hit, const Cancel_check& cancelled)
        : matcher_(query), hit_(hit), cancelled_(cancelled)
    {
    }

    void made(Component& component) override { offer(component); }
    void entered(Component& container) override
    {
        indices_.push_back(offer(container));
        names_.push_back({&container.name()});
        counts_.push_back(0);
    }
    void left() override
    {
        indices_.pop_back();
        names_.pop_back();
        counts_.pop_back();
    }
    void ran_out(Component& marker) override
    {
        while (!indices_.empty())
            left();
        offer(marker);
    }
    bool wants(const Define& item) override
    {
        // The verdict is the item's: kept for the items met last, as the walk meets
        // the same few items over and over.
        Verdict& verdict = verdicts_[(reinterpret_cast<std::uintptr_t>(&item) / alignof(Define)) % verdicts_.size()];
        if (verdict.item != &item)
            verdict = {&item, matcher_.may_match(item)};
        return verdict.wants;
    }
    void counted() override { next_index(); }
    bool wants_labels() override { return matcher_.may_match_label(); }
    void entered_iterations(std::uint64_t first, std::uint64_t last, bool record) override
    {
        indices_.push_back(next_index());
        names_.push_back({nullptr, first, last, record});
        counts_.push_back(0);
    }

private:
    // The index of the next child of the innermost open container; asks now and
    // then whether to go on.
    int next_index()
    {
        if (--until_check_ == 0) {
            until_check_ = components_per_check;
            if (cancelled_ && cancelled_())
                throw Search_ended{Find_end::cancelled};
        }
        return counts_.back()++;
    }

    // Looks at `component`; returns its index among its parent's children.
    int offer(Component& component)
    {
        const int index = next_index();
        if (matcher_.matches(component)) {
            Component_hit found;
            found.indices = indices_;
            found.indices.push_back(index);
            found.names.reserve(names_.size() + 1);
            for (const Level_name& name : names_)
                found.names.push_back(name.text());
            found.names.push_back(component.name());
            found.value_text = component.value_text();
            if (const Data_node* start = component.start())
                found.offset = start->position();
            if (!tell(found))
                throw Search_ended{Find_end::stopped};
        }
        return index;
    }

    // Hands a hit over with the walk paused: whoever is told may open it, and the
    // expansions on the way replay walks of their own over the same tables.
    bool tell(const Component_hit& found)
    {
        Walk_context& walk = walk_context();
        const Walk_tables tables = walk.tables();
        walk.set_watcher(nullptr);
        struct Resume {
            Walk_context& walk;
            const Walk_tables& tables;
            Walk_watcher* watcher;
            ~Resume()
            {
                walk.tables() = tables;
                walk.set_watcher(watcher);
            }
        } resume{walk, tables, this};
        return hit_(found);
    }

    const Query_matcher matcher_;
    const Hit_found& hit_;
    const Cancel_check& cancelled_;
    std::vector<int> indices_;
    // The open containers' names: each container outlives its children's calls;
    // records and groups entered without being made are named when a hit needs it.
    struct Level_name {
        const Bcl_str* name = nullptr;
        std::uint64_t first = 0;
        std::uint64_t last = 0;
        bool record = false;

        [[nodiscard]] Bcl_str text() const
        {
            if (name)
                return *name;
            return Bcl_str(record ? index_label(first) : range_label(first, last));
        }
    };
    std::vector<Level_name> names_;
    // Children seen so far in each open container, the root's first.
    std::vector<int> counts_{0};
    unsigned until_check_ = components_per_check;
    struct Verdict {
        const Define* item = nullptr;
        bool wants = true;
    };
    std::array<Verdict, 64> verdicts_{};
};

} // namespace

Find_end find_components(Data_mgr& document, const Component_query& query, const Hit_found& hit,
                         const Cancel_check& cancelled)
{
    if (!document.root_component())
        return Find_end::finished;
    // The walk runs over the tables of the analysis, which go on serving whoever
    // reads the variables: it leaves them as it found them.
    Walk_tables& tables = walk_context().tables();
    const Walk_tables saved = tables;
    struct Progress {
        explicit Progress(std::uint64_t total) { reporter().begin_progress(total); }
        ~Progress() { reporter().end_progress(); }
    } progress(document.size());
    Search search(query, hit, cancelled);
    Find_end end = Find_end::finished;
    try {
        watch_items(document.mutable_definition_items(), document.undefined_item(), document.first_node(), search);
    } catch (const Search_ended& ended) {
        end = ended.end;
    } catch (...) {
        tables = saved;
        throw;
    }
    tables = saved;
    return end;
}

std::vector<Component*> open_hit(Data_mgr& document, std::span<const int> indices)
{
    std::vector<Component*> path;
    Component* container = document.root_component();
    for (const int index : indices) {
        if (!container)
            break;
        if (container->has_children() && container->child_count() == 0) {
            try {
                container->expand();
            } catch (const Data_shortage&) {
                // The children made before the data ran out are there.
            }
        }
        if (index < 0 || index >= container->child_count())
            break;
        container = container->child(index);
        path.push_back(container);
    }
    return path;
}

std::optional<std::string> parse_hex_pattern(std::string_view text)
{
    std::string bytes;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == ' ' || text[i] == '\t') {
            ++i;
            continue;
        }
        if (i + 1 >= text.size() || hex_digit_value(text[i]) < 0 || hex_digit_value(text[i + 1]) < 0)
            return std::nullopt;
        bytes += static_cast<char>(hex_digit_value(text[i]) * 16 + hex_digit_value(text[i + 1]));
        i += 2;
    }
    if (bytes.empty())
        return std::nullopt;
    return bytes;
}

Find_end find_bytes(const Data_mgr& document, std::string_view pattern, const std::function<bool(std::uint64_t)>& hit,
                    const Cancel_check& cancelled)
{
    if (pattern.empty())
        return Find_end::finished;
    Progress_reporter& progress = reporter();
    progress.begin_progress(document.size());
    const auto first = static_cast<std::uint8_t>(pattern[0]);
    // Between checks the scan runs this many bytes without a call.
    constexpr std::uint32_t bytes_per_check = 1u << 20;
    Find_end end = Find_end::finished;
    std::uint32_t until_check = bytes_per_check;
    for (const Data_node* node = document.first_node(); node; node = node->next()) {
        if (--until_check == 0) {
            until_check = bytes_per_check;
            if (cancelled && cancelled()) {
                end = Find_end::cancelled;
                break;
            }
            progress.step(node->position());
        }
        if (node->value != first)
            continue;
        const Data_node* at = node->next();
        std::size_t matched = 1;
        for (; matched < pattern.size() && at && at->value == static_cast<std::uint8_t>(pattern[matched]); ++matched)
            at = at->next();
        if (matched == pattern.size() && !hit(node->position())) {
            end = Find_end::stopped;
            break;
        }
    }
    progress.end_progress();
    return end;
}
