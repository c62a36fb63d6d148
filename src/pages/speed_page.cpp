#include "speed_page.h"

#include <array>
#include <iterator>
#include <vector>

#include "base/failure.h"
#include "base/int_text.h"
#include "link/bit_codec.h"
#include "link/register_value.h"
#include "pages/button_row.h"

namespace lt {
namespace {

// Plain arrays, not vectors: the lists are built into windows that may be created
// during static initialisation, before a vector here would exist.
constexpr const char* kAllRates[] = {
    "75",    "300",   "600",   "1200",  "2400",  "4800",  "7200",  "9600",  "12000", "14400", "16800", "19200",
    "21600", "24000", "26400", "28000", "29333", "30667", "31200", "32000", "33333", "33600", "34000", "34667",
    "36000", "37333", "38000", "38667", "40000", "41333", "42000", "42667", "44000", "45333", "46000", "46667",
    "48000", "49333", "50000", "50667", "52000", "53333", "54000", "54667", "56000"};

std::vector<std::string> firstRates(size_t count) { return {kAllRates, kAllRates + count}; }
std::vector<std::string> allRates() { return firstRates(std::size(kAllRates)); }

// V.34 receives at 28800, which no other carrier lists, and not at 32000 or 33333.
constexpr const char* kV34ReceiveRates[] = {
    "75",    "300",   "600",   "1200",  "2400",  "4800",  "7200",  "9600",  "12000", "14400", "16800",
    "19200", "21600", "24000", "26400", "28000", "28800", "29333", "30667", "31200", "33600"};

constexpr char kMsEcho[] = "AT+MS?";
constexpr char kS210Echo[] = "ATS210?";
// The echo "AT+MS?" and the information line's prefix "+MS: " come before the values.
constexpr size_t kValuesOffset = 11;
// The two characters "OK" that close the information line come after them.
constexpr size_t kValuesTrailer = 2;
constexpr size_t kFieldCount = 6;

constexpr char kUnrecognisedReply[] = "Unrecognised reply to the speed query (AT+MS?, ATS210?)";

// The six +MS values of a capture: the text between the two echoes, less the prefix and
// the closing "OK", split at its first five commas. Each comma becomes a blank that
// starts the next field (the conversion skips it); anything after the fifth stays in
// the last field. Nothing when the capture cannot be cut so.
std::optional<std::array<std::string, kFieldCount>> cutFields(const std::string& snapshot) {
    const size_t msEcho = snapshot.find(kMsEcho);
    const size_t s210Echo = snapshot.find(kS210Echo);
    if (msEcho == std::string::npos || s210Echo == std::string::npos ||
        s210Echo < msEcho + kValuesOffset + kValuesTrailer)
        return std::nullopt;
    std::string rest =
        snapshot.substr(msEcho + kValuesOffset, s210Echo - msEcho - kValuesOffset - kValuesTrailer);
    std::array<std::string, kFieldCount> fields;
    for (size_t i = 0; i + 1 < kFieldCount; ++i) {
        const size_t comma = rest.find(',');
        if (comma == std::string::npos) return std::nullopt;
        fields[i] = rest.substr(0, comma);
        rest[comma] = ' ';
        rest.erase(0, comma);
    }
    fields[kFieldCount - 1] = rest;
    return fields;
}

// Selects the item, from the second on, whose number equals the field's; else the first.
void selectRate(ComboBox& list, const std::string& field) {
    const int32_t rate = StrToInt(field);
    int index = 0;
    for (size_t i = 1; i < list.items().size() && index == 0; ++i)
        if (StrToInt(list.items()[i]) == rate) index = static_cast<int>(i);
    list.setItemIndex(index);
}

}  // namespace

SpeedPage::SpeedPage(Control& page, CommandExchange& link, Edit& initString)
    : GroupBox4(&page, "GroupBox4"),
      Label6(&GroupBox4, "Label6"), Label25(&GroupBox4, "Label25"), Label26(&GroupBox4, "Label26"),
      Label27(&GroupBox4, "Label27"), Label28(&GroupBox4, "Label28"), Label29(&GroupBox4, "Label29"),
      Label30(&GroupBox4, "Label30"),
      ComboBox2(&GroupBox4, "ComboBox2"), ComboBox9(&GroupBox4, "ComboBox9"), ComboBox3(&GroupBox4, "ComboBox3"),
      ComboBox4(&GroupBox4, "ComboBox4"), ComboBox5(&GroupBox4, "ComboBox5"), ComboBox6(&GroupBox4, "ComboBox6"),
      ComboBox8(&GroupBox4, "ComboBox8"),
      SpeedButton9(&GroupBox4, "SpeedButton9"), SpeedButton10(&GroupBox4, "SpeedButton10"),
      SpeedButton11(&GroupBox4, "SpeedButton11"),
      link_(link), initString_(initString) {
    GroupBox4.setText("Параметры скорости соединения");
    GroupBox4.setBounds(8, 8, 321, 273);
    const std::array<Label*, 7> labels = {&Label6, &Label25, &Label26, &Label27, &Label28, &Label29, &Label30};
    const std::array<const char*, 7> captions = {
        "Выбранный протокол",           "Автоматический выбор",          "Минимальная скорость приема",
        "Максимальная скорость приема", "Минимальная скорость передачи", "Максимальная скорость передачи",
        "Символьная скорость (макс)"};
    const std::array<ComboBox*, 7> lists = {&ComboBox2, &ComboBox9, &ComboBox3, &ComboBox4,
                                            &ComboBox5, &ComboBox6, &ComboBox8};
    for (size_t i = 0; i < lists.size(); ++i) {
        const int top = 24 + 30 * static_cast<int>(i);
        labels[i]->setText(captions[i]);
        labels[i]->setBounds(8, top + 4, 190, 13);
        lists[i]->setBounds(200, top, 105, 21);
        lists[i]->labelledBy = labels[i];
    }
    ComboBox2.setItems({"V32", "V32b", "V34", "V90", "V92"});
    ComboBox9.setItems({"Нет", "Да"});
    ComboBox3.setItems(allRates());
    ComboBox4.setItems(allRates());
    ComboBox5.setItems(firstRates(22));
    ComboBox6.setItems(firstRates(37));
    ComboBox8.setItems({"2400", "2800", "3000", "3200", "3429"});
    ComboBox8.style.dropDownCount = 5;

    placeButtons<3>({&SpeedButton9, &SpeedButton10, &SpeedButton11}, kReadWriteAppend,
                    {16, 240, 104, 0, 81, 22, true});
    SpeedButton9.onClick = [this] { SpeedButton9Click(); };
    SpeedButton10.onClick = [this] { SpeedButton10Click(); };
    SpeedButton11.onClick = [this] { SpeedButton11Click(); };
}

void SpeedPage::SpeedButton9Click() {
    link_.SendQueries(rqSpeedRead, {kMsEcho, kS210Echo});
}

void SpeedPage::ParseSpeedReply() {
    const std::string snapshot = link_.RxText;
    // The branch runs on length alone; a capture without both echoes in order and five
    // commas between them is refused before any list changes.
    const auto fields = cutFields(snapshot);
    if (!fields) throw Failure(kUnrecognisedReply);
    const auto& [carrier, automatic, txMin, txMax, rxMin, rxMax] = *fields;

    FillReceiveRateLists(carrier);
    int protocol = 0;
    for (size_t i = 1; i < ComboBox2.items().size() && protocol == 0; ++i)
        if (ComboBox2.items()[i] == carrier) protocol = static_cast<int>(i);
    ComboBox2.setItemIndex(protocol);

    selectRate(ComboBox3, rxMin);
    selectRate(ComboBox4, rxMax);
    selectRate(ComboBox5, txMin);
    selectRate(ComboBox6, txMax);
    ComboBox9.setItemIndex(StrToInt(automatic));

    // The symbol rate code is bits 0-2 of S210; codes 0, 6 and 7 select nothing.
    const int32_t s210 = StrToInt(ExtractRegisterValue(snapshot, kS210Echo, 7));
    const int32_t code = BitsToByte(ByteToBits(s210).substr(0, 3) + "00000");
    ComboBox8.setItemIndex(code - 1);
    link_.CompleteParse();
}

void SpeedPage::FillReceiveRateLists(const std::string& carrier) {
    std::optional<std::vector<std::string>> rates;
    if (carrier == "V34") rates = std::vector<std::string>(std::begin(kV34ReceiveRates), std::end(kV34ReceiveRates));
    if (carrier == "V32b") rates = firstRates(10);
    if (carrier == "V32") rates = firstRates(8);
    if (carrier == "V92" || carrier == "V90") rates = allRates();
    if (!rates) return;
    ComboBox3.setItems(*rates);
    ComboBox4.setItems(*rates);
}

std::optional<std::string> SpeedPage::msValues() const {
    for (const ComboBox* list : {&ComboBox2, &ComboBox3, &ComboBox4, &ComboBox5, &ComboBox6, &ComboBox9})
        if (list->selectedText().empty()) return std::nullopt;
    return ComboBox2.selectedText() + "," + IntToStr(ComboBox9.itemIndex()) + "," + ComboBox5.selectedText() + "," +
           ComboBox6.selectedText() + "," + ComboBox3.selectedText() + "," + ComboBox4.selectedText();
}

void SpeedPage::SpeedButton10Click() {
    if (const auto values = msValues()) link_.SendAndSaveProfile(rqWrite, "AT+MS=" + *values);
    // The assignment sets the whole register, so bits 3-7 become 0.
    if (ComboBox8.itemIndex() >= 0) link_.SendAndSaveProfile(rqWrite, "ATS210=" + IntToStr(ComboBox8.itemIndex() + 1));
}

void SpeedPage::SpeedButton11Click() {
    if (const auto values = msValues()) initString_.setText(initString_.text() + "+MS=" + *values);
}

}  // namespace lt
