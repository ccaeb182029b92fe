#pragma once

#include <cstdint>

#include "toolkit/gui/bcl_ctrl.h"
#include "toolkit/gui/bcl_dlg.h"

// "移動": an offset into data of `data_size` bytes, in decimal or hexadecimal
// (parse_offset), opening on `current`. OK is enabled only while the field holds an
// offset inside the data; below the field a line says why it is not. After OK,
// offset() is the offset.
class Dlg_goto final : public Bcl_dlg {
public:
    Dlg_goto(std::uint32_t current, std::uint32_t data_size);

    [[nodiscard]] std::uint32_t offset() const { return offset_; }

private:
    void on_init_dialog() override;
    void on_command(int id) override;
    void update_ok();

    std::uint32_t offset_;
    std::uint32_t data_size_;
    Bcl_edit field_;
    Bcl_ctrl message_;
    Bcl_button ok_;
};
