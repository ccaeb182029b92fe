#pragma once

#include <cstddef>

// Limits that protect the program against hostile or broken input. Each is a named
// constant here, with the reason it exists; every layer takes its bounds from here.
namespace limits {

// Largest data file the document addresses: positions and sizes are 32-bit.
inline constexpr unsigned long long max_data_size = 0xFFFFFFFFull;

// Longest fixed-length string, in bytes: what the definition file's one-byte length
// field and the JSON reader accept. Changing the string's text writes exactly its
// length of bytes, so a length beyond this (which only a broken item could carry) is
// held to it, by the analysis and the report as well, rather than building a chain
// of whatever size the item claims.
inline constexpr int max_fixed_string_length = 255;

// Most entries one table of the component tree holds. A loop's records and the
// undefined bytes are split into groups of a power of this many so that a view
// never lists more than this under one node, however large the data.
inline constexpr unsigned max_table_entries = 1024;

// Deepest nesting of item records a definition file may hold (top-level items are
// level 1). Reading, destroying, saving and walking a definition all recurse once
// per level, so a hostile file nesting loops a million deep would overflow the
// stack; no real layout comes near this.
inline constexpr int max_definition_depth = 256;

// The fuzz build divides the three walk bounds below by 16 (KESTRIX_SMALL_WALK_LIMITS):
// a definition that meets them nests hundreds of components deep, and every expansion
// of such a tree walks all of that depth, which under the sanitizers takes minutes
// per input. Scaled down, the fuzzers reach the same bounds, in the same order, in
// milliseconds.
#ifdef KESTRIX_SMALL_WALK_LIMITS
#define KESTRIX_WALK_LIMIT(n) ((n) / 16)
#else
#define KESTRIX_WALK_LIMIT(n) (n)
#endif

// Deepest nesting of items the walks (analysis and text report) enter, counting
// every loop, branch and definition reference. A definition set that refers to
// itself (directly or through other sets) would otherwise recurse once per record
// of the data until the stack overflows; a reference met deeper than this is
// treated like a reference to a set that is not registered.
inline constexpr int max_walk_nesting = KESTRIX_WALK_LIMIT(1024);

// Deepest chain of definition references the analysis follows inside one another.
// A set that refers to itself (directly or through other sets) would otherwise
// recurse without end; a reference met this deep is treated like a reference to a
// set that is not registered: no component, nothing consumed. The analysis also
// refuses a reference once max_walk_nesting loops, branches and references are
// open around it, which bounds the stack however the sets nest their items.
inline constexpr int max_reference_depth = KESTRIX_WALK_LIMIT(256);

// Most definition references a walk follows at one data position, that is without
// reading a byte in between. Loops end when an iteration reads nothing, but
// references do not: a set holding two references to itself, or a chain of sets
// each referring twice to the next, would otherwise be followed 2^256 times at the
// same place (and the text report would write a line for each). A reference met
// once this many have been followed at its position is treated like a reference to
// a set that is not registered. Real layouts follow a handful per position.
inline constexpr int max_idle_references = KESTRIX_WALK_LIMIT(1024);

// Deepest nesting of parentheses the expression evaluator descends into. Each level
// costs one pass through all ten grammar levels on the stack; a parenthesised part
// deeper than this counts as a missing operand (0). Hand-written expressions never
// come near it.
inline constexpr int max_expression_depth = 64;

} // namespace limits
