#pragma once

#include <string>

class Bcl_wnd;

// The help viewer: HTML pages shipped with the program, shown in a help window of its
// own. Topics are asked for by context id; the page of id N is "topic_N.html" next to
// the contents page.
class Bcl_htmlhelp {
public:
    // The contents page, as a path relative to the program's folder (also looked for
    // in ../share/kestrix/ from there, where an installed program keeps it).
    void set_file(const std::string& name);
    // The contents page by full path.
    void set_path(const std::string& path);
    [[nodiscard]] bool available() const { return !contents_.empty(); }

    // Both show "HtmlHelpを開けません。" (caption "エラー") and do nothing else when no
    // help was found. A topic without a page shows the contents.
    void show_contents(Bcl_wnd* owner);
    void show_topic(Bcl_wnd* owner, int context_id);
    void close_all();

    // The page shown now, or "" when the help window is closed (for tests).
    [[nodiscard]] std::string shown_page() const;

private:
    void show_page(Bcl_wnd* owner, const std::string& path);
    std::string contents_;
};

// The program's help viewer.
Bcl_htmlhelp& help_viewer();
