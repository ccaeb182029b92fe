#pragma once

#include <string>

#include <cstdint>
#include <memory>
#include <vector>

#include "model/walk_bounds.h"
#include "model/walk_context.h"
#include "toolkit/text/bcl_str.h"

class Cmp_visitor;
class Data_node;

// A node of the analysis result. The plain base kind is used for the root and for
// the data-shortage marker. A component owns its children; `start`, `end` and the
// producing item are borrowed, so a tree is valid only until the next analysis.
class Component {
public:
    explicit Component(Data_node* start) : start_(start) {}
    Component(Bcl_str name, Bcl_str value_text, Data_node* start)
        : name_(std::move(name)), value_text_(std::move(value_text)), start_(start) {}
    virtual ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    virtual void accept(Cmp_visitor& visitor);
    // Const: views read them from paint code; kinds that compute them on first use
    // keep the result in the component's cache.
    [[nodiscard]] virtual const Bcl_str& name() const;
    [[nodiscard]] virtual const Bcl_str& value_text() const;
    // The value text as the window shows it: value_text() in UTF-8, but for a string
    // in another encoding than Shift-JIS its own characters, which Shift-JIS may
    // not hold.
    [[nodiscard]] virtual std::string value_utf8() const { return value_text().to_utf8(); }
    [[nodiscard]] virtual bool has_children() const { return true; }
    // The step of the walk that makes this container's children, which the replay
    // before its expansion stops short of (see Replay_target).
    [[nodiscard]] virtual Replay_target replay_target() const { return {}; }
    // Builds the children of a lazily filled container; the base does nothing.
    // A data shortage met on the way leaves the children made so far and passes
    // on to the caller.
    virtual void expand() {}

    // Appends `child` and returns it, for the caller to finish setting it up.
    template <typename Child>
    Child* add_child(std::unique_ptr<Child> child)
    {
        Child* added = child.get();
        children_.push_back(std::move(child));
        return added;
    }
    [[nodiscard]] int child_count() const { return static_cast<int>(children_.size()); }
    [[nodiscard]] Component* child(int i) const { return children_[static_cast<std::size_t>(i)].get(); }
    // Destroys the children; the component can be expanded again later.
    void clear_children();
    // Destroys the children from the one at `first` on.
    void remove_children_from(int first);

    [[nodiscard]] Data_node* start() const { return start_; }
    void set_start(Data_node* start) { start_ = start; }
    [[nodiscard]] Data_node* end() const { return end_; }
    void set_end(Data_node* end) { end_ = end; }
    // Bytes from start up to (not including) end; to the end of the data when end
    // is null.
    [[nodiscard]] std::uint32_t size() const;

protected:
    Bcl_str& stored_name() const { return name_; }
    Bcl_str& stored_value_text() const { return value_text_; }

    // Leaf kinds compute their value text on first use. A separate flag (rather than
    // "the text is empty") keeps an empty string from being recomputed on every call.
    [[nodiscard]] bool value_text_cached() const { return value_text_cached_; }
    void cache_value_text(Bcl_str text) const
    {
        value_text_ = std::move(text);
        value_text_cached_ = true;
    }
    void forget_value_text()
    {
        value_text_ = Bcl_str();
        value_text_cached_ = false;
    }

    // The expansion frame shared by every container kind: arms the progress with
    // `progress_total`, replays the walk up to this component's start so that the
    // variables and definition sets in force there are restored, then lets `build`
    // make the children with the walk bounds `bounds` (those of the walk that made
    // this component). Progress and bounds are reset however `build` ends.
    template <typename Build>
    void expand_after_replay(std::uint64_t progress_total, const Walk_bounds::State& bounds, Build build);

private:
    // Everything of expand_after_replay that needs the document.
    void begin_expansion(std::uint64_t progress_total, const Walk_bounds::State& bounds);
    static void end_expansion();

    std::vector<std::unique_ptr<Component>> children_;
    // The caches of name() and value_text(), filled on first use.
    mutable Bcl_str name_;
    mutable Bcl_str value_text_;
    Data_node* start_;
    Data_node* end_ = nullptr;
    mutable bool value_text_cached_ = false;
};

template <typename Build>
void Component::expand_after_replay(std::uint64_t progress_total, const Walk_bounds::State& bounds, Build build)
{
    struct Ender {
        ~Ender() { Component::end_expansion(); }
    };
    begin_expansion(progress_total, bounds);
    const Ender ender;
    build();
}
