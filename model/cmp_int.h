#pragma once

#include <cstdint>

#include "model/component.h"
#include "model/def_int.h"
#include "model/int_decoder.h"

// Shared by the three kinds an integer item produces (signed and unsigned decimal,
// hexadecimal): the item, the value as stored, whether the item has bit flags, and
// the data change. The expansion makes one Cmp_bitflag per flag.
//
// Each keeps the bits as read; the kind decides how the number is written when no
// named value matches (see int_decoder.h).
class Cmp_integer : public Component {
public:
    Cmp_integer(Def_int* def, std::uint64_t bits, bool has_flags, Data_node* start)
        : Component(start), def_(def), bits_(bits), has_flags_(has_flags) {}

    [[nodiscard]] const Bcl_str& name() const override { return def_->name(); }
    [[nodiscard]] const Bcl_str& value_text() const override;
    [[nodiscard]] bool has_children() const override { return has_flags_; }
    void expand() override;

    [[nodiscard]] Def_int* def() const { return def_; }
    [[nodiscard]] bool has_flags() const { return has_flags_; }
    // For the data change dialogs: the item's table, byte size and flag width.
    [[nodiscard]] const Named_values& named_values() const { return def_->named_values(); }
    [[nodiscard]] int int_size() const { return int_width(*def_); }
    [[nodiscard]] int flag_bits() const { return def_->flag_bits(); }

    // Writes `v` into the integer's bytes in the document's byte order (recorded for
    // undo); the first new byte becomes the start. The stored bits become what
    // reading the new bytes gives back.
    void set_value(std::int64_t v);

protected:
    // The bit pattern as read, without sign extension.
    [[nodiscard]] std::uint64_t bits() const { return bits_; }
    [[nodiscard]] virtual Int_format format() const = 0;

private:
    Def_int* def_;
    std::uint64_t bits_;
    bool has_flags_;
};

// A signed decimal integer: `value` is sign-extended from the item's size.
class Cmp_int : public Cmp_integer {
public:
    using Cmp_integer::Cmp_integer;

    void accept(Cmp_visitor& visitor) override;
    [[nodiscard]] std::int64_t value() const { return sign_extend(bits(), int_size()); }

protected:
    [[nodiscard]] Int_format format() const override { return Int_format::signed_decimal; }
};

// An unsigned decimal integer: `value` is the bit pattern as read.
class Cmp_uint : public Cmp_integer {
public:
    using Cmp_integer::Cmp_integer;

    void accept(Cmp_visitor& visitor) override;
    [[nodiscard]] std::uint64_t value() const { return bits(); }

protected:
    [[nodiscard]] Int_format format() const override { return Int_format::unsigned_decimal; }
};

// A hexadecimal integer (signed or not): `value` is the bit pattern as read.
class Cmp_hex : public Cmp_integer {
public:
    using Cmp_integer::Cmp_integer;

    void accept(Cmp_visitor& visitor) override;
    [[nodiscard]] std::uint64_t value() const { return bits(); }

protected:
    [[nodiscard]] Int_format format() const override { return Int_format::hexadecimal; }
};

// One bit flag of an integer: covers the integer's bytes and shows the bits
// `shift` ... `shift` + bit_count − 1 of the integer's raw value.
class Cmp_bitflag : public Component {
public:
    Cmp_bitflag(Def_bitflag* def, Def_int* owner, int shift, std::uint64_t raw, int int_size, Data_node* start)
        : Component(start), def_(def), owner_(owner), shift_(shift), raw_(raw), int_size_(int_size) {}

    void accept(Cmp_visitor& visitor) override;
    [[nodiscard]] const Bcl_str& name() const override { return def_->name(); }
    [[nodiscard]] const Bcl_str& value_text() const override;
    [[nodiscard]] bool has_children() const override { return false; }

    [[nodiscard]] Def_bitflag* def() const { return def_; }
    // The integer item that holds the flag.
    [[nodiscard]] Def_int* owner() const { return owner_; }
    [[nodiscard]] int shift() const { return shift_; }
    [[nodiscard]] std::uint64_t raw() const { return raw_; }
    [[nodiscard]] std::uint64_t flag_value() const { return flag_bits_of(raw_, shift_, def_->bit_count()); }
    [[nodiscard]] int int_size() const { return int_size_; }
    [[nodiscard]] int bit_count() const { return def_->bit_count(); }
    [[nodiscard]] const Named_values& named_values() const { return def_->named_values(); }
    [[nodiscard]] int flag_bits() const { return owner_->flag_bits(); }

    // Puts `v` (cut to the flag's width) into the flag's bits of the raw value and
    // writes the whole integer back; the change is tagged with the flag's shift.
    void set_value(std::int64_t v);

private:
    Def_bitflag* def_;
    Def_int* owner_;
    int shift_;
    std::uint64_t raw_;
    int int_size_;
};
