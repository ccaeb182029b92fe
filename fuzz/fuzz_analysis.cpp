// The analysis, the expansion of its tree and the text report, of a definition
// decoded from the input over data taken from the rest of it:
//
//   2 bytes   length of the definition file (big-endian)
//   ...       the definition file
//   ...       the data
//
// Every limit met on the way (nesting, reference depth, expression depth, length
// prefixes) is the program's own. The only bound added here is how many
// components are expanded, which keeps a run short: each expansion replays the
// walk from the first byte.
#include <deque>

#include "document/data_mgr.h"
#include "document/report.h"
#include "fuzz/fuzz_support.h"
#include "model/component.h"
#include "toolkit/exception.h"

namespace {

constexpr int max_expansions = 64;
constexpr int max_components = 20000;

// Expands the tree breadth first and asks every component for its texts, the way
// the tree and list views would.
void expand_tree(Component& root)
{
    std::deque<Component*> waiting{&root};
    int expansions = 0;
    for (int seen = 0; !waiting.empty() && seen < max_components; ++seen) {
        Component* c = waiting.front();
        waiting.pop_front();
        (void)c->name();
        (void)c->value_text();
        (void)c->size();
        if (c->has_children() && c->child_count() == 0 && expansions < max_expansions) {
            ++expansions;
            try {
                c->expand();
            } catch (const Data_shortage&) {
                // The children made before the data ran out stay.
            }
        }
        for (int i = 0; i < c->child_count(); ++i)
            waiting.push_back(c->child(i));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string definition_path = fuzz::scratch_path("definition.kxd");
    static const std::string data_path = fuzz::scratch_path("data.bin");
    static const std::string report_path = fuzz::scratch_path("report.txt");
    fuzz::Input input(data, size);
    fuzz::write_file(definition_path, input.bytes(input.u16()));
    fuzz::write_file(data_path, input.rest());

    Data_mgr& doc = Data_mgr::instance();
    try {
        doc.load_definition(File_path(definition_path));
    } catch (const Exception&) {
        return 0;
    }
    doc.load_data(File_path(data_path));
    doc.analyze();
    expand_tree(*doc.root_component());
    write_report(doc, File_path(data_path), File_path(report_path));

    doc.new_definition();
    doc.new_data();
    fuzz::check(Byte_store::live_count() == 1, "data nodes outlived the document");
    return 0;
}
