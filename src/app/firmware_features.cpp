// The editors enabled by the stored edition, as its row of the firmware editions says;
// an unknown edition gets none of them.
#include <initializer_list>

#include "link/firmware_editions.h"
#include "main_form.h"

namespace lt {

void TForm1::ApplyFirmwareFeatures() {
    const FirmwareEdition* edition = editionWithCode(settings_.ReadSetting(setting::kVersion));
    // No edition sets these texts back: once relabelled they stay so for the run.
    if (edition && edition->s17Register) {
        extRegs.Label5.setText("S17");
        extRegs.CheckListBox2.setItems({"Mute All", "Listen renegs", "Show renegs", "Not used", "Not used",
                                        "Not used", "Not used", "Not used"});
    }
    for (Control* c : std::initializer_list<Control*>{&busyTone.GroupBox1, &extRegs.GroupBox3, &extRegs.SpeedButton2,
                                                      &extRegs.SpeedButton7, &extRegs.Button1, &TabSheet2})
        c->setEnabled(edition && edition->vendorRegisters);
    levels.LMDGroupBox2.setEnabled(edition && edition->lineAdaptation);
}

}  // namespace lt
