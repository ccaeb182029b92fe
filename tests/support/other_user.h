#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

// Steps run as a user without privileges, for the cases where who saves matters
// (files of another owner, folders the user may not write). As root, the step runs
// in a child process that has become the user "nobody" (uid and gid 65534, no
// supplementary groups); as anyone else, the current user already is such a user
// and the step runs as it is.
namespace other_user {

constexpr unsigned uid = 65534;
constexpr unsigned gid = 65534;

[[nodiscard]] bool running_as_root();

// Runs `step` as the unprivileged user and returns what it returned; a step that
// ends the child otherwise gives "child failed".
[[nodiscard]] std::string run(const std::function<std::string()>& step);

// Gives `path` to the unprivileged user when running as root (else it is the
// current user's already).
void give(const std::string& path);

// The command prefix that runs a shell command as the unprivileged user: setpriv
// as root (see setpriv_available()), nothing otherwise.
[[nodiscard]] bool setpriv_available();
[[nodiscard]] std::string command_prefix();

} // namespace other_user
