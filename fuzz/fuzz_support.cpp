#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fuzz {

std::uint8_t Input::u8()
{
    const std::string_view b = bytes(1);
    return b.empty() ? 0 : static_cast<std::uint8_t>(b[0]);
}

std::uint16_t Input::u16()
{
    const std::uint16_t high = u8();
    return static_cast<std::uint16_t>(high << 8 | u8());
}

std::uint32_t Input::u32()
{
    const std::uint32_t high = u16();
    return high << 16 | u16();
}

std::string_view Input::bytes(std::size_t count)
{
    if (count > size_)
        count = size_;
    const std::string_view taken(reinterpret_cast<const char*>(data_), count);
    data_ += count;
    size_ -= count;
    return taken;
}

namespace {

struct Scratch_folder {
    std::string path;

    Scratch_folder()
    {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/kestrix-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            fail("cannot make a scratch folder in " + pattern);
        path = pattern;
    }
    ~Scratch_folder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

} // namespace

std::string scratch_path(std::string_view name)
{
    static const Scratch_folder folder;
    return folder.path + "/" + std::string(name);
}

void write_file(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        fail("cannot write " + path);
}

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void fail(const std::string& what)
{
    std::fprintf(stderr, "invariant failed: %s\n", what.c_str());
    std::abort();
}

} // namespace fuzz
