// kestrix-cli: the text report, the component tree and definitions as JSON from the
// command line. File names are passed on exactly as given (File_path); messages are
// UTF-8 here while the logic works in Shift-JIS, so every text is converted at this
// edge.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/definition_json.h"
#include "cli/terminal_progress.h"
#include "cli/tree_output.h"
#include "document/data_mgr.h"
#include "document/definition_file.h"
#include "document/find.h"
#include "document/place_path.h"
#include "document/report.h"
#include "model/component.h"
#include "model/item_list.h"
#include "toolkit/exception.h"
#include "toolkit/files/file_io.h"
#include "toolkit/files/file_path.h"
#include "toolkit/text/texts.h"

namespace {

constexpr int exit_failure = 1;
constexpr int exit_usage = 2;

constexpr const char* usage_text =
    "Usage:\n"
    "  kestrix-cli export [--utf8] DEFINITION DATA OUTPUT\n"
    "      Writes the analysis of DATA by the definition file DEFINITION (*.kxd) to\n"
    "      OUTPUT as a text report: Shift-JIS with CR LF line ends, or UTF-8 with LF\n"
    "      line ends with --utf8. OUTPUT \"-\" is standard output.\n"
    "  kestrix-cli tree [--depth N] [--json] DEFINITION DATA\n"
    "      Analyses DATA and prints the component tree down to depth N (the root is\n"
    "      depth 0; default 1), two spaces per level, name, tab, value (UTF-8;\n"
    "      control characters as \\t, \\n, \\r, \\x1b, a backslash doubled).\n"
    "      --json: one JSON object per component instead, with name, offset,\n"
    "      length, value, number (integers; null for others) and children.\n"
    "  kestrix-cli at DEFINITION DATA OFFSET\n"
    "      Prints what a click on the byte at OFFSET (decimal, 0x1A2B or 1A2Bh) in\n"
    "      the dump selects: its first byte as 8 hexadecimal digits (-------- when it\n"
    "      has none), tab, its path (the names from the top level down, escaped as\n"
    "      tree escapes them, joined by /), tab, its value. When no value holds the\n"
    "      byte, the deepest table or record holding it; exit status 1 when nothing\n"
    "      holds it or OFFSET is past the end, 2 when OFFSET is no number.\n"
    "  kestrix-cli find DEFINITION DATA (--name TEXT | --value TEXT | --bytes HEX |\n"
    "                   --text TEXT) [--count]\n"
    "      Prints one line per hit as at does, in the order of the fully expanded\n"
    "      tree, or with --count the number of hits; exit status 1 when there is\n"
    "      none. --name: components whose name holds TEXT (ASCII letters in either\n"
    "      case). --value: values whose text holds TEXT; when TEXT is a number\n"
    "      (decimal, -12, 0x1A or 1Ah) also integers and bit flags of that value.\n"
    "      --bytes: the places of a hexadecimal byte pattern (\"89 50 4E 47\");\n"
    "      --text: of TEXT in Shift-JIS. A place's line starts with its own offset,\n"
    "      followed by the path and value of what holds the byte.\n"
    "  kestrix-cli json DEFINITION\n"
    "      Prints the definition file DEFINITION as JSON.\n"
    "  kestrix-cli kxd JSON OUTPUT\n"
    "      Writes the definition described by the JSON file JSON to OUTPUT (*.kxd).\n"
    "  kestrix-cli --help | --version\n"
    "\n"
    "Exit status: 0 on success (a report that ends in \"データ不足\" included), 1 when\n"
    "a file cannot be read or written, 2 for a wrong command line. A file that\n"
    "cannot be written completely is left as it was; an output that is one of the\n"
    "input files is refused.\n";

struct Usage_error {
    std::string message;
};

// The commands and the files each takes, in order.
struct Command {
    std::string_view name;
    std::vector<std::string_view> files;
};

const std::vector<Command>& commands()
{
    static const std::vector<Command> table = {
        {"export", {"DEFINITION", "DATA", "OUTPUT"}},
        {"tree", {"DEFINITION", "DATA"}},
        {"at", {"DEFINITION", "DATA", "OFFSET"}},
        {"find", {"DEFINITION", "DATA"}},
        {"json", {"DEFINITION"}},
        {"kxd", {"JSON", "OUTPUT"}},
    };
    return table;
}

const Command& find_command(const std::string& name)
{
    for (const Command& command : commands())
        if (command.name == name)
            return command;
    throw Usage_error{"unknown command \"" + name + "\""};
}

// The name messages show for standard output as the report's OUTPUT ("-").
const File_path standard_output_name("標準出力");

// The command line after the command: options and positional arguments.
struct Arguments {
    std::vector<File_path> files;
    bool utf8 = false;
    bool help = false;
    bool json = false;
    std::optional<int> depth;
    // find: the option that says what to look for, its text, and --count.
    std::string find_kind;
    std::string find_text;
    bool count = false;
};

Arguments parse(const std::string& command, int argc, char** argv)
{
    Arguments args;
    bool options_done = false;
    for (int i = 2; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (options_done || arg.size() < 2 || arg[0] != '-') {
            args.files.emplace_back(arg);
        } else if (arg == "--help" || arg == "-h") {
            args.help = true;
        } else if (arg == "--") {
            options_done = true;
        } else if (arg == "--utf8" && command == "export") {
            args.utf8 = true;
        } else if (arg == "--json" && command == "tree") {
            args.json = true;
        } else if ((arg == "--depth" || arg.starts_with("--depth=")) && command == "tree") {
            std::string value;
            if (arg == "--depth") {
                if (++i >= argc)
                    throw Usage_error{"--depth needs a number"};
                value = argv[i];
            } else {
                value = std::string(arg.substr(8));
            }
            char* end = nullptr;
            const long n = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0' || n < 0 || n > 1000000)
                throw Usage_error{"--depth needs a whole number from 0 to 1000000, not \"" + value + "\""};
            args.depth = static_cast<int>(n);
        } else if ((arg == "--name" || arg == "--value" || arg == "--bytes" || arg == "--text") && command == "find") {
            if (!args.find_kind.empty())
                throw Usage_error{"find takes one of --name, --value, --bytes and --text"};
            if (++i >= argc)
                throw Usage_error{std::string(arg) + " needs a text"};
            args.find_kind = arg.substr(2);
            args.find_text = argv[i];
        } else if (arg == "--count" && command == "find") {
            args.count = true;
        } else {
            throw Usage_error{"unknown option \"" + std::string(arg) + "\" for " + command};
        }
    }
    return args;
}

void expect_files(const Arguments& args, const Command& command)
{
    const std::string name(command.name);
    if (args.files.size() != command.files.size())
        throw Usage_error{name + " takes " + std::to_string(command.files.size()) + " file arguments, not " +
                          std::to_string(args.files.size())};
    for (std::size_t i = 0; i < args.files.size(); ++i)
        if (args.files[i].empty())
            throw Usage_error{name + ": the " + std::string(command.files[i]) + " file name is empty"};
}

// Runs `step` on the file at `path`, turning memory running out into the path-first
// message of the Exception family.
template <typename Step>
decltype(auto) on_file(const File_path& path, Step step)
{
    try {
        return step();
    } catch (const std::bad_alloc&) {
        throw Out_of_memory_exception(path);
    } catch (const std::length_error&) {
        throw Out_of_memory_exception(path);
    }
}

// Shows the progress of long steps on standard error while it is a terminal.
class Progress_on_terminal {
public:
    Progress_on_terminal()
    {
        if (::isatty(STDERR_FILENO)) {
            bar_.emplace(stderr);
            set_reporter(&*bar_);
        }
    }
    ~Progress_on_terminal() { set_reporter(nullptr); }
    Progress_on_terminal(const Progress_on_terminal&) = delete;
    Progress_on_terminal& operator=(const Progress_on_terminal&) = delete;

private:
    std::optional<Terminal_progress> bar_;
};

int run_export(const Arguments& args)
{
    const File_path& definition = args.files[0];
    const File_path& data = args.files[1];
    const File_path& output = args.files[2];
    const bool to_standard_output = output.bytes() == "-";
    const auto encoding = args.utf8 ? Bcl_textfile::Encoding::utf8_lf : Bcl_textfile::Encoding::shift_jis_crlf;
    {
        Progress_on_terminal progress;
        Data_mgr& document = Data_mgr::instance();
        on_file(definition, [&] { document.load_definition(definition); });
        on_file(data, [&] {
            if (to_standard_output)
                write_report_to_standard_output(document, data, standard_output_name, encoding);
            else
                write_report(document, data, output, encoding);
        });
    }
    // What the program says when its analyse-and-output command is done; not when
    // the report itself went to standard output.
    if (!to_standard_output)
        std::cout << output.display() << texts::output_done().to_utf8() << '\n';
    return 0;
}

int run_tree(const Arguments& args)
{
    Progress_on_terminal progress;
    Data_mgr& document = Data_mgr::instance();
    on_file(args.files[0], [&] { document.load_definition(args.files[0]); });
    on_file(args.files[1], [&] {
        document.load_data(args.files[1]);
        if (args.json)
            print_tree_json(*document.root_component(), args.depth.value_or(1), std::cout);
        else
            print_tree(*document.root_component(), args.depth.value_or(1), std::cout);
    });
    return 0;
}

// One line of at and find: the first byte, the path and the value (UTF-8, escaped
// as tree escapes them).
void print_place(std::optional<std::uint64_t> offset, const std::vector<Bcl_str>& names, const Bcl_str& value,
                 std::ostream& out)
{
    std::string line;
    if (offset) {
        char digits[17];
        std::snprintf(digits, sizeof digits, "%08llX", static_cast<unsigned long long>(*offset));
        line += digits;
    } else {
        line += "--------";
    }
    line += '\t';
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            line += '/';
        line += escaped_for_line(names[i].to_utf8());
    }
    line += '\t';
    line += escaped_for_line(value.to_utf8());
    line += '\n';
    out << line;
}

