#include "toolkit/files/temp_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

std::string folder_of(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::vector<std::string> scratch_folders(const std::string& folder)
{
    std::vector<std::string> folders{folder};
    if (const char* tmpdir = std::getenv("TMPDIR"); tmpdir && *tmpdir)
        folders.emplace_back(tmpdir);
    folders.emplace_back("/tmp");
    return folders;
}

int create_temporary(const std::string& folder, std::string& name)
{
    std::string pattern = folder + "/.kx-XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd >= 0)
        name = std::move(pattern);
    return fd;
}

int create_scratch(const std::string& folder)
{
    for (const std::string& place : scratch_folders(folder)) {
        int fd = ::open(place.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd >= 0)
            return fd;
        // File systems without unnamed files: a named one, unlinked at once.
        std::string name;
        fd = create_temporary(place, name);
        if (fd >= 0) {
            ::unlink(name.c_str());
            return fd;
        }
    }
    return -1;
}
