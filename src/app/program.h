// Program start: the application object, then the windows in their fixed order, then
// the message loop until the main window closes.
#pragma once
#include <memory>

#include "app/main_form.h"
#include "pages/cadence_editor.h"
#include "settings/settings_store.h"
#include "settings/setup_dialog.h"
#include "system/platform.h"
#include "toolkit/application.h"

namespace lt {

class Program {
public:
    explicit Program(const Platform& platform);
    ~Program();

    // Creates the windows and runs their creation steps, then shows the main window.
    void start();
    // Runs the message loop until the main window is closed.
    void run();

    Application app;
    SettingsStore settings;
    std::unique_ptr<TForm1> Form1;
    std::unique_ptr<TForm2> Form2;
    std::unique_ptr<TForm4> Form4;

private:
    Platform platform_;
};

}  // namespace lt
