#pragma once

// Runs the built kestrix-cli and captures what it prints and its exit status.

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "support/temp_files.h"

namespace cli_test {

// The names of the folders in `parent`, sorted: the feature folders and examples.
inline std::vector<std::string> folders_in(const std::filesystem::path& parent)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(parent))
        if (entry.is_directory())
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A definition (as JSON) and a data file: every feature folder and every sample of
// the shipped examples.
struct Case_files {
    std::string definition_json;
    std::string data;
};

inline void PrintTo(const Case_files& files, std::ostream* out) { *out << files.data; }

inline std::vector<Case_files> every_case()
{
    namespace fs = std::filesystem;
    std::vector<Case_files> cases;
    const fs::path source(KESTRIX_SOURCE_DIR);
    for (const std::string& name : folders_in(source / "tests" / "data"))
        cases.push_back({(source / "tests" / "data" / name / "definition.json").string(),
                         (source / "tests" / "data" / name / "data.bin").string()});
    for (const std::string& name : folders_in(source / "examples")) {
        const fs::path folder = source / "examples" / name;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().stem() == "sample")
                cases.push_back({(folder / "definition.json").string(), entry.path().string()});
    }
    return cases;
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

// The shell words that run kestrix-cli (or a copy of it at `program`) with `args`.
inline std::string cli_command(std::initializer_list<std::string> args, const std::string& program = KESTRIX_CLI_PATH)
{
    std::string command = quoted(program);
    for (const std::string& arg : args)
        command.append(" ").append(quoted(arg));
    return command;
}

// Runs the shell command line `command` (which may set limits, pipe or redirect);
// what it prints goes to files in `folder`, then into the result.
inline Cli_run run_shell(const std::string& folder, const std::string& command)
{
    const std::string out = folder + "/cli.out";
    const std::string err = folder + "/cli.err";
    // Appended piece by piece: "literal" + std::string trips a false GCC 12 warning.
    std::string line = "(";
    line += command;
    line += ") >";
    line += quoted(out);
    line += " 2>";
    line += quoted(err);
    line += " </dev/null";
    const int raw = std::system(line.c_str());
    Cli_run run;
    run.status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = file_contents(out);
    run.err = file_contents(err);
    std::remove(out.c_str());
    std::remove(err.c_str());
    return run;
}

// Runs kestrix-cli with `args`; standard output and error go to files in `folder`.
inline Cli_run run_cli(const std::string& folder, std::initializer_list<std::string> args)
{
    return run_shell(folder, cli_command(args));
}

// A folder of its own for each test, removed afterwards.
class Cli_folder_test : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return folder_ / name; }
    Cli_run cli(std::initializer_list<std::string> args) const { return run_cli(folder_.path(), args); }

    // Builds a definition file from JSON text through the program itself.
    std::string kxd_from(const std::string& json, const std::string& name = "def.kxd") const
    {
        write_file(path("def.json"), json);
        const Cli_run run = cli({"kxd", path("def.json"), path(name)});
        EXPECT_EQ(run.status, 0) << run.err;
        return path(name);
    }

    Temp_folder folder_{"cli"};
};

} // namespace cli_test
