#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "document/find.h"
#include "ui/core/dump_caret.h"

// The find bar's plain logic: what the user typed read as a query, which hit a
// search forwards or backwards goes to, and the texts the bar shows.

// What the bar's text is, in the order of its radio buttons.
enum class Find_kind { name, value, bytes, text };
enum class Find_direction { next, previous };

// A search to run: components, or a byte pattern; or, with an error (UTF-8), none.
struct Find_query {
    std::optional<Component_query> components;
    std::string bytes;
    std::string error;
};

// The bar's text (UTF-8) read as `kind` says: names and values and texts in
// Shift-JIS as the data holds them, bytes as a hexadecimal pattern. An empty text,
// a bad pattern or a character Shift-JIS lacks is an error.
[[nodiscard]] Find_query make_find_query(Find_kind kind, std::string_view utf8_text);

// Where a byte search starts from the dump's caret: after the selection's first
// byte (a hit found before is selected) or from the caret itself, forwards; before
// the selection or the caret, backwards. A search forwards with the caret on the
// first byte and nothing selected starts at the beginning (none).
[[nodiscard]] std::optional<std::uint64_t> byte_search_from(const Dump_caret& caret, Find_direction direction);

// Chooses the hit a search goes to among hits handed in tree (or byte) order: the
// first after `from`, or the last before it, going round the other end once when
// there is none. Without `from` the first or last hit, with nothing gone round.
template <typename Key>
class Hit_choice {
public:
    Hit_choice(std::optional<Key> from, Find_direction direction) : from_(std::move(from)), direction_(direction) {}

    // Told each hit in order; false once the choice is made, so that the search can stop.
    bool offer(const Key& key)
    {
        ++seen_;
        if (direction_ == Find_direction::next) {
            if (!first_)
                first_ = key;
            if (from_ && !(*from_ < key))
                return true;
            choose(std::optional<Key>(key), seen_, false);
            return false;
        }
        if (from_ && !(key < *from_) && !passed_) {
            passed_ = true;
            if (last_) {
                choose(last_, seen_ - 1, false);
                return false;
            }
        }
        last_ = key;
        return true;
    }
    // After the search ran to the end: the choice round the other end, if any.
    void finish()
    {
        if (chosen_)
            return;
        if (direction_ == Find_direction::next && first_)
            choose(first_, 1, true);
        else if (direction_ == Find_direction::previous && last_)
            choose(last_, seen_, passed_);
    }

    [[nodiscard]] const std::optional<Key>& chosen() const { return chosen_; }
    // The hits offered so far.
    [[nodiscard]] std::uint64_t seen() const { return seen_; }
    // The chosen hit's place among all hits, 1 for the first.
    [[nodiscard]] std::uint64_t ordinal() const { return ordinal_; }
    [[nodiscard]] bool wrapped() const { return wrapped_; }

private:
    // Takes the hit as an optional: copied whole, never read out of an empty one.
    void choose(const std::optional<Key>& key, std::uint64_t ordinal, bool wrapped)
    {
        chosen_ = key;
        ordinal_ = ordinal;
        wrapped_ = wrapped;
    }

    std::optional<Key> from_;
    Find_direction direction_;
    std::optional<Key> first_;
    std::optional<Key> last_;
    // Backwards: a hit at or after `from` was offered.
    bool passed_ = false;
    std::optional<Key> chosen_;
    std::uint64_t seen_ = 0;
    std::uint64_t ordinal_ = 0;
    bool wrapped_ = false;
};

// How a search of the bar ended.
struct Find_result {
    enum class End { found, not_found, cancelled };
    End end = End::not_found;
    Find_direction direction = Find_direction::next;
    std::uint64_t ordinal = 0;
    bool wrapped = false;
};

// The status bar's text while a search runs, with the hits found so far. UTF-8.
[[nodiscard]] std::string find_progress_text(std::uint64_t hits);
// The bar's note after a search. UTF-8.
[[nodiscard]] std::string find_result_text(const Find_result& result);
