// The text report against the component tree: a definition built from the input
// (tests/agreement/random_definition.h) over data taken from the rest of it:
//
//   2 bytes   how many bytes of choices follow (big-endian)
//   ...       the choices that build the definition
//   ...       the data (at most max_data bytes)
//
// The report of the data file must show what the fully expanded tree shows, line
// for line (tests/agreement/report_view.h).
#include "agreement/random_definition.h"
#include "agreement/report_view.h"
#include "document/data_mgr.h"
#include "document/report.h"
#include "fuzz/fuzz_support.h"
#include "model/component.h"

namespace {

// Keeps a run short: every expansion replays the walk from the first byte.
constexpr std::size_t max_data = 256;
constexpr std::size_t max_lines = 20000;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string data_path = fuzz::scratch_path("data.bin");
    static const std::string report_path = fuzz::scratch_path("report.txt");
    fuzz::Input input(data, size);
    Choices choices(input.bytes(input.u16()));
    fuzz::write_file(data_path, input.bytes(max_data));

    Data_mgr& doc = Data_mgr::instance();
    doc.new_definition();
    build_random_definition(choices);
    doc.load_data(File_path(data_path));
    const Report_view view = report_view_of_tree(*doc.root_component(), max_lines);
    write_report(doc, File_path(data_path), File_path(report_path));
    const std::string difference = report_tree_difference(fuzz::read_file(report_path), view);
    fuzz::check(difference.empty(), "the report and the tree differ: " + difference);

    doc.new_definition();
    doc.new_data();
    fuzz::check(Byte_store::live_count() == 1, "data nodes outlived the document");
    return 0;
}
