#pragma once

#include <optional>
#include <span>
#include <string>

#include "toolkit/files/file_path.h"

// What the window's logic asks of the user. The main window answers with message
// boxes and file dialogs; tests answer from a script. Texts are UTF-8.

// The save prompt: Yes, No and Cancel, captioned "ケストリクス".
class Save_prompt {
public:
    enum class Answer { yes, no, cancel };
    virtual ~Save_prompt() = default;
    [[nodiscard]] virtual Answer ask_save(const std::string& text) = 0;
};

// A file filter of the file dialogs: description and pattern ("*.kxd"; "*" for
// every file).
struct File_filter {
    std::string description;
    std::string pattern;
};

// The open and save dialogs: nothing when the user cancels. The save dialog asks
// before a file is overwritten.
class File_chooser {
public:
    virtual ~File_chooser() = default;
    [[nodiscard]] virtual std::optional<File_path> choose_open(std::span<const File_filter> filters) = 0;
    [[nodiscard]] virtual std::optional<File_path> choose_save(std::span<const File_filter> filters) = 0;
};

// A message box with an OK button, captioned "ケストリクス": a failure about the
// user's files or data has the warning icon, a report of work done none.
class Message_box {
public:
    virtual ~Message_box() = default;
    virtual void show_message(const std::string& text) = 0;
    virtual void show_failure(const std::string& text) = 0;
};

// The three together, as the modes take them.
struct User_io {
    Save_prompt& prompt;
    File_chooser& files;
    Message_box& messages;
};
