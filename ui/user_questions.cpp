#include "ui/user_questions.h"

#include "toolkit/gui/bcl_filedlg.h"
#include "toolkit/gui/bcl_msgbox.h"

namespace {

std::optional<File_path> choose(Bcl_wnd* owner, Bcl_filedlg::Mode mode, std::span<const File_filter> filters)
{
    Bcl_filedlg dialog(mode);
    for (const File_filter& filter : filters)
        dialog.add_filter(filter.description, filter.pattern);
    if (dialog.run(owner) != 1)
        return std::nullopt;
    return dialog.path();
}

} // namespace

Save_prompt::Answer User_questions::ask_save(const std::string& text)
{
    switch (bcl_message_box(&owner_, text, "ケストリクス", Bcl_buttons::yes_no_cancel)) {
    case Bcl_answer::yes:
        return Answer::yes;
    case Bcl_answer::no:
        return Answer::no;
    case Bcl_answer::ok:
    case Bcl_answer::cancel:
        break;
    }
    return Answer::cancel;
}

std::optional<File_path> User_questions::choose_open(std::span<const File_filter> filters)
{
    return choose(&owner_, Bcl_filedlg::Mode::open, filters);
}

std::optional<File_path> User_questions::choose_save(std::span<const File_filter> filters)
{
    return choose(&owner_, Bcl_filedlg::Mode::save, filters);
}

void User_questions::show_message(const std::string& text) { bcl_message_box(&owner_, text, "ケストリクス"); }

void User_questions::show_failure(const std::string& text)
{
    bcl_message_box(&owner_, text, "ケストリクス", Bcl_buttons::ok, Bcl_icon::warning);
}