// The same for the last component of `path` (not empty), at `offset` or its own first byte.
void print_place(const std::vector<Component*>& path, std::optional<std::uint64_t> offset, std::ostream& out)
{
    if (!offset && path.back()->start())
        offset = path.back()->start()->position();
    std::vector<Bcl_str> names;
    for (const Component* component : path)
        names.push_back(component->name());
    print_place(offset, names, path.back()->value_text(), out);
}

void load_both(Data_mgr& document, const Arguments& args)
{
    on_file(args.files[0], [&] { document.load_definition(args.files[0]); });
    on_file(args.files[1], [&] { document.load_data(args.files[1]); });
}

int run_at(const Arguments& args)
{
    const std::string offset_text = args.files[2].bytes();
    const std::optional<std::uint64_t> offset = parse_offset(offset_text);
    if (!offset)
        throw Usage_error{"OFFSET must be a number (decimal, 0x1A2B or 1A2Bh), not \"" + offset_text + "\""};
    Progress_on_terminal progress;
    Data_mgr& document = Data_mgr::instance();
    load_both(document, args);
    if (*offset >= document.size()) {
        std::cerr << "kestrix-cli: offset " << *offset << " is past the end of the data (" << document.size()
                  << " bytes)\n";
        return exit_failure;
    }
    const std::vector<Component*> path = on_file(args.files[1], [&] { return place_path_of(document, *offset); });
    if (path.empty())
        return exit_failure;
    print_place(path, std::nullopt, std::cout);
    return 0;
}

