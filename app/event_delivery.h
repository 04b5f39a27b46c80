// Carries an event of the window or of a control to the handler bound to it.
#pragma once

#include <optional>
#include <span>

#include "app/control_properties.h"

enum class EventKind { Created, Click };

using EventHandler = void (*)(PropertyAccess& window);

// One row of the handler table; no source means the main window itself.
struct HandlerBinding {
    std::optional<ControlName> source;
    EventKind event;
    EventHandler handler;
};

class EventDelivery {
public:
    explicit EventDelivery(std::span<const HandlerBinding> table) : table_(table) {}

    // While suspended (the window is being built) every event is dropped.
    void Suspend() { suspended_ = true; }
    void Resume() { suspended_ = false; }

    // Runs the bound handler at once, on this thread; an unbound event is dropped.
    void Deliver(PropertyAccess& window, std::optional<ControlName> source, EventKind event) const
    {
        if (suspended_) return;
        for (const HandlerBinding& binding : table_) {
            if (binding.source == source && binding.event == event) {
                binding.handler(window);
                return;
            }
        }
    }

private:
    std::span<const HandlerBinding> table_;
    bool suspended_ = false;
};

// The main window's handler table.
std::span<const HandlerBinding> MainWindowHandlers();
