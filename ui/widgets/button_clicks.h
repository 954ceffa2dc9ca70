// Wiring a window's buttons to its slots from one table, each button beside the slot it runs.
#pragma once

#include <initializer_list>
#include <utility>

#include <QAbstractButton>

// A button and the window's slot its click runs.
template <class Window>
using ButtonClick = std::pair<QAbstractButton*, void (Window::*)()>;

// Connects each button's clicked signal to the window's slot.
template <class Window>
void connectClicks(Window* window, std::initializer_list<ButtonClick<Window>> clicks) {
    for (const auto& [button, slot] : clicks)
        QObject::connect(button, &QAbstractButton::clicked, window, slot);
}
