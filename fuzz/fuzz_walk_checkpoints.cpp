// The checkpoints of the analysis against the walk from the first byte: a
// definition built from the input (tests/agreement/random_definition.h, with
// assignments and definition sets anywhere), data changes and data:
//
//   2 bytes   how many bytes of choices follow (big-endian)
//   ...       the choices that build the definition
//   1 byte    bytes between checkpoints, 1 to 16
//   1 byte    how many data changes follow (at most max_changes)
//   3 bytes   each change: kind, place, value
//   ...       the data (at most max_data bytes)
//
// A replay to every byte from the last checkpoint before it must leave the tables
// and the ending of the replay from the first byte; the expanded tree must be the
// same with checkpoints as without; and after the changes, the analysis that goes
// on from a checkpoint must give the tree and the checkpoints of a fresh analysis.
#include <string>
#include <vector>

#include "agreement/random_definition.h"
#include "document/data_mgr.h"
#include "engine/analysis.h"
#include "engine/tree_text.h"
#include "fuzz/fuzz_support.h"
#include "model/component.h"

namespace {

constexpr std::size_t max_data = 256;
constexpr unsigned max_changes = 8;
constexpr std::size_t max_lines = 5000;
constexpr int tree_depth = 4;

std::string expanded_tree(Data_mgr& doc)
{
    std::string out;
    std::size_t lines = 0;
    render_tree(*doc.root_component(), tree_depth, [&](const Tree_line& line) {
        if (++lines <= max_lines)
            out += tree_line_text(line.depth, line.name.view(), line.value.view());
    });
    return out;
}

std::vector<std::uint32_t> checkpoint_positions(const Data_mgr& doc)
{
    std::vector<std::uint32_t> positions;
    for (const Walk_checkpoint& point : doc.checkpoints().points())
        positions.push_back(point.position);
    return positions;
}

void check_every_replay(Data_mgr& doc)
{
    for (std::uint32_t position = 0; position <= doc.size(); ++position) {
        Data_node* stop = doc.node_at(position);
        const Walk_checkpoint* from = doc.checkpoints().last_before(stop ? position : doc.size() + 1ull);
        const Replay_end full_end = replay_items(doc.mutable_definition_items(), doc.first_node(), stop, nullptr);
        const Walk_tables full = doc.tables();
        const Replay_end resumed_end = replay_items(doc.mutable_definition_items(), doc.first_node(), stop, from);
        fuzz::check(doc.tables() == full, "the tables differ when replaying to " + std::to_string(position));
        fuzz::check(resumed_end == full_end, "the replay ends elsewhere at " + std::to_string(position));
    }
}

void change_data(Data_mgr& doc, std::uint8_t kind, std::uint8_t place, std::uint8_t value)
{
    const std::uint32_t position = doc.size() == 0 ? 0 : place % (doc.size() + 1);
    switch (kind % 4) {
    case 0:
        doc.insert_bytes(position, 1 + value % 3);
        break;
    case 1:
        doc.delete_bytes(position, 1 + value % 3);
        break;
    case 2:
        doc.undo_data();
        break;
    default:
        if (Data_node* node = doc.node_at(position))
            doc.change_value(node, 1, value, -1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string data_path = fuzz::scratch_path("data.bin");
    fuzz::Input input(data, size);
    Choices choices(input.bytes(input.u16()));
    const std::uint32_t interval = 1 + input.u8() % 16;
    struct Change {
        std::uint8_t kind, place, value;
    };
    std::vector<Change> changes(input.u8() % (max_changes + 1));
    for (Change& change : changes)
        change = {input.u8(), input.u8(), input.u8()};
    fuzz::write_file(data_path, input.bytes(max_data));

    Data_mgr& doc = Data_mgr::instance();
    doc.new_definition();
    build_random_walk_definition(choices);
    doc.checkpoints().set_interval(0);
    doc.load_data(File_path(data_path));
    const std::string plain = expanded_tree(doc);
    doc.checkpoints().set_interval(interval);
    doc.analyze();
    fuzz::check(expanded_tree(doc) == plain, "expansions differ with checkpoints");
    check_every_replay(doc);

    for (const Change& change : changes) {
        change_data(doc, change.kind, change.place, change.value);
        if (change.kind % 4 != 2)
            doc.analyze_changed_data();
        const std::string resumed = expanded_tree(doc);
        const std::vector<std::uint32_t> resumed_points = checkpoint_positions(doc);
        doc.analyze();
        fuzz::check(expanded_tree(doc) == resumed, "the analysis after a data change differs from a fresh one");
        fuzz::check(checkpoint_positions(doc) == resumed_points, "the checkpoints after a data change differ");
    }

    doc.checkpoints().set_interval(Walk_checkpoints::default_interval);
    doc.new_definition();
    doc.new_data();
    fuzz::check(Byte_store::live_count() == 1, "data nodes outlived the document");
    return 0;
}
