#include "model/walk_context.h"

namespace {

class No_data_context final : public Walk_context {
public:
    [[nodiscard]] Byte_order byte_order() const override { return Byte_order::big_endian; }
    [[nodiscard]] std::uint32_t data_size() const override { return 0; }
    void replay(Data_node*) override { tables().start(); }
};

} // namespace

Walk_context& Walk_context::no_data()
{
    static No_data_context context;
    return context;
}
