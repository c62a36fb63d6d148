// The application object: its title, message boxes, the default exception handler
// that every event handler runs under, and the minimise hook.
#pragma once
#include <functional>
#include <string>

#include "base/event_guard.h"
#include "system/desktop.h"

namespace lt {

class Application : public EventGuard {
public:
    explicit Application(Desktop& desktop) : desktop_(desktop) {}

    std::string title;

    // Runs an event handler; a failure it raises ends it and is shown in the error box.
    void run(const std::function<void()>& handler) override;
    // The error box of the default handler: the message, with a full stop appended when
    // its last character sorts after "." (so ")" and "." get none), captioned with the title.
    void showException(const std::string& message);
    static std::string errorBoxText(const std::string& message);
    // A notice with one OK button, captioned with the title.
    void notice(const std::string& text);

    // The application was minimised (the backend reports it).
    std::function<void()> onMinimize;
    void minimized();

    void terminate();
    bool terminated() const { return terminated_; }
    Desktop& desktop() { return desktop_; }

private:
    Desktop& desktop_;
    bool terminated_ = false;
};

}  // namespace lt
