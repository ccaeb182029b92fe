#pragma once

// Runs the built kestrix-cli and captures what it prints and its exit status.

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>

namespace cli_test {

inline std::string file_contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void write_file(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Single quotes for the shell, with embedded quotes closed and reopened.
inline std::string quoted(const std::string& arg)
{
    std::string text = "'";
    for (const char c : arg)
        text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
}

struct Cli_run {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs kestrix-cli with `args`; standard output and error go to files in `folder`.
inline Cli_run run_cli(const std::string& folder, std::initializer_list<std::string> args)
{
    std::string command = quoted(KESTRIX_CLI_PATH);
    for (const std::string& arg : args)
        command.append(" ").append(quoted(arg));
    const std::string out = folder + "/cli.out";
    const std::string err = folder + "/cli.err";
    // Appended piece by piece: "literal" + std::string trips a false GCC 12 warning.
    command += " >";
    command += quoted(out);
    command += " 2>";
    command += quoted(err);
    command += " </dev/null";
    const int raw = std::system(command.c_str());
    Cli_run run;
    run.status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = file_contents(out);
    run.err = file_contents(err);
    std::remove(out.c_str());
    std::remove(err.c_str());
    return run;
}

} // namespace cli_test
