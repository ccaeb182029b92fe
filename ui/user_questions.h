#pragma once

#include "ui/core/questions.h"

class Bcl_wnd;

// Every question the window puts to the user: the save prompt, the open and save
// dialogs and the message boxes, all owned by `owner` and captioned "ケストリクス".
// The main window owns one and hands it to the modes and the definition page.
class User_questions final : public Save_prompt, public File_chooser, public Message_box {
public:
    explicit User_questions(Bcl_wnd& owner) : owner_(owner) {}
    User_questions(const User_questions&) = delete;
    User_questions& operator=(const User_questions&) = delete;

    Answer ask_save(const std::string& text) override;
    std::optional<File_path> choose_open(std::span<const File_filter> filters) override;
    std::optional<File_path> choose_save(std::span<const File_filter> filters) override;
    void show_message(const std::string& text) override;
    void show_failure(const std::string& text) override;

    // The three as the modes take them.
    [[nodiscard]] User_io& io() { return io_; }

private:
    Bcl_wnd& owner_;
    User_io io_{*this, *this, *this};
};
