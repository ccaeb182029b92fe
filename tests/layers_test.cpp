// The folders are layers: a file includes its own folder and the folders below it,
// never one above. The logic, toolkit <- model <- engine <- document <- edit, is plain
// C++ and never includes the window toolkit (toolkit/gui), the window (ui/) or Qt;
// toolkit/gui wraps Qt and never includes ui/; ui/ may include any of them but Qt,
// which it reaches only through toolkit/gui.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Layer {
    std::set<std::string_view> may_include;
    bool may_include_qt = false;
};

const std::map<std::string_view, Layer>& layers()
{
    static const std::map<std::string_view, Layer> table{
        {"toolkit", {{"toolkit"}}},
        {"model", {{"toolkit", "model"}}},
        {"engine", {{"toolkit", "model", "engine"}}},
        {"document", {{"toolkit", "model", "engine", "document"}}},
        {"edit", {{"toolkit", "model", "engine", "document", "edit"}}},
        {"cli", {{"toolkit", "model", "engine", "document", "edit", "cli"}}},
        {"toolkit/gui", {{"toolkit", "toolkit/gui", "res"}, true}},
        {"ui", {{"toolkit", "model", "engine", "document", "edit", "toolkit/gui", "res", "ui"}}},
    };
    return table;
}

// The layer of a path relative to the repository ("toolkit/gui/x.h" is in
// toolkit/gui, "ui/core/x.h" in ui); empty for folders outside the layers.
std::string_view layer_of(std::string_view path)
{
    if (path.starts_with("toolkit/gui/"))
        return "toolkit/gui";
    const std::string_view top = path.substr(0, path.find('/'));
    return top.size() < path.size() && layers().contains(top) ? top : std::string_view();
}

// Whether a file at `file` may include `target`: a quoted path relative to the
// repository (a name without a folder is the file's own folder's) or, when
// `angled`, a system header, of which only the Qt ones are ruled.
bool include_allowed(std::string_view file, std::string_view target, bool angled)
{
    const std::string_view from = layer_of(file);
    if (from.empty())
        return true;
    const Layer& layer = layers().at(from);
    if (angled)
        return layer.may_include_qt || !(target.starts_with("Q") || target.starts_with("qt"));
    if (target.find('/') == std::string_view::npos)
        return true;
    const std::string_view to = target.starts_with("toolkit/gui/") ? "toolkit/gui" : target.substr(0, target.find('/'));
    return layer.may_include.contains(to);
}

struct Include {
    std::string target;
    bool angled;
};

// The #include lines of a file.
std::vector<Include> includes_of(const fs::path& file)
{
    std::vector<Include> found;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        const auto start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, 8, "#include") != 0)
            continue;
        const auto open = line.find_first_of("<\"", start + 8);
        if (open == std::string::npos)
            continue;
        const auto close = line.find(line[open] == '<' ? '>' : '"', open + 1);
        if (close != std::string::npos)
            found.push_back({line.substr(open + 1, close - open - 1), line[open] == '<'});
    }
    return found;
}

struct Rule_case {
    const char* file;
    const char* target;
    bool angled;
    bool allowed;
};

class Include_rule_test : public ::testing::TestWithParam<Rule_case> {};