int run_find(const Arguments& args)
{
    if (args.find_kind.empty())
        throw Usage_error{"find needs one of --name, --value, --bytes and --text"};
    std::optional<std::string> pattern;
    if (args.find_kind == "bytes") {
        pattern = parse_hex_pattern(args.find_text);
        if (!pattern)
            throw Usage_error{"--bytes needs pairs of hexadecimal digits, not \"" + args.find_text + "\""};
    } else if (args.find_kind == "text") {
        pattern = Bcl_str::from_utf8(args.find_text).bytes();
        if (pattern->empty())
            throw Usage_error{"--text needs a text"};
    }
    Progress_on_terminal progress;
    Data_mgr& document = Data_mgr::instance();
    load_both(document, args);
    std::uint64_t hits = 0;
    on_file(args.files[1], [&] {
        if (pattern) {
            find_bytes(document, *pattern, [&](std::uint64_t offset) {
                ++hits;
                if (args.count)
                    return true;
                const std::vector<Component*> path = place_path_of(document, offset);
                if (path.empty())
                    print_place(offset, {}, Bcl_str(), std::cout);
                else
                    print_place(path, offset, std::cout);
                // The expansions made to reach the hit are dropped again, so that
                // memory stays flat however many hits there are.
                if (!path.empty())
                    path.front()->clear_children();
                return true;
            });
        } else {
            Component_query query;
            query.kind = args.find_kind == "name" ? Component_query::Kind::name : Component_query::Kind::value;
            query.text = Bcl_str::from_utf8(args.find_text).bytes();
            find_components(document, query, [&](const Component_hit& hit) {
                ++hits;
                if (!args.count)
                    print_place(hit.offset, hit.names, hit.value_text, std::cout);
                return true;
            });
        }
    });
    if (args.count)
        std::cout << hits << '\n';
    return hits > 0 ? 0 : exit_failure;
}

