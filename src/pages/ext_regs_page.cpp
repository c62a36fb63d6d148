#include "ext_regs_page.h"

#include <array>

#include "base/int_text.h"
#include "link/bit_codec.h"
#include "link/register_value.h"
#include "pages/button_row.h"

namespace lt {
namespace {

void showBits(CheckListBox& list, const std::string& bits) {
    for (int i = 0; i < 8; ++i) list.setChecked(i, i < static_cast<int>(bits.size()) && bits[i] == '1');
}

std::string bitsOf(const CheckListBox& list) {
    std::string bits;
    for (int i = 0; i < 8; ++i) bits += list.checked(i) ? '1' : '0';
    return bits;
}

}  // namespace

ExtRegsPage::ExtRegsPage(Control& page, CommandExchange& link, Edit& initString)
    : GroupBox3(&page, "GroupBox3"), CheckListBox1(&GroupBox3, "CheckListBox1"), Label23(&GroupBox3, "Label23"),
      Label5(&GroupBox3, "Label5"), Button1(&GroupBox3, "Button1"), SpeedButton2(&GroupBox3, "SpeedButton2"),
      SpeedButton7(&GroupBox3, "SpeedButton7"), CheckListBox2(&page, "CheckListBox2"),
      RxLabel5(&page, "RxLabel5"), RxLabel4(&page, "RxLabel4"), link_(link), initString_(initString) {
    GroupBox3.setText("Русские регистры");
    GroupBox3.setBounds(8, 0, 201, 273);
    CheckListBox1.setBounds(8, 16, 105, 121);
    CheckListBox1.style.itemHeight = 13;
    CheckListBox1.setItems({"Dis. Power Drop", "Dis. 15 dB txlevel", "Dis. offset", "not used", "not used",
                            "Noise Filters", "Noise Filters", "Max speed"});
    Label23.setText("S216");
    Label23.setBounds(120, 64, 28, 13);
    Label5.setText("S218");
    Label5.setBounds(120, 208, 28, 13);
    // Each list is named by the register beside it; the second's name changes with Label5.
    CheckListBox1.labelledBy = &Label23;
    CheckListBox2.labelledBy = &Label5;
    placeButtons<3>({&Button1, &SpeedButton2, &SpeedButton7}, kReadWriteAppend, {128, 96, 0, 32, 65, 25, false});
    CheckListBox2.setBounds(16, 152, 105, 121);
    CheckListBox2.style.itemHeight = 13;
    CheckListBox2.setItems({"listen renegs", "show renegs", "disabled", "disabled", "disabled", "disabled",
                            "disabled", "disabled"});
    RxLabel5.setText("Информация:");
    RxLabel5.setBounds(232, 16, 70, 13);
    RxLabel5.style.underline = true;
    RxLabel4.setText(
        "Дополнительные\r\nрегистры введены\r\nтолько в русские\r\nверсии микропро-\r\nграмм для модемов\r\n"
        "серии ZOLT1 и \r\nZOLT2.\r\n\r\nПоддерживаются\r\nверсии:\r\n6120_beta 47\r\n6120_beta 47a\r\n"
        "6120_beta 48a\r\n5318GB1\r\nQK_64a");
    RxLabel4.setBounds(216, 40, 105, 195);
    RxLabel4.style.multiLine = true;

    Button1.onClick = [this] { Button1Click(); };
    SpeedButton2.onClick = [this] { SpeedButton2Click(); };
    SpeedButton7.onClick = [this] { SpeedButton7Click(); };
}

void ExtRegsPage::Button1Click() {
    link_.SendQueries(rqExtRegsRead, {"ATS216?", "AT" + Label5.text() + "?"});
}

void ExtRegsPage::ParseExtRegsReply() {
    const std::string snapshot = link_.RxText;
    const int32_t a = StrToInt(ExtractRegisterValue(snapshot, "ATS216?", 7));
    // The name as it reads now, which may differ from the one the read sent.
    const std::string second = Label5.text();
    const int32_t b = StrToInt(ExtractRegisterValue(snapshot, "AT" + second + "?", second == "S17" ? 6 : 7));
    // Both values converted: only now may the lists change.
    showBits(CheckListBox1, ByteToBits(a));
    showBits(CheckListBox2, ByteToBits(b));
    link_.CompleteParse();
}

std::string ExtRegsPage::assignments() const {
    return "S216=" + IntToStr(BitsToByte(bitsOf(CheckListBox1))) + Label5.text() + "=" +
           IntToStr(BitsToByte(bitsOf(CheckListBox2)));
}

void ExtRegsPage::SpeedButton2Click() { link_.SendAndSaveProfile(rqWrite, "AT" + assignments()); }

void ExtRegsPage::SpeedButton7Click() { initString_.setText(initString_.text() + assignments()); }

}  // namespace lt
