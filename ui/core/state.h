#pragma once

#include <functional>
#include <span>

#include "document/data_mgr.h"
#include "toolkit/files/file_path.h"
#include "ui/core/questions.h"

class Define;

// What a mode asks of the main window once the document has done its work.
class Mode_view {
public:
    virtual ~Mode_view() = default;
    // Refills the definition list, selecting the row of `select` when given.
    virtual void refresh_definition_list(Define* select) = 0;
    // Rebuilds the data tree; shows the byte and bit of `show` when given.
    virtual void rebuild_data_tree(Data_place show) = 0;
    // The dump view takes the data's new length.
    virtual void refresh_dump() = 0;
    virtual void update_title() = 0;
    virtual void update_command_states() = 0;
};

// A mode of the main window: the file and undo commands of one side of the document.
class State {
public:
    virtual ~State() = default;
    virtual void file_new() = 0;
    virtual void file_open() = 0;
    virtual void open_file(const File_path& path) = 0;
    // False when nothing was saved (cancelled or failed).
    virtual bool file_save() = 0;
    virtual bool file_save_as() = 0;
    // True when the caller may go on: nothing to save, saved, or the user said No.
    virtual bool query_save() = 0;
    virtual void undo() = 0;
    virtual void redo() = 0;
    [[nodiscard]] virtual bool can_edit_settings() const = 0;
    [[nodiscard]] virtual bool can_undo() const = 0;
    [[nodiscard]] virtual bool can_redo() const = 0;
};

// What both sides do alike: choosing files, saving to the side's path or a new one,
// the save prompt, and showing a failure. Each side gives its document operations.
class State_side : public State {
public:
    State_side(Data_mgr& document, Mode_view& view, User_io& user) : document_(document), view_(view), user_(user) {}

    void file_new() override;
    void file_open() override;
    void open_file(const File_path& path) override;
    bool file_save() override;
    bool file_save_as() override;
    bool query_save() override;
    void undo() override;
    void redo() override;

protected:
    [[nodiscard]] Data_mgr& document() const { return document_; }
    [[nodiscard]] Mode_view& view() const { return view_; }

    [[nodiscard]] virtual File_path side_path() const = 0;
    [[nodiscard]] virtual bool side_modified() const = 0;
    [[nodiscard]] virtual std::span<const File_filter> filters() const = 0;
    // "定義 " or "データ ", the start of the save prompt's text.
    [[nodiscard]] virtual const char* prompt_prefix() const = 0;
    // What the views show after an undo or redo step.
    struct Shown {
        Data_place place;
        Define* item = nullptr;
    };
    virtual void renew() = 0;
    virtual void load(const File_path& path) = 0;
    virtual void save(const File_path& path) = 0;
    virtual Shown undo_step() = 0;
    virtual Shown redo_step() = 0;
    // Brings the views up to date after an operation that changed the side's content.
    virtual void show_changes(const Shown& shown) = 0;

private:
    bool save_to(const File_path& path);
    void change(const std::function<Shown()>& operation);

    Data_mgr& document_;
    Mode_view& view_;
    User_io& user_;
};

// Definition mode: the commands work on the definition side.
class State_def final : public State_side {
public:
    using State_side::State_side;

    [[nodiscard]] bool can_edit_settings() const override { return true; }
    [[nodiscard]] bool can_undo() const override { return document().can_undo_definition(); }
    [[nodiscard]] bool can_redo() const override { return document().can_redo_definition(); }

private:
    [[nodiscard]] File_path side_path() const override;
    [[nodiscard]] bool side_modified() const override { return document().is_definition_modified(); }
    [[nodiscard]] std::span<const File_filter> filters() const override;
    [[nodiscard]] const char* prompt_prefix() const override { return "定義 "; }
    void renew() override;
    void load(const File_path& path) override;
    void save(const File_path& path) override;
    Shown undo_step() override;
    Shown redo_step() override;
    void show_changes(const Shown& shown) override;
};

// Data mode: the commands work on the data side.
class State_data final : public State_side {
public:
    using State_side::State_side;

    [[nodiscard]] bool can_edit_settings() const override { return false; }
    [[nodiscard]] bool can_undo() const override { return document().can_undo_data(); }
    [[nodiscard]] bool can_redo() const override { return document().can_redo_data(); }

private:
    [[nodiscard]] File_path side_path() const override;
    [[nodiscard]] bool side_modified() const override { return document().is_data_modified(); }
    [[nodiscard]] std::span<const File_filter> filters() const override;
    [[nodiscard]] const char* prompt_prefix() const override { return "データ "; }
    void renew() override;
    void load(const File_path& path) override;
    void save(const File_path& path) override;
    Shown undo_step() override;
    Shown redo_step() override;
    void show_changes(const Shown& shown) override;
};
