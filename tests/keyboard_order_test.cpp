// The keyboard order: reading order over the controls as the user sees them, on small
// layouts where build order and reading order part, and on every form of the program.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "program_fixture.h"
#include "toolkit/keyboard_order.h"

namespace lt::testing {
namespace {

std::vector<std::string> names(const std::vector<Control*>& controls) {
    std::vector<std::string> out;
    for (const Control* c : controls) out.push_back(c->name());
    return out;
}

struct Placed {
    const char* name;
    int left, top, width, height;
};

struct ReadingCase {
    const char* what;
    std::vector<Placed> built;  // in build order
    std::vector<std::string> read;
};

TEST(ReadingOrderTest, LinesTopToBottomEachLeftToRight) {
    const std::vector<ReadingCase> cases = {
        {"a button built before the fields above it",
         {{"ok", 112, 112, 225, 25}, {"first", 16, 32, 401, 21}, {"second", 256, 56, 81, 21}},
         {"first", "second", "ok"}},
        {"a label beside a taller field is on its line, the leftmost first",
         {{"field", 176, 24, 97, 21}, {"label", 8, 32, 160, 13}, {"next", 176, 48, 97, 21}},
         {"label", "field", "next"}},
        {"one row built right to left",
         {{"right", 224, 84, 81, 22}, {"middle", 120, 84, 81, 22}, {"left", 16, 84, 81, 22}},
         {"left", "middle", "right"}},
        {"a tall control does not swallow the small ones beside it",
         {{"group", 8, 0, 201, 273}, {"caption", 232, 16, 70, 13}, {"list", 16, 152, 105, 121}},
         {"group", "caption", "list"}},
        {"controls in one place keep their build order",
         {{"one", 10, 10, 50, 20}, {"two", 10, 10, 50, 20}},
         {"one", "two"}},
        {"nothing", {}, {}},
    };
    for (const auto& c : cases) {
        Form form("Form");
        std::vector<std::unique_ptr<Button>> built;
        for (const Placed& p : c.built) {
            built.push_back(std::make_unique<Button>(&form, p.name));
            built.back()->setBounds(p.left, p.top, p.width, p.height);
        }
        EXPECT_EQ(names(readingOrder(form.children())), c.read) << c.what;
    }
}

// A page control whose second page is in front, a group on the first page, a disabled
// and a hidden button: only what responds, on the page in front, takes the focus.
TEST(KeyboardOrderTest, PageInFrontOnlyAndWhatResponds) {
    Form form("Form");
    PageControl pages(&form, "pages");
    TabSheet one(&pages, "one"), two(&pages, "two");
    GroupBox group(&one, "group");
    Edit inGroup(&group, "inGroup");
    Edit onTwo(&two, "onTwo");
    Label caption(&two, "caption");
    Button below(&form, "below"), disabled(&form, "disabled"), hidden(&form, "hidden");
    pages.setBounds(0, 0, 300, 200);
    group.setBounds(8, 8, 200, 100);
    inGroup.setBounds(8, 20, 100, 21);
    onTwo.setBounds(8, 40, 100, 21);
    caption.setBounds(8, 8, 100, 13);
    below.setBounds(200, 210, 80, 25);
    disabled.setBounds(100, 210, 80, 25);
    hidden.setBounds(10, 210, 80, 25);
    disabled.setEnabled(false);
    hidden.setVisible(false);

    pages.setActivePage(1);
    EXPECT_EQ(names(keyboardOrder(form)), (std::vector<std::string>{"pages", "onTwo", "below"}));
    pages.setActivePage(0);
    EXPECT_EQ(names(keyboardOrder(form)), (std::vector<std::string>{"pages", "inGroup", "below"}));
    group.setEnabled(false);
    EXPECT_EQ(names(keyboardOrder(form)), (std::vector<std::string>{"pages", "below"}));
    pages.setEnabled(false);
    EXPECT_EQ(names(keyboardOrder(form)), (std::vector<std::string>{"below"}));
}

class ProgramKeyboardOrderTest : public ProgramTest {};

// Each page of the main window, an identified 65a modem (every editor enabled), the
// cadence button enabled by a read.
TEST_F(ProgramKeyboardOrderTest, EveryPageOfTheMainWindow) {
    seedSettings();
    start();
    user->click(form().busyTone.SpeedButton4);
    const std::map<int, std::vector<std::string>> pages = {
        {0, {"Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "SpeedButton4", "SpeedButton5", "SpeedButton8",
             "LMD3DEffectButton1", "Edit1", "SpeedButton18", "SpeedButton19", "SpeedButton20"}},
        {1, {"RxSlider1", "SpeedButton12", "SpeedButton13", "SpeedButton14", "RxSlider2", "RxSlider3",
             "SpeedButton15", "SpeedButton16", "SpeedButton17"}},
        {2, {"CheckListBox1", "Button1", "SpeedButton2", "SpeedButton7", "CheckListBox2"}},
        {3, {"ComboBox2", "ComboBox9", "ComboBox3", "ComboBox4", "ComboBox5", "ComboBox6", "ComboBox8",
             "SpeedButton9", "SpeedButton10", "SpeedButton11"}},
        {4, {"SpeedButton21", "SpeedButton6", "Label20", "Label22"}},
    };
    for (const auto& [page, controls] : pages) {
        ASSERT_TRUE(user->selectPage(form().PageControl1, page));
        std::vector<std::string> expected = {"PageControl1"};
        expected.insert(expected.end(), controls.begin(), controls.end());
        expected.push_back("SpeedButton3");  // "Помощь" before it never responds
        EXPECT_EQ(names(keyboardOrder(form())), expected) << "page " << page;
    }
}

// The setup dialog keeps the order it states, its button before the port and the series.
TEST_F(ProgramKeyboardOrderTest, TheOtherForms) {
    start();
    EXPECT_EQ(names(keyboardOrder(*program->Form2)),
              (std::vector<std::string>{"ComboBox1", "Button1", "ComboBox2", "ComboBox3"}));
    program->Form2->ComboBox2.setEnabled(false);
    EXPECT_EQ(names(keyboardOrder(*program->Form2)), (std::vector<std::string>{"ComboBox1", "Button1", "ComboBox3"}))
        << "a stated order still skips what does not respond";
    EXPECT_EQ(names(keyboardOrder(*program->Form4)), (std::vector<std::string>{"SpeedButton1"}));
}

}  // namespace
}  // namespace lt::testing
