// The editors each firmware edition supports. The vendor registers exist only in some
// editions: "4610" is the base firmware without them, and "64a" lacks S215.
#include <array>
#include <initializer_list>
#include <string>

#include "main_form.h"

namespace lt {
namespace {

struct FeatureRow {
    const char* code;
    bool vendorRegisters;  // the busy-tone group and everything on "Регистры +"
    bool lineAdaptation;   // the group "Дополнительно"
    bool s17Register;      // the second bit register is S17 with its own bit names
};

// Codes compare exactly: a code in another letter case is an unknown edition.
constexpr std::array<FeatureRow, 9> kFeatureRows = {{
    {"4610", false, false, false},
    {"gb1", true, true, true},
    {"48ab", true, true, false},
    {"47ab", true, true, false},
    {"47b", true, true, false},
    {"64a", true, false, false},
    {"65a", true, true, false},
    {"66a", true, true, false},
    {"67", true, true, false},
}};

constexpr FeatureRow kUnknownEdition = {"", false, false, false};

const FeatureRow& featuresOf(const std::string& code) {
    for (const FeatureRow& row : kFeatureRows)
        if (code == row.code) return row;
    return kUnknownEdition;
}

}  // namespace

void TForm1::ApplyFirmwareFeatures() {
    const FeatureRow& row = featuresOf(settings_.ReadSetting(setting::kVersion));
    // No row sets these texts back: once relabelled they stay so for the run.
    if (row.s17Register) {
        extRegs.Label5.setText("S17");
        extRegs.CheckListBox2.setItems({"Mute All", "Listen renegs", "Show renegs", "Not used", "Not used",
                                        "Not used", "Not used", "Not used"});
    }
    for (Control* c : std::initializer_list<Control*>{&busyTone.GroupBox1, &extRegs.GroupBox3, &extRegs.SpeedButton2,
                                                      &extRegs.SpeedButton7, &extRegs.Button1, &TabSheet2})
        c->setEnabled(row.vendorRegisters);
    levels.LMDGroupBox2.setEnabled(row.lineAdaptation);
}

}  // namespace lt
