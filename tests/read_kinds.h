// The six reads of the program, each with what its controls show and what they must show
// after a correct parse of the simulated modem's reply. Shared by the tests that drive
// every read through hostile replies and through the soak.
#pragma once
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "platform/headless/memory_registry.h"
#include "platform/headless/user.h"
#include "sim/modem.h"

namespace lt::testing {

struct ReadKind {
    const char* name;
    TRequestKind code;
    Button& (*button)(TForm1&);
    std::vector<std::string> script;  // the commands it sends, without their CR
    // What the read's controls (or, for the identification, the settings) show, as text.
    std::string (*shown)(TForm1&, headless::MemoryRegistry&);
    // The same text built from the modem's registers; ident is the edition it identifies as.
    std::string (*expected)(const sim::Modem&, sim::Edition ident);
    // Moves the controls away from what a read of the factory registers shows.
    void (*disturb)(headless::User&, TForm1&, headless::MemoryRegistry&);
    // A failed conversion may leave some of the controls already changed.
    bool partialOnFailure = false;
};

namespace read_text {

inline std::string join(const std::vector<std::string>& parts, const char* separator = ",") {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) out += (i ? separator : "") + parts[i];
    return out;
}

inline std::string threeDigits(int v) {
    std::string s = std::to_string(v);
    return std::string(s.size() < 3 ? 3 - s.size() : 0, '0') + s;
}

inline std::string bitsOf(int v) {
    std::string bits;
    for (int i = 0; i < 8; ++i) bits += ((v >> i) & 1) ? '1' : '0';
    return bits;
}

inline std::string checks(const CheckListBox& list) {
    std::string bits;
    for (int i = 0; i < 8; ++i) bits += list.checked(i) ? '1' : '0';
    return bits;
}

inline std::string seriesOf(sim::Edition e) {
    using sim::Edition;
    return e == Edition::R47ab || e == Edition::R48ab || e == Edition::R47b || e == Edition::R4610 ? "ZOLT1"
                                                                                                    : "ZOLT2";
}

inline std::string stored(headless::MemoryRegistry& registry, const char* name) {
    return registry.text(setting::kKey, name).value_or("-");
}

}  // namespace read_text

inline const std::array<ReadKind, 6>& readKinds() {
    using namespace read_text;
    static const std::array<ReadKind, 6> kinds = {{
        {"busy", rqBusyRead, [](TForm1& f) -> Button& { return f.busyTone.SpeedButton4; },
         {"ATE1", "ATS203?", "ATS204?", "ATS205?", "ATS206?", "ATS207?"},
         [](TForm1& f, headless::MemoryRegistry&) {
             auto& b = f.busyTone;
             return join({b.Edit2.text(), b.Edit3.text(), b.Edit4.text(), b.Edit5.text(), b.Edit6.text()});
         },
         [](const sim::Modem& m, sim::Edition) {
             std::vector<std::string> values;
             for (int n = 203; n <= 207; ++n) values.push_back(threeDigits(m.reg(n)));
             return join(values);
         },
         [](headless::User& u, TForm1& f, headless::MemoryRegistry&) {
             auto& b = f.busyTone;
             for (Edit* e : {&b.Edit2, &b.Edit3, &b.Edit4, &b.Edit5, &b.Edit6}) u.type(*e, "x");
         }},
        {"ext", rqExtRegsRead, [](TForm1& f) -> Button& { return f.extRegs.Button1; },
         {"ATE1", "ATS216?", "ATS218?"},
         [](TForm1& f, headless::MemoryRegistry&) {
             return checks(f.extRegs.CheckListBox1) + "/" + checks(f.extRegs.CheckListBox2);
         },
         [](const sim::Modem& m, sim::Edition) { return bitsOf(m.reg(216)) + "/" + bitsOf(m.reg(218)); },
         [](headless::User& u, TForm1& f, headless::MemoryRegistry&) {
             for (int i = 0; i < 8; ++i) {
                 u.toggle(f.extRegs.CheckListBox1, i);
                 u.toggle(f.extRegs.CheckListBox2, i);
             }
         }},
        {"ident", rqIdentify, [](TForm1& f) -> Button& { return f.information.SpeedButton6; },
         {"ATE1", "ATI3"},
         [](TForm1&, headless::MemoryRegistry& r) {
             return stored(r, setting::kModem) + "/" + stored(r, setting::kVersion);
         },
         [](const sim::Modem&, sim::Edition e) { return seriesOf(e) + "/" + sim::editionCode(e); },
         [](headless::User&, TForm1&, headless::MemoryRegistry& r) {
             r.setString(setting::kKey, setting::kModem, "ZOLT1");
             r.setString(setting::kKey, setting::kVersion, "47ab");
         }},
        {"speed", rqSpeedRead, [](TForm1& f) -> Button& { return f.speed.SpeedButton9; },
         {"ATE1", "AT+MS?", "ATS210?"},
         [](TForm1& f, headless::MemoryRegistry&) {
             auto& s = f.speed;
             return join({s.ComboBox2.selectedText(), std::to_string(s.ComboBox9.itemIndex()),
                          s.ComboBox5.selectedText(), s.ComboBox6.selectedText(), s.ComboBox3.selectedText(),
                          s.ComboBox4.selectedText()}) +
                    "|" + s.ComboBox8.selectedText();
         },
         [](const sim::Modem& m, sim::Edition) {
             static const char* kSymbolRates[] = {"", "2400", "2800", "3000", "3200", "3429", "", ""};
             return m.msValue() + "|" + kSymbolRates[m.reg(210) & 7];
         },
         [](headless::User& u, TForm1& f, headless::MemoryRegistry&) {
             auto& s = f.speed;
             for (ComboBox* c : {&s.ComboBox2, &s.ComboBox9, &s.ComboBox3, &s.ComboBox4, &s.ComboBox5,
                                 &s.ComboBox6, &s.ComboBox8})
                 u.pick(*c, 0);
         },
         true},
        {"txlevel", rqTxLevelRead, [](TForm1& f) -> Button& { return f.levels.SpeedButton12; },
         {"ATE1", "ATS10?", "ATS91?"},
         [](TForm1& f, headless::MemoryRegistry&) {
             return f.levels.RxLabel1.text() + "@" + std::to_string(f.levels.RxSlider1.value());
         },
         [](const sim::Modem& m, sim::Edition) {
             const int n = m.reg(91);
             return "-" + std::to_string(n) + "@" + std::to_string(std::clamp(23 - n, 3, 20));
         },
         [](headless::User& u, TForm1& f, headless::MemoryRegistry&) { u.slide(f.levels.RxSlider1, 3); }},
        {"lineadapt", rqLineAdaptRead, [](TForm1& f) -> Button& { return f.levels.SpeedButton15; },
         {"ATE1", "ATS10?", "ATS215?"},
         [](TForm1& f, headless::MemoryRegistry&) {
             return std::to_string(f.levels.RxSlider2.value()) + "," + std::to_string(f.levels.RxSlider3.value());
         },
         [](const sim::Modem& m, sim::Edition) {
             const int v = m.reg(215);
             return std::to_string(std::clamp(v & 15, 1, 9)) + "," + std::to_string(std::clamp(v >> 4, 1, 9));
         },
         [](headless::User& u, TForm1& f, headless::MemoryRegistry&) {
             u.slide(f.levels.RxSlider2, 9);
             u.slide(f.levels.RxSlider3, 9);
         }},
    }};
    return kinds;
}

}  // namespace lt::testing
