#include "support/scripted_user.h"

Save_prompt::Answer Scripted_user::ask_save(const std::string& text)
{
    prompts.push_back(text);
    if (answers.empty()) {
        unexpected.push_back("prompt: " + text);
        return Answer::cancel;
    }
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

namespace {

std::optional<File_path> next_file(std::deque<std::optional<File_path>>& files, std::vector<std::string>& unexpected,
                                   const std::string& what)
{
    if (files.empty()) {
        unexpected.push_back(what);
        return std::nullopt;
    }
    auto file = files.front();
    files.pop_front();
    return file;
}

} // namespace

std::optional<File_path> Scripted_user::choose_open(std::span<const File_filter> filters)
{
    dialogs.push_back("open " + (filters.empty() ? std::string() : filters.front().pattern));
    return next_file(files, unexpected, dialogs.back());
}

std::optional<File_path> Scripted_user::choose_save(std::span<const File_filter> filters)
{
    dialogs.push_back("save " + (filters.empty() ? std::string() : filters.front().pattern));
    return next_file(files, unexpected, dialogs.back());
}

void Recording_view::refresh_definition_list(Define* select)
{
    calls.emplace_back("refresh_definition_list");
    selected = select;
}

void Recording_view::rebuild_data_tree(Data_place show)
{
    calls.emplace_back("rebuild_data_tree");
    shown = show;
}
