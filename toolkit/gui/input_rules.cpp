#include "toolkit/gui/input_rules.h"

Busy_verdict busy_verdict(Operation_kind operation, Busy_input input)
{
    const bool finding = operation == Operation_kind::finding;
    switch (input) {
    case Busy_input::stop_key:
    case Busy_input::stop_button:
        return Busy_verdict::stop;
    case Busy_input::close:
        return finding ? Busy_verdict::stop : Busy_verdict::eat;
    case Busy_input::view_wheel:
    case Busy_input::scroll_bar:
        return finding ? Busy_verdict::pass : Busy_verdict::eat;
    case Busy_input::other:
        break;
    }
    return Busy_verdict::eat;
}
