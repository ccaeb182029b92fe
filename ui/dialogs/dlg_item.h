#pragma once

#include <memory>
#include <string>
#include <utility>

#include "edit/definition_edits.h"
#include "toolkit/gui/bcl_dlg.h"

class Data_mgr;

// The dialog of one item kind, in one of two forms. The new form (no item) starts
// from `initial()` and, on OK, builds a new item from the fields for the caller to
// take. The edit form shows the item's fields and, on OK, writes them into the item
// and records the kind's edit command with the values from before in the
// document's definition history. Cancel and the close box change nothing.
template <typename Item, typename Fields>
class Dlg_item : public Bcl_dlg {
public:
    // The new item after OK in the new form; null otherwise.
    [[nodiscard]] std::unique_ptr<Item> take_result() { return std::move(result_); }

protected:
    Dlg_item(std::string template_name, int help_topic, Data_mgr& document, Item* item)
        : Bcl_dlg(std::move(template_name), help_topic), document_(document), item_(item)
    {
    }

    // Attaches the template's fields.
    virtual void attach_fields() = 0;
    virtual void show_fields(const Fields& fields) = 0;
    // The fields as the user left them; `shown` are the values the dialog opened with.
    [[nodiscard]] virtual Fields read_fields(const Fields& shown) const = 0;
    // The fields of the new form.
    [[nodiscard]] virtual Fields initial() const { return {}; }
    // A new item of the kind before the fields are written into it.
    [[nodiscard]] virtual std::unique_ptr<Item> blank() const = 0;
    // Called after the fields were shown and after every change of them.
    virtual void fields_changed() {}

    void on_init_dialog() override
    {
        attach_fields();
        show_fields(shown());
        fields_changed();
    }

    void on_command(int id) override
    {
        if (id == 1) {
            const Fields fields = read_fields(shown());
            if (item_) {
                definition_edits::edit_item(document_, *item_, fields);
            } else {
                result_ = blank();
                fields.write(*result_);
            }
        }
        Bcl_dlg::on_command(id);
    }

private:
    [[nodiscard]] Fields shown() const { return item_ ? Fields::read(*item_) : initial(); }

    Data_mgr& document_;
    Item* item_;
    std::unique_ptr<Item> result_;
};
