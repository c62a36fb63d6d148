#include "information_page.h"

#include <array>
#include <exception>

#include "link/firmware_editions.h"

namespace lt {

InformationPage::InformationPage(Control& page, Form& owner, Shell& shell, CommandExchange& link,
                                 SettingsStore& settings, EventGuard& guard)
    : Label1(&page, "Label1"), SpeedButton21(&page, "SpeedButton21"), GroupBox2(&page, "GroupBox2"),
      Label19(&GroupBox2, "Label19"), Label18(&GroupBox2, "Label18"), Label21(&GroupBox2, "Label21"),
      Label20(&GroupBox2, "Label20"), Label22(&GroupBox2, "Label22"),
      Label7(&page, "Label7"), Label15(&page, "Label15"), Label8(&page, "Label8"), Label16(&page, "Label16"),
      Label9(&page, "Label9"), Label17(&page, "Label17"), SpeedButton6(&page, "SpeedButton6"), owner_(owner),
      shell_(shell), link_(link), settings_(settings), guard_(guard) {
    buildAbout();
    struct Placed {
        Label& label;
        const char* text;
        int left, top, width;
        bool caption;
    };
    const std::array<Placed, 6> labels = {{
        {Label7, "Обнаружен модем:", 8, 40, 95, true},
        {Label15, "стандартный модем", 120, 40, 200, false},
        {Label8, "Серия :", 8, 64, 37, true},
        {Label16, "стандартная, Conexant", 48, 64, 270, false},
        {Label9, "Версия микропрограммы:", 8, 88, 130, true},
        {Label17, "стандартная", 144, 88, 180, false},
    }};
    for (const Placed& p : labels) {
        p.label.setText(p.text);
        p.label.setBounds(p.left, p.top, p.width, 13);
        if (p.caption) p.label.style.fontColor = colors::kRed;
    }
    SpeedButton6.setText("Определить модель модема");
    SpeedButton6.setBounds(120, 112, 161, 25);
    SpeedButton6.style.flat = true;
    SpeedButton6.onClick = [this] { SpeedButton6Click(); };
}

void InformationPage::buildAbout() {
    Label1.setText("Olvix Linetrim  v.5.09");
    Label1.setBounds(8, 16, 120, 13);
    SpeedButton21.setText("Модем");
    SpeedButton21.setBounds(8, 112, 97, 25);
    SpeedButton21.style.flat = true;
    SpeedButton21.onClick = [this] { SpeedButton21Click(); };
    GroupBox2.setBounds(8, 144, 321, 129);
    Label19.setText("Наши координаты:");
    Label19.setBounds(8, 48, 100, 13);
    Label18.setText("Сайт компании :");
    Label18.setBounds(8, 72, 85, 13);
    Label21.setText("Сайт Olvix :");
    Label21.setBounds(8, 96, 70, 13);
    Label* links[] = {&Label20, &Label22};
    const char* addresses[] = {kCompanySite, kProductSite};
    for (int i = 0; i < 2; ++i) {
        links[i]->setText(addresses[i]);
        links[i]->setBounds(96, 72 + 24 * i, 200, 13);
        links[i]->style.fontColor = colors::kNavy;
        links[i]->style.handCursor = true;
    }
    Label20.onClick = [this] { Label20Click(); };
    Label22.onClick = [this] { Label22Click(); };
}

void InformationPage::SpeedButton21Click() {
    if (showSetupDialog) showSetupDialog();
}

void InformationPage::Label20Click() { shell_.open(Label20.text(), owner_); }
void InformationPage::Label22Click() { shell_.open(Label22.text(), owner_); }

void InformationPage::SpeedButton6Click() {
    link_.SendQueries(rqIdentify, {"ATI3"});
}

void InformationPage::storeEdition(const std::string& reply) {
    SettingsWriter writer = settings_.openForWriting();
    writer.remove(setting::kModem);
    writer.remove(setting::kVersion);
    for (const FirmwareEdition& edition : firmwareEditions()) {
        if (reply.find(edition.identification) == std::string::npos) continue;
        writer.write(setting::kModem, edition.series);
        writer.write(setting::kVersion, edition.code);
    }
}

void InformationPage::refresh() {
    DescribeModem();
    if (ApplyFirmwareFeatures) ApplyFirmwareFeatures();
}

void InformationPage::ParseIdentifyReply() {
    const std::string snapshot = link_.RxText;
    std::exception_ptr failure;
    try {
        storeEdition(snapshot);
    } catch (...) {
        failure = std::current_exception();
    }
    // The request is finished and the page brought in step with the settings even when
    // storing failed; that failure is reported after it.
    link_.CompleteParse();
    if (!failure) {
        refresh();
        return;
    }
    // A failure of the refresh must not hide the one of the store: each gets its box.
    guard_.run([this] { refresh(); });
    std::rethrow_exception(failure);
}

void InformationPage::DescribeModem() {
    const std::string series = settings_.ReadSetting(setting::kModem);
    const std::string code = settings_.ReadSetting(setting::kVersion);
    for (const FirmwareEdition& edition : firmwareEditions()) {
        if (series != edition.series || code != edition.code) continue;
        Label15.setText("производства компании Olvix");
        Label16.setText(std::string("серия ") + edition.series);
        Label17.setText(edition.editionLine);
        return;
    }
}

}  // namespace lt
