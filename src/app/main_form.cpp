#include "main_form.h"

#include "settings/settings_store.h"

namespace lt {

TForm1::TForm1(Application& app, const Platform& platform, SettingsStore& settings)
    : Form("Form1"),
      PageControl1(this, "PageControl1"),
      TabSheet1(&PageControl1, "TabSheet1"), TabSheet5(&PageControl1, "TabSheet5"),
      TabSheet2(&PageControl1, "TabSheet2"), TabSheet4(&PageControl1, "TabSheet4"),
      TabSheet3(&PageControl1, "TabSheet3"),
      SpeedButton1(this, "SpeedButton1"), SpeedButton3(this, "SpeedButton3"),
      Memo1(this, "Memo1"), Memo2(this, "Memo2"),
      link(settings, platform.serial, platform.clock, app, Memo1, Memo2),
      busyTone(TabSheet1, link, initString.Edit1),
      initString(TabSheet1, settings),
      levels(TabSheet5, link, initString.Edit1),
      extRegs(TabSheet2, link, initString.Edit1),
      speed(TabSheet4, link, initString.Edit1),
      information(TabSheet3, *this, platform.shell, link, settings, app),
      app_(app), settings_(settings) {
    buildFrame();
    link.VaComm.onTxEmpty = [this] { VaCommTxEmpty(); };
    information.ApplyFirmwareFeatures = [this] { ApplyFirmwareFeatures(); };
}

void TForm1::buildFrame() {
    setText("Olvix Linetrim v 5.09");
    setBounds(0, 0, 349, 368);
    formStyle.minimizeBox = true;
    PageControl1.setBounds(0, 0, 345, 329);
    const char* captions[] = {"Главная", "Уровни сигналов", "Регистры +", "Скорость", "Информация"};
    auto pages = PageControl1.pages();
    for (size_t i = 0; i < pages.size(); ++i) {
        pages[i]->setText(captions[i]);
        pages[i]->setBounds(4, 24, 337, 301);
    }
    PageControl1.setActivePage(2);  // "Регистры +" in front at start

    SpeedButton1.setText("Помощь");
    SpeedButton1.setBounds(112, 336, 113, 25);
    SpeedButton1.setEnabled(false);  // never enabled: help does not exist
    SpeedButton3.setText("Выход");
    SpeedButton3.setBounds(232, 336, 113, 25);
    SpeedButton3.onClick = [this] { SpeedButton3Click(); };

    RxTrayIcon1.menu = {{"N1", "Развернуть", [this] { N1Click(); }}, {"N2", "Выход", [this] { N2Click(); }}};
    RxTrayIcon1.active = true;
    app_.onMinimize = [this] { AppEvents1Minimize(); };
    onClose = [this] { app_.terminate(); };
}

void TForm1::FormCreate() {
    information.DescribeModem();
    if (!settings_.ReadSetting(setting::kVersion).empty()) {
        ApplyFirmwareFeatures();
        return;
    }
    // Without a stored edition. GroupBox3 and SpeedButton7 keep their own state: they
    // sit in the disabled page and do not respond, but are not drawn disabled.
    for (Control* c : std::initializer_list<Control*>{&busyTone.GroupBox1, &extRegs.SpeedButton2, &extRegs.Button1,
                                                      &TabSheet2, &levels.LMDGroupBox2})
        c->setEnabled(false);
}

void TForm1::VaCommTxEmpty() {
    // The port reports transmit-empty more than once after a script (characters that left
    // during the send leave reports behind), yet a reply is parsed once: a failed parse
    // would otherwise show its error again with every report.
    if (link.ReplyTaken) return;
    // Each test reads the live state: a branch that completes empties RxText and resets
    // PendingRequest, so at most one branch runs per report.
    auto due = [this](size_t threshold, TRequestKind code) {
        return link.RxText.size() > threshold && link.PendingRequest == code;
    };
    // Marked before the branch runs, so that a failing branch stays marked.
    auto run = [this](const auto& parse) {
        link.ReplyTaken = true;
        parse();
    };
    if (due(20, rqExtRegsRead)) run([this] { extRegs.ParseExtRegsReply(); });
    if (due(20, rqBusyRead)) run([this] { busyTone.ParseBusyReply(); });
    if (due(20, rqIdentify)) run([this] { information.ParseIdentifyReply(); });
    if (due(20, rqSpeedRead)) run([this] { speed.ParseSpeedReply(); });
    // A level branch that finds no echo of its query has taken nothing: the echo may
    // still be on its way, and the report that brings it parses the reply.
    if (due(10, rqTxLevelRead)) run([this] { link.ReplyTaken = levels.ParseTxLevelReply(); });
    if (due(10, rqLineAdaptRead)) run([this] { link.ReplyTaken = levels.ParseLineAdaptReply(); });
}

void TForm1::SpeedButton3Click() { close(); }
void TForm1::N2Click() { close(); }
void TForm1::AppEvents1Minimize() { app_.desktop().hideApplicationWindow(); }
void TForm1::N1Click() { app_.desktop().restoreApplicationWindow(); }

}  // namespace lt
