#pragma once

#include <memory>
#include <string>
#include <vector>

// The window system's side of the program, made first and destroyed last: Qt's
// application object, Japanese texts for the toolkit's own dialogs and buttons, the
// Japanese font, the program's resources and icon.
class Bcl_app {
public:
    // Takes the toolkit's own options off the command line.
    Bcl_app(int& argc, char** argv);
    ~Bcl_app();
    Bcl_app(const Bcl_app&) = delete;
    Bcl_app& operator=(const Bcl_app&) = delete;

    // The program's arguments after the program name, as the system gave them.
    [[nodiscard]] const std::vector<std::string>& arguments() const { return arguments_; }
    // The folder of the program file.
    [[nodiscard]] static std::string program_folder();
    // Whether the toolkit's own texts were found in Japanese.
    [[nodiscard]] bool translated() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::vector<std::string> arguments_;
};

// True when a window system is there to show windows on: a display is named, or a
// platform is chosen explicitly.
[[nodiscard]] bool bcl_display_available();
