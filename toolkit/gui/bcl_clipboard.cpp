#include "toolkit/gui/bcl_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "toolkit/gui/detail/access.h"

void set_clipboard_text(std::string_view text) { QGuiApplication::clipboard()->setText(qstr(text)); }

std::string clipboard_text() { return utf8(QGuiApplication::clipboard()->text()); }
