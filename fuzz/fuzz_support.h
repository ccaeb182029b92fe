#pragma once

// What the fuzz targets share: reading fields off the fuzz input, scratch files
// (the program reads definitions and data from files, so the targets go through
// the same readers), and stopping with a message when an invariant fails.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fuzz {

// Takes fields from the front of the input. Past the end every field is 0 and
// every byte string is empty, so any input decodes to something.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    [[nodiscard]] bool empty() const { return size_ == 0; }
    std::uint8_t u8();
    // Big-endian.
    std::uint16_t u16();
    std::uint32_t u32();
    // Up to `count` bytes.
    std::string_view bytes(std::size_t count);
    std::string_view rest() { return bytes(size_); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// A path in a folder private to this process, removed when it exits.
[[nodiscard]] std::string scratch_path(std::string_view name);
void write_file(const std::string& path, std::string_view bytes);
[[nodiscard]] std::string read_file(const std::string& path);

// Prints `what` and aborts, which libFuzzer reports as a crash with its input.
[[noreturn]] void fail(const std::string& what);
inline void check(bool holds, const std::string& what)
{
    if (!holds)
        fail(what);
}

} // namespace fuzz
