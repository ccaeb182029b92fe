#include "support/other_user.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace other_user {

bool running_as_root() { return ::geteuid() == 0; }

std::string run(const std::function<std::string()>& step)
{
    if (!running_as_root())
        return step();
    int channel[2];
    if (::pipe(channel) != 0)
        return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        std::string result = "could not drop privileges";
        if (::setgroups(0, nullptr) == 0 && ::setresgid(gid, gid, gid) == 0 && ::setresuid(uid, uid, uid) == 0) {
            try {
                result = step();
            } catch (...) {
                result = "exception";
            }
        }
        const ssize_t written = ::write(channel[1], result.data(), result.size());
        ::_exit(written == static_cast<ssize_t>(result.size()) ? 0 : 1);
    }
    ::close(channel[1]);
    std::string result;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(channel[0], buffer, sizeof buffer)) > 0)
        result.append(buffer, static_cast<std::size_t>(n));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? result : "child failed";
}

void give(const std::string& path)
{
    if (running_as_root()) {
        EXPECT_EQ(::chown(path.c_str(), uid, gid), 0) << path;
    }
}

bool setpriv_available()
{
    return std::system("setpriv --version >/dev/null 2>&1") == 0;
}

std::string command_prefix()
{
    if (!running_as_root())
        return "";
    return "setpriv --reuid=" + std::to_string(uid) + " --regid=" + std::to_string(gid) + " --clear-groups ";
}

} // namespace other_user
