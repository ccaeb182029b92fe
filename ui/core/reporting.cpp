#include "ui/core/reporting.h"

#include "toolkit/exception.h"
#include "toolkit/progress.h"
#include "ui/core/questions.h"

bool run_reporting(Message_box& messages, const std::function<void()>& operation)
{
    try {
        operation();
        return true;
    } catch (const Exception& failure) {
        reporter().end_progress();
        reporter().set_text(Bcl_str());
        messages.show_failure(failure.display_text());
        return false;
    }
}
