// What a screen reader is told of the controls of the real windows: every field, list,
// slider and picture button is named by the text a sighted user reads for it, and the
// value of each is what it shows.
#include "program_fixture.h"
#include "toolkit/accessibility.h"

namespace lt::testing {
namespace {

class AccessibilityTest : public ProgramTest {
protected:
    void SetUp() override {
        seedSettings();
        start();
    }
    std::vector<Form*> forms() { return {program->Form1.get(), program->Form2.get(), program->Form4.get()}; }
    Control& control(Form& window, const std::string& name) {
        Control* found = window.find(name);
        if (!found) ADD_FAILURE() << "no control " << name;
        return found ? *found : window;
    }
};

struct Named {
    int form;  // 0 the main window, 1 the setup dialog, 2 the cadence editor
    const char* control;
    const char* name;
};

// Fields, lists and sliders have no caption of their own: the label beside or above them
// (not the one that happens to come before them among the windows) names each.
const Named kNamedByLabels[] = {
    {0, "Edit2", "Минимальное время сигнала"},
    {0, "Edit3", "Максимальное время сигнала"},
    {0, "Edit4", "Минимальное время паузы"},
    {0, "Edit5", "Максимальное время паузы"},
    {0, "Edit6", "Количество циклов сигнала"},
    {0, "LMD3DEffectButton1", "Сигнал \"Занято\""},
    {0, "Edit1", "Строка инициализации выбранного модема:"},
    {0, "RxSlider1", "Уровень выходного сигнала модема"},
    {0, "RxSlider2", "Уровень агрессивности"},
    {0, "RxSlider3", "Детектор помех в линии"},
    {0, "CheckListBox1", "S216"},
    {0, "CheckListBox2", "S218"},
    {0, "ComboBox2", "Выбранный протокол"},
    {0, "ComboBox9", "Автоматический выбор"},
    {0, "ComboBox3", "Минимальная скорость приема"},
    {0, "ComboBox4", "Максимальная скорость приема"},
    {0, "ComboBox5", "Минимальная скорость передачи"},
    {0, "ComboBox6", "Максимальная скорость передачи"},
    {0, "ComboBox8", "Символьная скорость (макс)"},
    {0, "SpeedButton4", "Считать"},
    {0, "TabSheet5", "Уровни сигналов"},
    {0, "GroupBox1", "Сигнал \"Линия занята\""},
    {1, "ComboBox1", "Выберите пожалуйста установленный модем:"},
    {1, "ComboBox2", "Выберите порт к которому подключен модем"},
    {1, "ComboBox3", "Выберите серию модема "},
    {1, "Button1", "Сделать выбранный модем - текущим"},
    {2, "LMDShapeControl1", "Длительность гудка в сигнале \"Линия занята\""},
    {2, "LMDShapeControl2", "Длительность паузы в сигнале \"Линия занята\""},
    {2, "SpeedButton1", "Внести значения"},
    {2, "RxLabel5", "0"},
};

TEST_F(AccessibilityTest, ControlsAreNamedByWhatASightedUserReadsForThem) {
    for (const Named& c : kNamedByLabels) {
        SCOPED_TRACE(c.control);
        EXPECT_EQ(accessibleName(control(*forms()[c.form], c.control)), c.name);
    }
}

// A control added without a label would be read as nothing but its kind.
TEST_F(AccessibilityTest, NoFieldListSliderOrButtonOfAnyWindowIsNameless) {
    const auto walk = [](const Control& c, const auto& self) -> void {
        switch (c.kind()) {
            case ControlKind::Edit:
            case ControlKind::ComboBox:
            case ControlKind::CheckListBox:
            case ControlKind::Slider:
            case ControlKind::Button: EXPECT_NE(accessibleName(c), "") << c.name(); break;
            default: break;
        }
        for (const Control* child : c.children()) self(*child, self);
    };
    for (Form* window : forms()) {
        SCOPED_TRACE(window->name());
        walk(*window, walk);
    }
}

TEST_F(AccessibilityTest, NamesFollowTheirLabels) {
    form().extRegs.Label5.setText("S17");  // what the edition gb1 makes of it
    EXPECT_EQ(accessibleName(form().extRegs.CheckListBox2), "S17");
    // Whose name changes with a label's text, for the backend to tell.
    EXPECT_EQ(namedBy(form().extRegs.Label5), std::vector<const Control*>{&form().extRegs.CheckListBox2});
    EXPECT_EQ(namedBy(form().levels.LMDGroupBox1), std::vector<const Control*>{&form().levels.RxSlider1});
    EXPECT_EQ(namedBy(form().levels.RxLabel1), std::vector<const Control*>{});
}

TEST_F(AccessibilityTest, PictureButtonKeepsItsNameOnlyWhileTheWindowItOpensExists) {
    program->Form4.reset();
    EXPECT_EQ(accessibleName(form().busyTone.LMD3DEffectButton1), "");
}

TEST_F(AccessibilityTest, ValuesAreWhatTheControlsShow) {
    form().busyTone.Edit2.setText("050");
    form().speed.ComboBox2.setItemIndex(4);
    form().levels.RxSlider1.setValue(11);
    struct Case {
        const Control& control;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {form().busyTone.Edit2, "050"},          {form().busyTone.Edit3, ""},
        {form().speed.ComboBox2, "V92"},         {form().speed.ComboBox9, ""},
        {form().levels.RxSlider1, "11"},         {form().levels.RxSlider2, "1"},
        {form().extRegs.CheckListBox1, std::nullopt}, {form().busyTone.SpeedButton4, std::nullopt},
        {form().levels.RxLabel1, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control.name());
        EXPECT_EQ(accessibleValue(c.control), c.value);
    }
}

}  // namespace
}  // namespace lt::testing
