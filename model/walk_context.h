#pragma once

#include <cstdint>

#include "model/byte_order.h"
#include "model/data_node.h"
#include "model/walk_checkpoints.h"
#include "model/walk_tables.h"

// What a walk of the definition over the data needs from outside the items: the
// tables it keeps (variables, definition sets, bounds), the byte order, the
// positions of the data, and the replay that restores the tables in force at a
// byte. The items' walks (analysis, replay, expansion, text report), the components
// and the expressions reach it through walk_context(); the document is the one
// context of the program and installs itself when it is made.
class Define;

// The step of the walk a replay ends before: the walk entering `item` at the
// replay's stop byte, for one of its iterations when `iteration` (a record, a group
// of a loop's table) or for its whole walk (a loop's or a reference's table). A
// container's children are made by exactly that step, so the replay must not run
// any of it: the items that read nothing at its start (a variable set first in a
// record) would otherwise run twice. Without an item the first reading item entered
// at the stop byte ends the replay (the undefined bytes, a value's flags).
struct Replay_target {
    const Define* item = nullptr;
    bool iteration = false;
};

class Component;

// Told of every component a walk that makes none would have made, in the order of
// the fully expanded tree: a search's walk, which looks at each once and keeps none.
// The components live for the call only.
class Walk_watcher {
public:
    // A component without children.
    virtual void made(Component& component) = 0;
    // A container, alive until left(); what the walk makes next are its children.
    virtual void entered(Component& container) = 0;
    virtual void left() = 0;
    // The data ran out: every container entered is left, and `marker` follows at
    // the top level.
    virtual void ran_out(Component& marker) = 0;
    // Whether the component of the value item `item` (an integer with its flags, a
    // string) may be one the watcher looks for. When not, the walk makes none and
    // tells it counted() in its place: a watched walk meets one per value of the data.
    [[nodiscard]] virtual bool wants(const Define& item) = 0;
    virtual void counted() = 0;
    // Whether a loop's records and groups, named by their indices ("[7]",
    // "[0 - 1023]"), may be what the watcher looks for. When not, the walk enters
    // them by entered_iterations() instead, without making them: iterations `first`
    // to `last` (one record when `record`), whose name is made only when needed.
    [[nodiscard]] virtual bool wants_labels() = 0;
    virtual void entered_iterations(std::uint64_t first, std::uint64_t last, bool record) = 0;

protected:
    ~Walk_watcher() = default;
};

// The built-in names of expressions that read where the walk stands: "_pos", the
// offset of the current byte, and "_rest", the bytes from it to the end of the data.
// A name is on only when the definition reads it and binds no variable of that
// name anywhere (an integer's, a flag's or an assignment's variable): a definition
// that uses such a name for its own variable reads it exactly as it always did.
struct Builtin_names {
    bool pos = false;
    bool rest = false;

    friend bool operator==(const Builtin_names&, const Builtin_names&) = default;
};

class Walk_context {
public:
    Walk_context() = default;
    virtual ~Walk_context() = default;
    Walk_context(const Walk_context&) = delete;
    Walk_context& operator=(const Walk_context&) = delete;

    // The tables of the walk in progress.
    [[nodiscard]] Walk_tables& tables() { return tables_; }
    [[nodiscard]] const Walk_tables& tables() const { return tables_; }
    // The points of the last analysis that replays and expansions go on from.
    [[nodiscard]] Walk_checkpoints& checkpoints() { return checkpoints_; }
    [[nodiscard]] const Walk_checkpoints& checkpoints() const { return checkpoints_; }

    [[nodiscard]] virtual Byte_order byte_order() const = 0;
    // The number of data bytes.
    [[nodiscard]] virtual std::uint32_t data_size() const = 0;
    // The node's position, or data_size() for null (the end of the data).
    [[nodiscard]] std::uint32_t position_of(const Data_node* node) const { return node ? node->position() : data_size(); }
    // The byte `count` bytes after `from` (null: past the end of the data), as
    // stepping along the list finds it; the document finds it faster.
    [[nodiscard]] virtual Data_node* node_after(Data_node* from, std::uint64_t count) const
    {
        for (; count > 0 && from; --count)
            from = from->next();
        return from;
    }
    // Walks the definition up to `stop` (null: the end of the data) without making
    // components, leaving in tables() what the walk from the first byte had set by
    // the time it got there, just before `target` when it names an item; it goes on
    // from the last checkpoint before `stop` when there is one.
    void replay_to(Data_node* stop, Replay_target target = {})
    {
        struct Restore {
            Walk_context& context;
            Replay_target before;
            ~Restore() { context.target_ = before; }
        } restore{*this, target_};
        target_ = target;
        replay(stop);
    }
    // The target of the replay in progress (no item outside a replay).
    [[nodiscard]] const Replay_target& replay_target() const { return target_; }

    // The built-in names that are on for the definition being walked (see
    // builtin_names_of); set where each walk of it begins.
    [[nodiscard]] Builtin_names builtins() const { return builtins_; }
    void set_builtins(Builtin_names names) { builtins_ = names; }

    // The watcher of a walk without components, or null: such walks then only skip,
    // count and replay. Set for the length of one walk (see watch_items).
    [[nodiscard]] Walk_watcher* watcher() const { return watcher_; }
    void set_watcher(Walk_watcher* watcher) { watcher_ = watcher; }

protected:
    // replay_to() without the target, which the walk reads from replay_target().
    virtual void replay(Data_node* stop) = 0;

private:
    friend Walk_context& walk_context();
    friend void set_walk_context(Walk_context* context);
    // The context in force when none is installed: a walk over no data.
    static Walk_context& no_data();
    // Read by every item of a walk: inline, without a function call.
    static inline Walk_context* installed_ = nullptr;

    Walk_tables tables_;
    Walk_checkpoints checkpoints_;
    Replay_target target_;
    Builtin_names builtins_;
    Walk_watcher* watcher_ = nullptr;
};

// The program's walk context: the one installed, or one over no data (big-endian,
// no bytes, nothing to replay) when none is.
[[nodiscard]] inline Walk_context& walk_context()
{
    return Walk_context::installed_ ? *Walk_context::installed_ : Walk_context::no_data();
}
// Installs `context` (not owned); nullptr restores the one over no data.
inline void set_walk_context(Walk_context* context) { Walk_context::installed_ = context; }
