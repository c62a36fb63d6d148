#include "application.h"

#include <exception>

#include "base/failure.h"

namespace lt {

void Application::run(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        showException(e.what());
    }
}

std::string Application::errorBoxText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
    return message;
}

void Application::showException(const std::string& message) {
    desktop_.messageBox(errorBoxText(message), title, MessageKind::Error);
}

void Application::notice(const std::string& text) { desktop_.messageBox(text, title, MessageKind::Notice); }

void Application::minimized() {
    run([this] {
        if (onMinimize) onMinimize();
    });
}

void Application::terminate() {
    if (terminated_) return;
    terminated_ = true;
    desktop_.quit();
}

}  // namespace lt
