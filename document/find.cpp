#include "document/find.h"

#include "document/data_mgr.h"
#include "document/place_path.h"
#include "model/cmp_int.h"
#include "model/cmp_visitor.h"
#include "model/component.h"
#include "model/data_node.h"
#include "model/int_decoder.h"
#include "toolkit/exception.h"
#include "toolkit/progress.h"
#include "toolkit/text/bcl_str.h"
#include "toolkit/text/number_text.h"

namespace {

// A component's number and whether it is a value at all: tables, records, the root
// and the shortage marker show no value of their own.
class Value_visitor final : public Cmp_visitor {
public:
    void visit_component(Component&) override {}
    void visit_fix_str(Cmp_fix_str&) override { is_value = true; }
    void visit_flex_str(Cmp_flex_str&) override { is_value = true; }
    void visit_null_str(Cmp_null_str&) override { is_value = true; }
    void visit_int(Cmp_int& c) override { integer(c.def()->is_signed(), c.value(), c); }
    void visit_uint(Cmp_uint& c) override { integer(false, static_cast<std::int32_t>(c.value()), c); }
    void visit_hex(Cmp_hex& c) override { integer(c.def()->is_signed(), static_cast<std::int32_t>(c.value()), c); }
    void visit_bitflag(Cmp_bitflag& c) override
    {
        is_value = true;
        number = c.flag_value();
    }
    void visit_nodef(Cmp_nodef&) override { is_value = true; }
    void visit_tbl(Cmp_tbl&) override {}
    void visit_rec(Cmp_rec&) override {}

    bool is_value = false;
    std::optional<std::int64_t> number;

private:
    // `value` holds the bits (or the sign-extended value); unsigned items count
    // from 0 up to 2^32 - 1.
    void integer(bool is_signed, std::int32_t value, const Cmp_integer& c)
    {
        is_value = true;
        number = is_signed ? sign_extend(static_cast<std::uint32_t>(value), c.int_size())
                           : static_cast<std::int64_t>(static_cast<std::uint32_t>(value));
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
std::optional<std::int64_t> query_number(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    const std::optional<std::uint64_t> magnitude = parse_offset(text);
    if (!magnitude || *magnitude > (std::uint64_t{1} << 32))
        return std::nullopt;
    const auto value = static_cast<std::int64_t>(*magnitude);
    return negative ? -value : value;
}

// Cancel checks and progress steps cost a call each: once per this many components.
constexpr unsigned components_per_check = 4096;

} // namespace

bool component_matches(const Component& component, const Component_query& query)
{
    if (query.kind == Component_query::Kind::name)
        return holds_text(component.name().view(), query.text, true);
    Value_visitor value;
    const_cast<Component&>(component).accept(value);
    if (!value.is_value)
        return false;
    if (const std::optional<std::int64_t> number = query_number(query.text); number && value.number == number)
        return true;
    return holds_text(component.value_text().view(), query.text, false);
}

Find_end find_components(Data_mgr& document, const Component_query& query, const Hit_found& hit,
                         const Cancel_check& cancelled)
{
    Component* root = document.root_component();
    if (!root)
        return Find_end::finished;
    Progress_reporter& progress = reporter();
    const std::uint64_t total = document.size();
    progress.begin_progress(total);

    // Depth first without recursion (expansions nest as deep as the data is long):
    // one frame per container entered, the next child to look at, and whether the
    // search expanded it (and so collapses it when done).
    struct Frame {
        Component* container;
        int next;
        bool expanded_here;
    };
    std::vector<Frame> frames{{root, 0, false}};
    std::vector<Component*> path;
    unsigned until_check = components_per_check;
    const auto hit_of = [](const std::vector<Frame>& frames, const std::vector<Component*>& path) {
        Component_hit found;
        for (const Frame& frame : frames)
            found.indices.push_back(frame.next - 1);
        for (const Component* component : path)
            found.names.push_back(component->name());
        found.value_text = path.back()->value_text();
        if (const Data_node* start = path.back()->start())
            found.offset = start->position;
        return found;
    };
    Find_end end = Find_end::finished;
    while (!frames.empty()) {
        Frame& frame = frames.back();
        if (frame.next >= frame.container->child_count()) {
            if (frame.expanded_here)
                frame.container->clear_children();
            frames.pop_back();
            if (!path.empty())
                path.pop_back();
            continue;
        }
        Component* component = frame.container->child(frame.next++);
        path.push_back(component);
        if (--until_check == 0) {
            until_check = components_per_check;
            if (cancelled && cancelled()) {
                end = Find_end::cancelled;
                break;
            }
            if (const Data_node* start = component->start())
                progress.step(start->position);
        }
        if (component_matches(*component, query) && !hit(hit_of(frames, path))) {
            end = Find_end::stopped;
            break;
        }
        if (!component->has_children()) {
            path.pop_back();
            continue;
        }
        const bool expand = component->child_count() == 0;
        if (expand) {
            try {
                component->expand();
            } catch (const Data_shortage&) {
                // The children made before the data ran out are searched.
            }
            // An expansion arms the progress for itself and ends it.
            progress.begin_progress(total);
        }
        frames.push_back({component, 0, expand});
    }
    // Leaving early still collapses what the search expanded.
    for (auto frame = frames.rbegin(); frame != frames.rend(); ++frame)
        if (frame->expanded_here)
            frame->container->clear_children();
    progress.end_progress();
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
            progress.step(node->position);
        }
        if (node->value != first)
            continue;
        const Data_node* at = node->next();
        std::size_t matched = 1;
        for (; matched < pattern.size() && at && at->value == static_cast<std::uint8_t>(pattern[matched]); ++matched)
            at = at->next();
        if (matched == pattern.size() && !hit(node->position)) {
            end = Find_end::stopped;
            break;
        }
    }
    progress.end_progress();
    return end;
}