int run_json(const Arguments& args)
{
    on_file(args.files[0], [&] {
        const Definition_contents definition = read_definition_file(args.files[0]);
        std::cout << definition_to_json(definition).dump(2) << '\n';
    });
    return 0;
}

int run_kxd(const Arguments& args)
{
    const File_path& json_path = args.files[0];
    const File_path& output = args.files[1];
    const std::string shown = json_path.display();
    Bcl_str title;
    Byte_order byte_order = Byte_order::big_endian;
    Item_list items;
    on_file(json_path, [&] {
        nlohmann::ordered_json document;
        try {
            document = parse_definition_json(read_whole_file(json_path));
        } catch (const Json_definition_error& e) {
            throw Json_definition_error(shown + ": " + e.what());
        }
        try {
            definition_from_json(document, title, byte_order, items);
        } catch (const Json_definition_error& e) {
            throw Json_definition_error(shown + ": " + e.what());
        }
    });
    refuse_same_file(output, json_path);
    on_file(output, [&] { write_definition_file(output, title, byte_order, items); });
    return 0;
}

int run(int argc, char** argv)
{
    if (argc < 2)
        throw Usage_error{"no command given"};
    const std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << usage_text;
        return 0;
    }
    if (command == "--version") {
        std::cout << "kestrix-cli " KESTRIX_VERSION "\n";
        return 0;
    }
    const Command& known = find_command(command);
    const Arguments args = parse(command, argc, argv);
    if (args.help) {
        std::cout << usage_text;
        return 0;
    }
    expect_files(args, known);
    if (command == "export")
        return run_export(args);
    if (command == "tree")
        return run_tree(args);
    if (command == "at")
        return run_at(args);
    if (command == "find")
        return run_find(args);
    if (command == "json")
        return run_json(args);
    return run_kxd(args);
}

} // namespace

int main(int argc, char** argv)
{
    int status = exit_failure;
    try {
        status = run(argc, argv);
    } catch (const Usage_error& e) {
        std::cerr << "kestrix-cli: " << e.message << "\nTry \"kestrix-cli --help\".\n";
        return exit_usage;
    } catch (const Fault_exception& e) {
        // A fault of the program or the system, not of a file.
        std::cerr << "kestrix-cli: " << e.display_text() << '\n';
        return exit_failure;
    } catch (const Exception& e) {
        // The path first, then the program's own message, as its message boxes show.
        std::cerr << e.display_text() << '\n';
        return exit_failure;
    } catch (const Json_definition_error& e) {
        std::cerr << e.what() << '\n';
        return exit_failure;
    } catch (const std::exception& e) {
        std::cerr << "kestrix-cli: " << e.what() << '\n';
        return exit_failure;
    }
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "kestrix-cli: standard output could not be written\n";
        return exit_failure;
    }
    return status;
}
