#include "document/data_check.h"

#include "document/data_mgr.h"

namespace {

std::string at(const char* what, std::uint32_t position)
{
    return std::string(what) + " at " + std::to_string(position);
}

} // namespace

std::string find_data_inconsistency(const Data_mgr& doc)
{
    std::uint32_t position = 0;
    bool in_double_byte = false;
    const Data_node* prev = doc.head();
    for (const Data_node* node = doc.first_node(); node; node = node->next(), ++position) {
        if (node->position() != position)
            return at("wrong position", position);
        if (node->prev() != prev)
            return at("wrong back link", position);
        if (position % Data_mgr::skip_block == 0) {
            const Skip_entry entry = doc.skip_entry(position);
            if (entry.node != node)
                return at("wrong skip entry node", position);
            if (entry.in_double_byte != in_double_byte)
                return at("wrong skip entry phase", position);
        }
        in_double_byte = !in_double_byte && is_sjis_lead(node->value);
        prev = node;
    }
    if (doc.size() != position)
        return "size " + std::to_string(doc.size()) + " but " + std::to_string(position) + " bytes linked";
    // One entry per block that holds data, none for released nodes past the end.
    const std::size_t blocks = (std::size_t{position} + Data_mgr::skip_block - 1) / Data_mgr::skip_block;
    if (doc.skip_index().size() != blocks)
        return "skip index of " + std::to_string(doc.skip_index().size()) + " entries for " +
               std::to_string(blocks) + " blocks";
    if (doc.skip_entry(position).node)
        return at("skip entry at the end", position);
    return {};
}
