#pragma once

// The top-level main window the toolkit created under `name` (Bcl_sdi::create).
#include <QApplication>
#include <QMainWindow>
#include <QWidget>

inline QMainWindow* top_window(const char* name)
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String(name))
            if (auto* main = qobject_cast<QMainWindow*>(widget))
                return main;
    return nullptr;
}
