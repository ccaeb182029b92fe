#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <memory>
#include <string_view>
#include <vector>

#include "model/data_node.h"
#include "model/byte_order.h"
#include "model/def_nodef.h"
#include "model/item_list.h"
#include "model/data_editor.h"
#include "model/walk_context.h"
#include "toolkit/text/bcl_str.h"
#include "toolkit/files/file_path.h"

class Component;
class Def_def_set;
class Define;
class Process;

// One entry per 524,288 bytes of data: the byte at that position and whether it is
// the second byte of a Shift-JIS double-byte character.
struct Skip_entry {
    Data_node* node = nullptr;
    bool in_double_byte = false;
};

// Where the data view goes after a data undo or redo.
struct Data_place {
    Data_node* node = nullptr;
    std::optional<int> bit;  // the changed bit flag's bit position, if a flag changed
};

// The document: the definition, the data bytes, the last analysis, the settings and
// the two undo histories. There is one, reached through Data_mgr::instance() only
// by the programs' entry points (command line, window, tests); everything else is
// handed the document it works on.
//
// The definition side and the data side are independent, each with its own path,
// modified flag and history. Every long operation reports through reporter().
//
// Paths are File_path: the file names exactly as the system gave them (command line,
// file dialog, drop), used unchanged to open and write; show them with display().
// Every operation on a file throws the Exception family on failure, and the
// exception's display_text() is what to show the user (path first, then the message).
// Saves change only the file named, and only once everything was written (see
// File_writer): symbolic links are followed, owner, group, mode and hard links kept,
// a file the user may not write is refused.
//
// Defined in: document/data_mgr.cpp; document/data_bytes.cpp (the data's bytes and nodes);
// document/definition_file.cpp (load_definition, save_definition); document/report.cpp
// (analyze_to_text).
class Data_mgr : public Walk_context, public Data_editor {
public:
    static constexpr std::uint32_t skip_block = 524288;  // bytes per skip index entry
    static constexpr unsigned skip_shift = 19;

    // The program's one document, made at the first call. Only the entry points (the
    // command line, the window's main, the tests' fixture) call it; everything else
    // receives the document, or the walk context and data editor it installs.
    static Data_mgr& instance();

    ~Data_mgr();
    Data_mgr(const Data_mgr&) = delete;
    Data_mgr& operator=(const Data_mgr&) = delete;

private:
    // Private: one document and one byte store (Byte_store::release_all frees every
    // node), so a second document would free the first one's bytes.
    Data_mgr();

public:

    // ---- definition side ----
    [[nodiscard]] const Item_list& definition_items() const { return items_; }
    // The top-level items for the walks and the definition page, which change items
    // in place; the list itself changes only through insert_item and remove_item.
    [[nodiscard]] Item_span mutable_definition_items() { return items_.items(); }
    // Inserts a top-level item before `before` (at the end when it is null or not in
    // the list), clears its parent, sets definition modified.
    void insert_item(std::unique_ptr<Define> item, Define* before);
    // Takes a top-level item out without destroying it and hands it over with the
    // item that followed it; sets definition modified.
    [[nodiscard]] Removed_item remove_item(Define* item);
    [[nodiscard]] Def_nodef& undefined_item() { return undefined_item_; }

    [[nodiscard]] const Bcl_str& title() const { return title_; }
    void set_title(Bcl_str title);
    [[nodiscard]] Byte_order byte_order() const override { return byte_order_; }
    [[nodiscard]] bool little_endian() const { return byte_order_ == Byte_order::little_endian; }
    void set_byte_order(Byte_order byte_order);

    // Empty when the definition came from no file.
    [[nodiscard]] const File_path& definition_path() const { return definition_path_; }
    [[nodiscard]] bool is_definition_modified() const { return definition_modified_; }
    void mark_definition_modified() { definition_modified_ = true; }

    void new_definition();
    // Throws the Exception family; on failure the document is unchanged.
    void load_definition(const File_path& path);
    // Throws the Exception family (Unstorable_exception for a definition the file
    // format cannot hold); on failure the file, the path and the modified flag stay.
    void save_definition(const File_path& path);

    // ---- data side ----
    [[nodiscard]] Data_node* head() const { return Byte_store::head(); }
    [[nodiscard]] Data_node* first_node() const { return Byte_store::at(0); }
    [[nodiscard]] std::uint32_t size() const { return Byte_store::size(); }
    [[nodiscard]] std::uint32_t data_size() const override { return Byte_store::size(); }
    // Empty when the data came from no file.
    [[nodiscard]] const File_path& data_path() const { return data_path_; }
    [[nodiscard]] bool is_data_modified() const { return data_modified_; }

    void new_data();
    // Throws the Exception family; on failure the document is unchanged. A file
    // that cannot fit in memory is refused before anything is read
    // (File_too_large_exception), see bytes_to_load(). The file is read whole while
    // the old data stays, and then takes its place at once: a stop while it is read
    // throws Operation_stopped with the document unchanged, and after that only the
    // analysis can be stopped (see analyze()). Only when the file does not fit next
    // to the old data is the old data released before the file is read; a stop or
    // a failure then leaves the data empty, with no path.
    void load_data(const File_path& path);
    // Throws the Exception family; on failure the file, the path and the modified
    // flag stay.
    void save_data(const File_path& path);
    // The memory that loading `size` bytes takes at its peak: the file's bytes as
    // read, which are the nodes (model/data_node.h), in whole huge pages, and the
    // skip index.
    [[nodiscard]] static std::uint64_t bytes_to_load(std::uint64_t size);

