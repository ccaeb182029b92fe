#pragma once

#include <deque>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "document/data_mgr.h"
#include "ui/core/questions.h"
#include "ui/core/state.h"

// Answers the modes' questions from a script and records what was asked and shown.
// A question the script did not foresee is an error of the test: it is recorded
// and answered with Cancel (or no file).
class Scripted_user : public Save_prompt, public File_chooser, public Message_box {
public:
    Answer ask_save(const std::string& text) override;
    std::optional<File_path> choose_open(std::span<const File_filter> filters) override;
    std::optional<File_path> choose_save(std::span<const File_filter> filters) override;
    void show_message(const std::string& text) override { messages.push_back(text); }
    // Failures are messages too; the count tells them from reports of work done.
    void show_failure(const std::string& text) override
    {
        messages.push_back(text);
        ++failures;
    }

    User_io io() { return {*this, *this, *this}; }

    std::deque<Answer> answers;
    std::deque<std::optional<File_path>> files;  // for both dialogs, in order
    std::vector<std::string> prompts;
    std::vector<std::string> messages;
    int failures = 0;
    std::vector<std::string> dialogs;            // "open" or "save" with the first filter's pattern
    std::vector<std::string> unexpected;
};

// Records the window operations a mode calls, in order, with their arguments.
class Recording_view : public Mode_view {
public:
    void refresh_definition_list(Define* select) override;
    void rebuild_data_tree(Data_place show) override;
    void refresh_dump() override { calls.emplace_back("refresh_dump"); }
    void update_title() override { calls.emplace_back("update_title"); }
    void update_command_states() override { calls.emplace_back("update_command_states"); }

    std::vector<std::string> calls;
    Define* selected = nullptr;
    Data_place shown;
};
