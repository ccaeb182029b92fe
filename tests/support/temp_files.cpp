#include "support/temp_files.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

Temp_folder::Temp_folder(std::string_view tag)
{
    std::string pattern = "/tmp/kestrix-";
    pattern += tag;
    pattern += "-XXXXXX";
    // A test that cannot have its folder fails at once rather than writing elsewhere.
    if (!::mkdtemp(pattern.data()))
        throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
    path_ = std::move(pattern);
}

Temp_folder::~Temp_folder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string file_contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void write_file(const std::string& path, std::string_view bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
