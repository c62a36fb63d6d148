#include "identification.h"

#include <array>
#include <exception>

namespace lt {
namespace {

// One known firmware edition: what its identification reply holds, what is stored for
// it, and the edition line shown for the stored pair.
struct FirmwareEdition {
    const char* identification;
    const char* series;  // "modem"
    const char* code;    // "version"
    const char* editionLine;
};

// In the order the reply is tested against them; when several match, the last one wins.
// The identification texts are compared byte for byte: keep them exactly as the
// firmware prints them (the blank in "67 --" included). The edition lines of the
// ZOLT2 betas end in the Cyrillic "а".
constexpr std::array<FirmwareEdition, 9> kFirmwareEditions = {{
    {"R6.120K47a-Q56_3X_MBT", "ZOLT1", "47ab", "русская версия beta 47a"},
    {"QK_beta48a-Q56_3X_MBT", "ZOLT1", "48ab", "русская версия beta 48a"},
    {"R6.120K47-Q56_3X_MBT", "ZOLT1", "47b", "русская версия beta 47"},
    {"R4.610-Q56_3X_MBT", "ZOLT1", "4610", "базовая версия 4.610"},
    {"TRX7_R5.318.GB1-Q57_L64_WNE", "ZOLT2", "gb1", "первый официальный релиз"},
    {"TRX7 beta ver. 64a--Q56_L64_WNE", "ZOLT2", "64a", "русская версия beta 64а"},
    {"TRX7 beta ver. 65a--Q56_L64_WNE", "ZOLT2", "65a", "русская версия beta 65а"},
    {"TRX7 beta ver. 66a--Q56_L64_WNE", "ZOLT2", "66a", "русская версия beta 66а"},
    {"TRX7 beta ver. 67 --Q56_L64_WNE", "ZOLT2", "67", "русская версия beta 67"},
}};

}  // namespace

ModemIdentification::ModemIdentification(Control& page, CommandExchange& link, SettingsStore& settings,
                                         EventGuard& guard)
    : Label7(&page, "Label7"), Label15(&page, "Label15"), Label8(&page, "Label8"), Label16(&page, "Label16"),
      Label9(&page, "Label9"), Label17(&page, "Label17"), SpeedButton6(&page, "SpeedButton6"), link_(link),
      settings_(settings), guard_(guard) {
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

void ModemIdentification::SpeedButton6Click() {
    link_.SendQueries(rqIdentify, {"ATI3"});
}

void ModemIdentification::storeEdition(const std::string& reply) {
    SettingsWriter writer = settings_.openForWriting();
    writer.remove(setting::kModem);
    writer.remove(setting::kVersion);
    for (const FirmwareEdition& edition : kFirmwareEditions) {
        if (reply.find(edition.identification) == std::string::npos) continue;
        writer.write(setting::kModem, edition.series);
        writer.write(setting::kVersion, edition.code);
    }
}

void ModemIdentification::refresh() {
    DescribeModem();
    if (ApplyFirmwareFeatures) ApplyFirmwareFeatures();
}

void ModemIdentification::ParseIdentifyReply() {
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

void ModemIdentification::DescribeModem() {
    const std::string series = settings_.ReadSetting(setting::kModem);
    const std::string code = settings_.ReadSetting(setting::kVersion);
    for (const FirmwareEdition& edition : kFirmwareEditions) {
        if (series != edition.series || code != edition.code) continue;
        Label15.setText("производства компании Olvix");
        Label16.setText(std::string("серия ") + edition.series);
        Label17.setText(edition.editionLine);
        return;
    }
}

}  // namespace lt
