#pragma once

// Definitions and data made from a string of bytes, for the randomized agreement
// test (bytes from a seeded generator) and its fuzz target (bytes from libFuzzer,
// whose mutations then make nearby definitions).

#include <cstddef>
#include <string>
#include <string_view>

// Decisions taken one by one from the front of a byte string. Past the end every
// decision is the first choice, so any bytes describe something.
class Choices {
public:
    explicit Choices(std::string_view bytes) : bytes_(bytes) {}

    // A number from 0 to n − 1.
    unsigned below(unsigned n);
    // Up to `count` bytes.
    std::string_view take(std::size_t count);

private:
    std::string_view bytes_;
};

// Builds a definition from `choices` into the document, which must hold none: every
// item kind, integers of every size, sign and display with named values and bit
// flags (wider than 32 bits in all), nested loops, branches and references to
// definition sets (recursive ones too), loop counts and conditions over the
// variables the integers and flags bind.
//
// Variable assignments stand only at the start, with constant values, and every
// definition set is registered once, before anything reads. That keeps to the
// layouts whose tree shows what the report shows: expanding a component replays
// the walk up to its first byte, and that replay also runs the assignments and
// registrations standing at that byte ahead of the first item that reads; a layout
// that changes a variable or a set there shows its later value in the tree.
void build_random_definition(Choices& choices);

// The same with variable assignments (over the variables, such as "c + 1") and
// definition sets also standing anywhere, inside loops and branches, for checks
// that compare one walk with another rather than the tree with the report.
void build_random_walk_definition(Choices& choices);

// 1024 bytes for Choices from a generator seeded with `seed`: the same on every run.
[[nodiscard]] std::string seeded_choices(unsigned seed);

// Up to `max_size` bytes of data from `choices`, small values and line breaks more
// often than not, so that counts stay small and strings hold several lines.
[[nodiscard]] std::string random_data(Choices& choices, std::size_t max_size);
