// A desktop without windows: message boxes are recorded and return at once, and
// message processing hands over the serial conditions that are waiting.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "system/desktop.h"
#include "toolkit/form.h"

namespace lt::headless {

struct MessageBoxRecord {
    std::string text;
    std::string caption;
    MessageKind kind;
};

class HeadlessDesktop : public Desktop {
public:
    void realize(Form& form) override { realized.push_back(&form); }
    void showTrayIcon(TrayIcon& icon) override { tray = &icon; }
    void messageBox(const std::string& text, const std::string& caption, MessageKind kind) override;
    void processMessages() override;
    // No user sits at a headless desktop: handles what is waiting and returns.
    void runMessageLoop() override { processMessages(); }
    void quit() override { quitRequested = true; }
    void hideApplicationWindow() override { applicationWindowShown = false; }
    void restoreApplicationWindow() override { applicationWindowShown = true; }

    // Each source hands over what it has and says whether it did.
    std::vector<std::function<bool()>> sources;
    std::vector<MessageBoxRecord> messageBoxes;
    std::function<void(const MessageBoxRecord&)> onMessageBox;
    std::vector<Form*> realized;
    TrayIcon* tray = nullptr;
    bool quitRequested = false;
    bool applicationWindowShown = true;
};

class RecordingShell : public Shell {
public:
    void open(const std::string& address, Form&) override { opened.push_back(address); }
    std::vector<std::string> opened;
};

class FixedSystemInfo : public SystemInfo {
public:
    std::string platformName() override { return name; }
    std::string name = "Windows NT";
};

}  // namespace lt::headless
