#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string_view>
#include <utility>
#include <vector>

#include "model/expr_value.h"
#include "model/walk_bounds.h"
#include "toolkit/text/bcl_str.h"
#include "toolkit/memory/small_copy.h"

class Def_def_set;

// The variables of a walk: values by name, names compared byte for byte. A name
// that was never set reads 0, and reading never adds it. The expression evaluator
// reads a table of this kind and nothing else.
//
// The entries are a vector sorted by name. A walk has a handful of variables and
// sets one for every integer bound to it, so the search compares lengths and
// bytes inline (a tree's ordered comparisons each cost a library call); a table
// with many variables is searched by halves.
class Variable_table {
public:
    using Entry = std::pair<Bcl_str, Expr_value>;
    using Values = std::vector<Entry>;

    // The low 32 bits of the value, as the language's 32-bit values read.
    [[nodiscard]] std::int32_t get(std::string_view name) const { return value(name).low(); }
    [[nodiscard]] Expr_value value(std::string_view name) const
    {
        const Entry* entry = find(name);
        return entry ? entry->second : Expr_value();
    }
    void set(const Bcl_str& name, Expr_value value)
    {
        if (Entry* entry = find(name.view()))
            entry->second = value;
        else
            insert(name, value);
    }
    void clear() { values_.clear(); }
    // Sorted by name.
    [[nodiscard]] const Values& values() const { return values_; }

    friend bool operator==(const Variable_table&, const Variable_table&) = default;

private:
    // Up to this many entries a search looks at each in turn.
    static constexpr std::size_t linear_search_limit = 16;

    [[nodiscard]] const Entry* find(std::string_view name) const
    {
        if (values_.size() > linear_search_limit)
            return find_sorted(name);
        for (const Entry& entry : values_) {
            if (entry.first.size() == name.size() && same_small(entry.first.data(), name.data(), name.size()))
                return &entry;
        }
        return nullptr;
    }
    [[nodiscard]] Entry* find(std::string_view name)
    {
        return const_cast<Entry*>(std::as_const(*this).find(name));
    }
    [[nodiscard]] const Entry* find_sorted(std::string_view name) const;
    void insert(const Bcl_str& name, Expr_value value);

    Values values_;
};

// The definition sets a walk has registered, by name; the sets are borrowed from the
// definition. Registering a name again replaces its set.
class Definition_sets {
public:
    [[nodiscard]] Def_def_set* find(std::string_view name) const
    {
        const auto found = sets_.find(name);
        return found == sets_.end() ? nullptr : found->second;
    }
    void add(const Bcl_str& name, Def_def_set* set);
    void clear() { sets_.clear(); }
    [[nodiscard]] std::size_t size() const { return sets_.size(); }

    friend bool operator==(const Definition_sets&, const Definition_sets&) = default;

private:
    std::map<Bcl_str, Def_def_set*, std::less<>> sets_;
};

// Everything a walk of the definition over the data keeps as it goes, besides the
// byte it stands at: its variables, its definition sets and its bounds. Plain
// values: a copy taken at some point of a walk is what a walk resumed from there
// needs.
struct Walk_tables {
    Variable_table variables;
    Definition_sets definition_sets;
    Walk_bounds bounds;

    // Empties the tables and starts the bounds afresh: every walk from the first
    // byte begins so.
    void start()
    {
        variables.clear();
        definition_sets.clear();
        bounds.start();
    }

    // Whether a walk standing at data offset `position` goes on the same with
    // these tables as with `other`: the bounds count the references followed at the
    // walk's own offset only.
    [[nodiscard]] bool same_ahead(const Walk_tables& other, std::uint64_t position) const
    {
        return variables == other.variables && definition_sets == other.definition_sets &&
               bounds.now(position) == other.bounds.now(position);
    }

    friend bool operator==(const Walk_tables&, const Walk_tables&) = default;
};
