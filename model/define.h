#pragma once

#include <map>
#include <cstdint>

#include "model/item_list.h"
#include "toolkit/text/bcl_str.h"

class Bcl_binaryfile;
class Bcl_textfile;
class Component;
class Data_node;
class Def_visitor;

// A table of named values ("定義値"): meanings by signed value (32-bit values for
// integers of up to 4 bytes, 64-bit for 8 bytes), kept in ascending signed order,
// one meaning per value.
using Named_values = std::map<std::int64_t, Bcl_str>;

// Abstract base of all definition items.
//
// Each item class's operations live with the layer that needs them, one file per
// job: its data, copying and accept() in model/ (the class's own file), analyze()
// in engine/analyze_*.cpp, write_analysis() in document/report.cpp and save() in
// document/definition_file.cpp. Each class's header lists its files ("Defined in").
//
// The walking operations take `cur`, the first byte the item may read (null when the
// data is used up), `parent`, where to add components (null: walk without building
// any), and `stop`, the byte at which a replay must stop (or null). Each returns the
// byte after what the item consumed.
class Define {
public:
    explicit Define(Bcl_str name) : name_(std::move(name)) {}
    virtual ~Define() = default;
    Define(const Define&) = delete;
    Define& operator=(const Define&) = delete;

    virtual Data_node* analyze(Data_node* cur, Component* parent, Data_node* stop) = 0;
    virtual Data_node* analyze_range(Data_node* cur, Component* parent, Data_node* stop,
                                     unsigned from, unsigned to, unsigned group);
    virtual Data_node* analyze_once(Data_node* cur, Component* parent, Data_node* stop);
    virtual void write_analysis(Bcl_binaryfile& in, Bcl_textfile& out, int indent) = 0;
    virtual void accept(Def_visitor& visitor) = 0;
    // Takes `item` out of this container's list without destroying it and hands it
    // over with the item that now stands where it stood; nothing when it is not there.
    [[nodiscard]] virtual Removed_item remove_child(Define* item);
    virtual void save(Bcl_binaryfile& out) const = 0;
    // The lowest definition file format that holds this item and everything in it.
    [[nodiscard]] virtual int format_needed() const;

    [[nodiscard]] Define* parent() const { return parent_; }
    void set_parent(Define* parent) { parent_ = parent; }
    // The name; for an If its condition, for a set-variable item the variable.
    [[nodiscard]] const Bcl_str& name() const { return name_; }
    void set_name(Bcl_str name) { name_ = std::move(name); }

private:
    Define* parent_ = nullptr;
    Bcl_str name_;
};