TEST_P(Include_rule_test, AllowsOwnAndLowerFoldersOnly)
{
    const Rule_case& c = GetParam();
    EXPECT_EQ(include_allowed(c.file, c.target, c.angled), c.allowed) << c.file << " -> " << c.target;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Include_rule_test,
    ::testing::Values(Rule_case{"model/cmp_int.cpp", "toolkit/text/bcl_str.h", false, true},
                      Rule_case{"model/cmp_int.cpp", "document/data_mgr.h", false, false},
                      Rule_case{"model/cmp_int.cpp", "engine/walk.h", false, false},
                      Rule_case{"engine/walk.h", "document/data_mgr.h", false, false},
                      Rule_case{"document/data_bytes.cpp", "edit/proc_def.h", false, false},
                      Rule_case{"document/data_mgr.cpp", "engine/analysis.h", false, true},
                      Rule_case{"toolkit/progress.cpp", "model/limits.h", false, false},
                      Rule_case{"toolkit/text/texts.h", "toolkit/gui/bcl_wnd.h", false, false},
                      Rule_case{"toolkit/files/file_writer.h", "toolkit/memory/small_copy.h", false, true},
                      Rule_case{"toolkit/memory/mapped_memory.cpp", "model/data_node.h", false, false},
                      Rule_case{"toolkit/text/bcl_str.cpp", "QString", true, false},
                      Rule_case{"edit/proc_def.cpp", "ui/core/modes.h", false, false},
                      Rule_case{"engine/expression.cpp", "QString", true, false},
                      Rule_case{"engine/expression.cpp", "string_view", true, true},
                      Rule_case{"cli/main.cpp", "toolkit/gui/bcl_app.h", false, false},
                      Rule_case{"toolkit/gui/bcl_wnd.cpp", "QWidget", true, true},
                      Rule_case{"toolkit/gui/bcl_app.cpp", "res/resources.h", false, true},
                      Rule_case{"toolkit/gui/bcl_wnd.cpp", "ui/kestrix.h", false, false},
                      Rule_case{"toolkit/gui/bcl_wnd.cpp", "document/data_mgr.h", false, false},
                      Rule_case{"ui/kestrix.cpp", "toolkit/gui/bcl_sdi.h", false, true},
                      Rule_case{"ui/core/modes.cpp", "edit/definition_edits.h", false, true},
                      Rule_case{"ui/kestrix.cpp", "QWidget", true, false},
                      Rule_case{"tests/any_test.cpp", "ui/kestrix.h", false, true}));

// The .h and .cpp files of the layers, relative to the repository.
std::vector<std::string> layer_files()
{
    const fs::path root(KESTRIX_SOURCE_DIR);
    std::vector<std::string> files;
    for (const auto& folder : layers()) {
        if (folder.first == "toolkit/gui")
            continue;  // walked as part of toolkit/
        const fs::path top = root / folder.first;
        if (!fs::exists(top))
            continue;
        for (const auto& entry : fs::recursive_directory_iterator(top)) {
            const std::string extension = entry.path().extension().string();
            if (entry.is_regular_file() && (extension == ".h" || extension == ".cpp"))
                files.push_back(fs::relative(entry.path(), root).generic_string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(Layers, NoFileIncludesAFolderAboveItsOwn)
{
    const fs::path root(KESTRIX_SOURCE_DIR);
    const std::vector<std::string> files = layer_files();
    std::vector<std::string> broken;
    for (const std::string& relative : files)
        for (const Include& include : includes_of(root / relative))
            if (!include_allowed(relative, include.target, include.angled))
                broken.push_back(relative + " includes " + include.target);
    EXPECT_GT(files.size(), 100u);
    EXPECT_EQ(broken, std::vector<std::string>{});
}

// The document is reached through instance() only by the programs' entry points
// (tests, benchmarks and fuzz targets are entry points of their own and lie outside
// the layers); everything else receives the document it works on.
TEST(Layers, OnlyEntryPointsReachTheDocumentsInstance)
{
    const fs::path root(KESTRIX_SOURCE_DIR);
    const std::vector<std::string> allowed{"cli/main.cpp", "document/data_mgr.cpp", "document/data_mgr.h", "ui/main.cpp"};
    std::vector<std::string> reaching;
    for (const std::string& relative : layer_files()) {
        std::ifstream in(root / relative);
        const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (text.find("Data_mgr::instance()") != std::string::npos)
            reaching.push_back(relative);
    }
    std::vector<std::string> unexpected;
    std::set_difference(reaching.begin(), reaching.end(), allowed.begin(), allowed.end(),
                        std::back_inserter(unexpected));
    EXPECT_EQ(unexpected, std::vector<std::string>{});
}

} // namespace
