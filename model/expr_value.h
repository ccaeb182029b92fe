#pragma once

#include <cstdint>

// A value of the expression language. Its own values are 32-bit; a value read from
// an 8-byte integer is 64-bit ("wide"), and so is every arithmetic result that one
// takes part in. A 32-bit value remembers whether it was read as unsigned (from an
// unsigned integer or a bit flag), which decides how it widens when it meets a
// 64-bit one. The rule itself is in engine/expression.h.
struct Expr_value {
    std::int64_t value = 0;  // a 32-bit value is held sign-extended
    bool wide = false;
    bool is_unsigned = false;  // of a 32-bit value only

    constexpr Expr_value() = default;
    // A 32-bit signed value: literals and everything the language made before.
    constexpr Expr_value(std::int32_t narrow) : value(narrow) {}
    // A 64-bit number says which width it has through the makers below.
    Expr_value(std::int64_t) = delete;

    [[nodiscard]] static constexpr Expr_value of_wide(std::int64_t v)
    {
        Expr_value result;
        result.value = v;
        result.wide = true;
        return result;
    }
    [[nodiscard]] static constexpr Expr_value of_unsigned(std::uint32_t bits)
    {
        Expr_value result(static_cast<std::int32_t>(bits));
        result.is_unsigned = true;
        return result;
    }

    // The 64-bit number the value stands for: a 32-bit unsigned value zero-extended,
    // a signed one sign-extended.
    [[nodiscard]] constexpr std::int64_t widened() const
    {
        return wide || !is_unsigned ? value : std::int64_t{static_cast<std::uint32_t>(value)};
    }
    // The low 32 bits, as the language's 32-bit values are read.
    [[nodiscard]] constexpr std::int32_t low() const
    {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
    }

    friend bool operator==(const Expr_value&, const Expr_value&) = default;
};
