// Stable control ids: automation tools find controls by them, so they must follow the
// documented table and be unique within each window.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "program_fixture.h"
#include "toolkit/control_ids.h"

namespace lt::testing {
namespace {

TEST(ControlIdTest, BaseOfThePrefixPlusTheNumber) {
    const std::map<std::string, int> cases = {
        {"PageControl1", 101},   {"TabSheet3", 203},   {"GroupBox1", 301},   {"LMDGroupBox2", 402},
        {"Label20", 520},        {"RxLabel4", 604},    {"Edit2", 702},       {"SpeedButton21", 821},
        {"Button1", 901},        {"LMD3DEffectButton1", 1001},              {"ComboBox8", 1108},
        {"CheckListBox2", 1202}, {"RxSlider1", 1301},  {"Memo1", 1401},      {"Shape1", 1501},
        {"LMDShapeControl2", 1602}, {"LMDTechnicalLine1", 1701},
    };
    for (const auto& [name, id] : cases) {
        EXPECT_EQ(controlId(name), id) << name;
        EXPECT_EQ(controlName(id), name) << id;
    }
}

TEST(ControlIdTest, NamesOutsideTheTableHaveNone) {
    for (const char* name : {"Form1", "Panel1", "Edit", "SpeedButton100", "xEdit2", "", "N1"})
        EXPECT_EQ(controlId(name), 0) << name;
    for (int id : {0, 99, 1800, -1}) EXPECT_EQ(controlName(id), "") << id;
}

class MainWindowIdTest : public ProgramTest {};

void collect(Control& c, std::map<int, std::string>& ids, std::vector<std::string>& clashes) {
    for (Control* child : c.children()) {
        const int id = controlId(child->name());
        if (id == 0 || !ids.emplace(id, child->name()).second) clashes.push_back(child->name());
        collect(*child, ids, clashes);
    }
}

TEST_F(MainWindowIdTest, EveryControlOfTheMainWindowHasItsOwnId) {
    seedSettings();
    start();
    std::map<int, std::string> ids;
    std::vector<std::string> clashes;
    collect(form(), ids, clashes);
    EXPECT_TRUE(clashes.empty()) << "without an id or sharing one: " << ::testing::PrintToString(clashes);
    EXPECT_GT(ids.size(), 30u);
}

}  // namespace
}  // namespace lt::testing