    // The node at `position`, or null at or past the end; O(log pieces).
    [[nodiscard]] Data_node* node_at(std::uint32_t position) const;
    // The byte `count` bytes after `from`, or null past the end: O(1) inside a piece,
    // O(log pieces) across.
    [[nodiscard]] Data_node* node_after(Data_node* from, std::uint64_t count) const override;
    // The entry of the block holding `position`; empty at or past the end.
    [[nodiscard]] Skip_entry skip_entry(std::uint32_t position) const;
    [[nodiscard]] const std::vector<Skip_entry>& skip_index() const { return skip_index_; }

    // Takes out up to `count` bytes from `position`, puts `pieces` in their place,
    // brings the checkpoints and the skip index up to date once, and hands over the
    // bytes taken out: the byte changes and their commands change the data through
    // this only.
    [[nodiscard]] Byte_pieces exchange(std::uint32_t position, std::uint32_t count, const Byte_pieces& pieces);

    // Byte changes: each changes the store, sets data modified and records its
    // undoable command. None re-analyses; the caller does.
    //
    // Puts `chain` (fresh nodes, see make_chain) in place of up to `count` bytes
    // from `node` (appends when `node` is null).
    void replace_bytes(Data_node* node, std::uint32_t count, Byte_piece chain, std::optional<int> tag) override;
    // Replaces `width` bytes from `node` by `value` in the document's byte order;
    // returns the first new node.
    Data_node* change_value(Data_node* node, int width, std::uint64_t value, std::optional<int> tag) override;
    // Inserts `count` zero bytes before `position` (at the end when past it);
    // returns the first new node.
    Data_node* insert_bytes(std::uint32_t position, std::uint32_t count);
    // Deletes up to `count` bytes from `position`; returns the node after them.
    Data_node* delete_bytes(std::uint32_t position, std::uint32_t count);

    // ---- analysis ----
    [[nodiscard]] Component* root_component() const { return root_.get(); }
    // Analyses the data by the definition into a new root component. A stop (see
    // Progress_reporter::stop_point) ends the walk between two top-level items or
    // two iterations of a top-level loop: the components made so far stay, followed
    // by the "中断" marker, and the next analysis (any change or undo) replaces them.
    void analyze();
    // Analyses again after changes of the data alone (the byte changes, data undo
    // and redo), giving what analyze() gives: the walk goes on from the last
    // checkpoint before the first changed byte, and the components made before it
    // stay. Without such a checkpoint (a change near the start, a definition or
    // setting changed since) it is analyze().
    void analyze_changed_data();
    void replay(Data_node* stop) override;
    // The text report of the file at `data_path` by the current definition, see
    // write_report(); an output that is the data file or the definition file is
    // refused (Same_file_exception).
    void analyze_to_text(const File_path& data_path, const File_path& output_path);

    // The variable table of the last walk (see tables()).
    [[nodiscard]] std::int32_t get_variable(std::string_view name) const { return tables().variables.get(name); }
    void set_variable(const Bcl_str& name, std::int32_t value) { tables().variables.set(name, value); }

    // ---- histories ----
    // Takes ownership; drops every command on the definition redo side.
    void push_definition_command(std::unique_ptr<Process> command);
    Define* undo_definition();
    Define* redo_definition();
    Data_place undo_data();
    Data_place redo_data();
    [[nodiscard]] bool can_undo_definition() const { return !definition_undo_.empty(); }
    [[nodiscard]] bool can_redo_definition() const { return !definition_redo_.empty(); }
    [[nodiscard]] bool can_undo_data() const { return !data_undo_.empty(); }
    [[nodiscard]] bool can_redo_data() const { return !data_redo_.empty(); }
    [[nodiscard]] std::size_t definition_undo_depth() const { return definition_undo_.size(); }
    [[nodiscard]] std::size_t definition_redo_depth() const { return definition_redo_.size(); }
    [[nodiscard]] std::size_t data_undo_depth() const { return data_undo_.size(); }
    [[nodiscard]] std::size_t data_redo_depth() const { return data_redo_.size(); }

private:
    using History = std::deque<std::unique_ptr<Process>>;

    void record_data_command(std::unique_ptr<Process> command);
    // Destroys every command of `stack` from the top, one progress step each.
    static void empty_history(History& stack, std::uint64_t& done);
    void release_data_nodes();
    // The checkpoints hold to the definition and the settings they were taken with.
    void definition_changed();
    // Makes the skip index's entries from the block holding `position` on.
    void refresh_skip_index(std::uint32_t position);
    // Drops the checkpoints that bytes taken out or put in at `position` make stale.
    void drop_stale_checkpoints(std::uint32_t position);

    Item_list items_;
    Def_nodef undefined_item_;
    std::unique_ptr<Component> root_;
    std::vector<Skip_entry> skip_index_;
    Bcl_str title_;
    Byte_order byte_order_ = Byte_order::big_endian;
    bool definition_modified_ = false;
    bool data_modified_ = false;
    File_path definition_path_;
    File_path data_path_;
    History definition_undo_;
    History definition_redo_;
    History data_undo_;
    History data_redo_;
};
