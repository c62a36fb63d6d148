// The windowing system as the program needs it: native windows for the forms, message
// boxes, the message loop, the application's top-level window, the tray icon.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace lt {

class Form;
class TrayIcon;

enum class MessageKind { Notice, Error };

class Desktop {
public:
    virtual ~Desktop() = default;
    // Creates the native windows of a built form; the form's state stays authoritative.
    virtual void realize(Form& form) = 0;
    virtual void showTrayIcon(TrayIcon& icon) = 0;
    // Blocks until the user has closed the box (one OK button).
    virtual void messageBox(const std::string& text, const std::string& caption, MessageKind kind) = 0;
    // Handles the window messages and port hand-overs that are waiting, then returns.
    virtual void processMessages() = 0;
    // Handles messages until quit() is called.
    virtual void runMessageLoop() = 0;
    virtual void quit() = 0;
    // The application's top-level window, which owns the taskbar entry.
    virtual void hideApplicationWindow() = 0;
    virtual void restoreApplicationWindow() = 0;
};

// The shell's "open" verb, for the web links.
class Shell {
public:
    virtual ~Shell() = default;
    virtual void open(const std::string& address, Form& owner) = 0;
};

// The name of the running Windows platform: "Windows 95" for the 95/98/Me family,
// "Windows NT" for the NT family.
class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    virtual std::string platformName() = 0;
};

}  // namespace lt
