#pragma once

#include "model/component.h"
#include "model/def_float.h"

// A float item's value: its text is read from the data on first use, empty when
// the data ends inside the number.
class Cmp_float : public Component {
public:
    Cmp_float(Def_float* def, Data_node* start) : Component(start), def_(def) {}

    void accept(Cmp_visitor& visitor) override;
    [[nodiscard]] const Bcl_str& name() const override { return def_->name(); }
    [[nodiscard]] const Bcl_str& value_text() const override;
    [[nodiscard]] bool has_children() const override { return false; }

    [[nodiscard]] Def_float* def() const { return def_; }
    // Writes `value` as the item's bytes in the document's byte order (recorded for
    // undo; appended where the data ended inside the number); the first new byte
    // becomes the start.
    void set_value(double value);

private:
    Def_float* def_;
};
