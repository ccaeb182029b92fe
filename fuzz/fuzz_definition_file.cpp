// The definition file reader, on any bytes. A file that loads must save, and the
// saved file must load back and save to exactly the same bytes; a file that does
// not load must leave the document as it was.
#include "document/data_mgr.h"
#include "fuzz/fuzz_support.h"
#include "toolkit/exception.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string input = fuzz::scratch_path("input.kxd");
    static const std::string first = fuzz::scratch_path("first.kxd");
    static const std::string second = fuzz::scratch_path("second.kxd");
    fuzz::write_file(input, fuzz::Input(data, size).rest());

    Data_mgr& doc = Data_mgr::instance();
    doc.new_definition();
    try {
        doc.load_definition(File_path(input));
    } catch (const Exception&) {
        fuzz::check(doc.definition_items().empty() && doc.definition_path().empty(),
                    "a failed load changed the document");
        return 0;
    }
    doc.save_definition(File_path(first));
    doc.load_definition(File_path(first));
    doc.save_definition(File_path(second));
    fuzz::check(fuzz::read_file(first) == fuzz::read_file(second), "a loaded definition saves differently twice");
    doc.new_definition();
    return 0;
}
