#pragma once

// Inside the toolkit only: key presses handed to the program.
#include <QObject>

#include <functional>

#include "toolkit/gui/bcl_input.h"

// Offers key presses to the program's handler before the widget it watches sees
// them. Tab is taken here too, before Qt moves the focus by itself.
class Key_filter : public QObject {
public:
    explicit Key_filter(std::function<bool(const Bcl_key_event&)> handler, QObject* parent = nullptr)
        : QObject(parent), handler_(std::move(handler))
    {
    }

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<bool(const Bcl_key_event&)> handler_;
};
