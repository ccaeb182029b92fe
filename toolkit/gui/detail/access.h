#pragma once

// Inside the toolkit only: the Qt side of the wrappers.
#include <QString>
#include <QWidget>

#include <string>
#include <string_view>

#include "toolkit/gui/bcl_wnd.h"

struct Bcl_widget_access {
    static QWidget* widget(const Bcl_wnd& wnd);
    // The wrapper takes `widget`; a widget without a parent is destroyed with it.
    static void set_widget(Bcl_wnd& wnd, QWidget* widget);
    static void created(Bcl_wnd& wnd) { wnd.on_create(); }
    // Lives as long as the wrapper: the context of its signal connections, so that a
    // signal after the wrapper is gone reaches nothing.
    static QObject* context(const Bcl_wnd& wnd);
};

inline QString qstr(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }
inline std::string utf8(const QString& text) { return text.toStdString(); }

// The object name of a control with an id: how dialog templates name their controls
// and how tests find the main window's.
inline QString control_name(int id) { return QStringLiteral("id_%1").arg(id); }

// The widget that receives the keys of a window (a tab control's tab bar).
QWidget* key_target(QWidget* widget);
