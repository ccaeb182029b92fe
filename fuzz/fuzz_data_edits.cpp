// Data edits, undos and redos decoded from the input, checked after every step
// against a plain byte string model of each history state, and against the
// document's own bookkeeping (positions, back links, skip index). The data stays
// small, well inside the first skip block: a run across a block boundary walks
// half a megabyte per check, a hundred times the cost of a small run, and the
// randomized edit test of the suite covers the boundary.
//
//   1 byte    flags: bit 0 makes the byte order little-endian
//   1 byte    n, then n bytes of initial data
//   ...       steps: an operation byte, then its operands
//
// At the end every node must be released exactly once.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "document/data_check.h"
#include "document/data_mgr.h"
#include "fuzz/fuzz_support.h"

namespace {

constexpr int max_steps = 64;

std::string document_bytes(const Data_mgr& doc)
{
    std::string bytes;
    bytes.reserve(doc.size());
    for (const Data_node* node = doc.first_node(); node; node = node->next())
        bytes.push_back(static_cast<char>(node->value));
    return bytes;
}

// A position in the data or just past it.
std::uint32_t take_position(fuzz::Input& input, std::uint32_t size) { return input.u8() % (size + 1); }

std::string value_bytes(std::uint32_t value, int width, bool little_endian)
{
    std::string bytes(static_cast<std::size_t>(width), '\0');
    for (int i = 0; i < width; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(value >> (little_endian ? 8 * i : 8 * (width - 1 - i)));
    return bytes;
}

// The history as byte strings: states[current] is what the data must hold.
struct Model {
    std::vector<std::string> states;
    std::size_t current = 0;

    std::string& now() { return states[current]; }
    // A change was done: the redo side is gone, the changed bytes are the new top.
    void done(std::string bytes)
    {
        states.resize(current + 1);
        states.push_back(std::move(bytes));
        ++current;
    }
};

// One operation; returns false when the input has run out.
bool step(fuzz::Input& input, Data_mgr& doc, Model& model)
{
    if (input.empty())
        return false;
    const std::uint8_t op = input.u8() % 6;
    const std::uint32_t size = doc.size();
    std::string bytes = model.now();
    switch (op) {
    case 0: {
        const std::uint32_t position = take_position(input, size);
        const std::uint32_t count = input.u8() % 17;
        doc.insert_bytes(position, count);
        if (count > 0) {
            bytes.insert(std::min<std::size_t>(position, bytes.size()), count, '\0');
            model.done(std::move(bytes));
        }
        break;
    }
    case 1: {
        const std::uint32_t position = take_position(input, size);
        const std::uint32_t count = input.u8() % 17;
        doc.delete_bytes(position, count);
        if (count > 0 && position < size) {
            bytes.erase(position, count);
            model.done(std::move(bytes));
        }
        break;
    }
    case 2: {
        const std::uint32_t position = take_position(input, size);
        const int width = 1 << (input.u8() % 3);
        const std::uint32_t value = input.u32();
        doc.change_value(doc.node_at(position), width, value, std::nullopt);
        bytes.replace(std::min<std::size_t>(position, bytes.size()), static_cast<std::size_t>(width),
                      value_bytes(value, width, doc.little_endian()));
        model.done(std::move(bytes));
        break;
    }
    case 3: {
        const std::uint32_t position = take_position(input, size);
        const std::uint32_t count = input.u8() % 9;
        const std::string_view chain = input.bytes(input.u8() % 9);
        const int tag_byte = input.u8() % 9;  // 0: no bit flag, else bit 0 ... 7
        const std::optional<int> tag = tag_byte == 0 ? std::nullopt : std::optional<int>(tag_byte - 1);
        doc.replace_bytes(doc.node_at(position), count, make_chain(chain), tag);
        if (!chain.empty()) {
            bytes.replace(std::min<std::size_t>(position, bytes.size()), count, chain);
            model.done(std::move(bytes));
        }
        break;
    }
    case 4:
        fuzz::check(doc.can_undo_data() == (model.current > 0), "undo offered against the history");
        if (doc.can_undo_data()) {
            doc.undo_data();
            --model.current;
        }
        break;
    default:
        fuzz::check(doc.can_redo_data() == (model.current + 1 < model.states.size()), "redo offered against the history");
        if (doc.can_redo_data()) {
            doc.redo_data();
            ++model.current;
        }
        break;
    }
    return true;
}

void check_whole(const Data_mgr& doc, Model& model, int steps)
{
    const std::string fault = find_data_inconsistency(doc);
    fuzz::check(fault.empty(), fault + " after step " + std::to_string(steps));
    fuzz::check(document_bytes(doc) == model.now(), "bytes differ from the model after step " + std::to_string(steps));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string data_path = fuzz::scratch_path("data.bin");
    fuzz::Input input(data, size);
    const std::uint8_t flags = input.u8();
    Model model;
    model.states.emplace_back(input.bytes(input.u8()));
    fuzz::write_file(data_path, model.now());

    Data_mgr& doc = Data_mgr::instance();
    doc.set_byte_order((flags & 1) ? Byte_order::little_endian : Byte_order::big_endian);
    doc.load_data(File_path(data_path));
    int steps = 0;
    while (steps < max_steps && step(input, doc, model))
        check_whole(doc, model, ++steps);

    // Everything undone gives the loaded bytes, everything redone the last state.
    while (doc.can_undo_data())
        doc.undo_data();
    model.current = 0;
    check_whole(doc, model, steps);
    while (doc.can_redo_data())
        doc.redo_data();
    model.current = model.states.size() - 1;
    check_whole(doc, model, steps);

    doc.new_data();
    doc.new_definition();
    fuzz::check(Byte_store::live_count() == 1, "data nodes leaked or released twice");
    return 0;
}
