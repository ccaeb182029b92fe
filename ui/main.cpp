// kestrix: the program's window.
#include <cstdio>

#include "document/data_mgr.h"
#include "toolkit/gui/bcl_app.h"
#include "ui/kestrix.h"

int main(int argc, char** argv)
{
    // Without a display Qt would abort; say why instead.
    if (!bcl_display_available()) {
        std::fputs("ウィンドウ(KestrixMainWnd)を作れませんでした!\n"
                   "kestrix: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                   "kestrix-cli runs without one.\n",
                   stderr);
        return 1;
    }
    Bcl_app application(argc, argv);
    Data_mgr& document = Data_mgr::instance();
    Kestrix window(document);
    if (!window.start(application.arguments()))
        return 1;
    return window.run();
}
