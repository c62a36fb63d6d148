#include "program.h"

namespace lt {

Program::Program(const Platform& platform)
    : app(platform.desktop), settings(platform.registry), platform_(platform) {
    app.title = "ZOLT tuner";
}

Program::~Program() = default;

void Program::start() {
    Form1 = std::make_unique<TForm1>(app, platform_, settings);
    app.run([this] { Form1->FormCreate(); });
    platform_.desktop.realize(*Form1);
    platform_.desktop.showTrayIcon(Form1->RxTrayIcon1);
    Form2 = std::make_unique<TForm2>(app, settings, platform_.systemInfo, *Form1, Form1->link.VaModem1,
                                     Form1->link.VaComm);
    app.run([this] { Form2->FormCreate(); });
    platform_.desktop.realize(*Form2);
    // "Модем" only shows the dialog: the list built at start stays as the user left it.
    Form1->information.showSetupDialog = [this] { Form2->show(); };
    Form4 = std::make_unique<TForm4>(Form1->busyTone);
    platform_.desktop.realize(*Form4);
    Form1->busyTone.LMD3DEffectButton1Click = [this] { Form4->Open(); };
    Form1->show();
}

void Program::run() {
    if (!app.terminated()) platform_.desktop.runMessageLoop();
}

}  // namespace lt
