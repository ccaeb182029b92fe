#include "ui/core/reporting.h"

#include "toolkit/exception.h"
#include "toolkit/progress.h"
#include "ui/core/questions.h"

namespace {

void reset_status()
{
    reporter().end_progress();
    reporter().set_text(Bcl_str());
}

} // namespace

bool run_reporting(Message_box& messages, const std::function<void()>& operation)
{
    try {
        operation();
        return true;
    } catch (const Exception& failure) {
        reset_status();
        messages.show_failure(failure.display_text());
        return false;
    } catch (const Operation_stopped&) {
        // The user's own doing, and left where nothing changed: no box.
        reset_status();
        return false;
    }
}
