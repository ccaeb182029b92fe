#pragma once

#include <cstdint>
#include <optional>

#include "model/data_node.h"

// The changes that components make to the data when the user edits a value: the
// document makes them (in the byte store, recording an undoable command) and
// installs itself as the program's editor when it is made, as it does as the walk
// context. Components reach it through data_editor(); nothing below the document
// knows the document itself.
class Data_editor {
public:
    Data_editor() = default;
    Data_editor(const Data_editor&) = delete;
    Data_editor& operator=(const Data_editor&) = delete;

    // Puts `chain` (fresh nodes, see make_chain) in place of up to `count` bytes from
    // `node` (appends when `node` is null). `tag` is the bit position of a changed
    // bit flag, if a flag was changed.
    virtual void replace_bytes(Data_node* node, std::uint32_t count, Byte_piece chain, std::optional<int> tag) = 0;
    // Replaces `width` bytes from `node` by `value` in the data's byte order;
    // returns the first new node.
    virtual Data_node* change_value(Data_node* node, int width, std::uint64_t value, std::optional<int> tag) = 0;

protected:
    ~Data_editor() = default;

private:
    friend Data_editor& data_editor();
    friend void set_data_editor(Data_editor* editor);
    static inline Data_editor* installed_ = nullptr;
};

// The program's data editor. Components exist only while a document does, and the
// document installs itself first, so there is always one when a component asks.
[[nodiscard]] inline Data_editor& data_editor() { return *Data_editor::installed_; }
// Installs `editor` (not owned); nullptr when the document goes.
inline void set_data_editor(Data_editor* editor) { Data_editor::installed_ = editor; }
