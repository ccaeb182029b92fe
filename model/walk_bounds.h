#pragma once

#include <cstdint>

#include "model/limits.h"

// The bounds a walk of the definition over the data keeps: the analysis with its
// replays and expansions, and the text report. Both ask the same question at every
// reference, so the report follows exactly the references the data tree shows. A
// reference that is not followed is treated like a reference to a set that is not
// registered: nothing shown, nothing consumed.
//
// One object per walk context (see Walk_tables); a copy taken during a walk is the
// state a walk resumed from that point needs.
class Walk_bounds {
public:
    // One open loop, branch or followed reference of `bounds`, for as long as it
    // lives.
    class Level {
    public:
        explicit Level(Walk_bounds& bounds, bool reference = false) : bounds_(bounds), reference_(reference)
        {
            ++bounds_.walks_;
            if (reference_) {
                ++bounds_.references_;
                ++bounds_.idle_references_;
            }
        }
        ~Level()
        {
            --bounds_.walks_;
            if (reference_)
                --bounds_.references_;
        }
        Level(const Level&) = delete;
        Level& operator=(const Level&) = delete;

    private:
        Walk_bounds& bounds_;
        bool reference_;
    };

    // What a walk has open at one point, and how many references it has followed
    // at the data offset it stands at. A container component keeps the state of
    // the walk that made it, and its expansion goes on from there: the children
    // are then bounded as they were in the walk from the first byte (and in the
    // text report), and nested expansions at one offset share one count of idle
    // references instead of each starting afresh.
    struct State {
        int walks = 0;
        int references = 0;
        int idle_references = 0;

        friend bool operator==(const State&, const State&) = default;
    };

    // The state now, for a component that starts at data offset `position`.
    [[nodiscard]] State now(std::uint64_t position) const
    {
        return {walks_, references_, position == idle_position_ ? idle_references_ : 0};
    }

    // A walk from the first byte begins with nothing followed yet.
    void start()
    {
        idle_position_ = 0;
        idle_references_ = 0;
    }

    // Continues from `state` at data offset `position`: for the walk that builds an
    // expansion's children, and with State{} to close everything again afterwards.
    void resume(const State& state, std::uint64_t position)
    {
        walks_ = state.walks;
        references_ = state.references;
        idle_position_ = position;
        idle_references_ = state.idle_references;
    }

    // Whether a reference met at data offset `position` is followed: not when
    // limits::max_reference_depth references or limits::max_walk_nesting levels
    // are open around it, nor when limits::max_idle_references have already been
    // followed at this position. Offsets only grow during a walk, so an unchanged
    // offset means nothing was read since.
    [[nodiscard]] bool reference_allowed(std::uint64_t position)
    {
        if (position != idle_position_) {
            idle_position_ = position;
            idle_references_ = 0;
        }
        return references_ < limits::max_reference_depth && walks_ < limits::max_walk_nesting &&
               idle_references_ < limits::max_idle_references;
    }

    friend bool operator==(const Walk_bounds&, const Walk_bounds&) = default;

private:
    int walks_ = 0;
    int references_ = 0;
    std::uint64_t idle_position_ = 0;
    int idle_references_ = 0;
};
