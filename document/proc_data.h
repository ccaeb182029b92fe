#pragma once

#include <cstdint>
#include <optional>

#include "document/process.h"
#include "model/data_node.h"

class Data_mgr;

// A change of the data's bytes: the bytes `old` at `position` replaced by `new`,
// either of which may be empty (an insertion, a deletion). Undo and redo swap the
// two runs through the document, so the same nodes go out and come back: the history
// undoes strictly in reverse order, so `position` is where they belong every time.
// Owns whichever run is out of the document. `tag` is the bit position of a changed
// bit flag, if a flag was changed.
class Proc_data_edit : public Process {
public:
    Proc_data_edit(Data_mgr& document, std::uint32_t position, Byte_pieces old_bytes, Byte_pieces new_bytes,
                   std::optional<int> tag)
        : Proc_data_edit(document, position, std::move(old_bytes), std::move(new_bytes), tag, false) {}
    ~Proc_data_edit() override;
    void undo() override;
    void redo() override;
    // The first byte of the run in the data; when that run is empty, the byte after
    // it for an insertion or deletion, and nothing for a replacement.
    [[nodiscard]] Data_node* place_to_show() const override;
    [[nodiscard]] std::optional<int> bit_to_show() const override { return tag_; }

protected:
    Proc_data_edit(Data_mgr& document, std::uint32_t position, Byte_pieces old_bytes, Byte_pieces new_bytes,
                   std::optional<int> tag, bool follower_for_empty);

private:
    // Takes `in`'s counterpart out and puts `in` in its place.
    void swap_in(const Byte_pieces& in);

    Data_mgr& document_;
    std::uint32_t position_;
    Byte_pieces old_;
    Byte_pieces new_;
    std::optional<int> tag_;
    bool follower_for_empty_;
    bool undone_ = false;
};

// Zero bytes inserted, and bytes deleted: the two halves of an edit.
class Proc_data_add : public Proc_data_edit {
public:
    Proc_data_add(Data_mgr& document, std::uint32_t position, Byte_piece inserted)
        : Proc_data_edit(document, position, {}, {inserted}, std::nullopt, true) {}
};

class Proc_data_del : public Proc_data_edit {
public:
    Proc_data_del(Data_mgr& document, std::uint32_t position, Byte_pieces removed)
        : Proc_data_edit(document, position, std::move(removed), {}, std::nullopt, true) {}
};
