#include "program_fixture.h"

namespace lt::testing {
namespace {

// Rows of the drawing where the pointer meets only one control: the tone bar (above
// the axis), the pause bar (below the axis) and the bare background (below the title
// of the pause bar).
constexpr int kToneRow = 30, kPauseRow = 150, kBackgroundRow = 195;

struct Edges {
    int toneMin, toneMax, pauseMin, pauseMax;
    bool operator==(const Edges&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Edges& e) {
    return os << "{" << e.toneMin << ", " << e.toneMax << ", " << e.pauseMin << ", " << e.pauseMax << "}";
}

class CadenceEditorTest : public ProgramTest {
protected:
    void SetUp() override {
        seedSettings();
        start();
        // The picture button answers only once a read was started.
        ASSERT_TRUE(user->click(busy().SpeedButton4));
    }
    TForm4& editor() { return *program->Form4; }
    BusyToneGroup& busy() { return form().busyTone; }

    void fill(const std::vector<std::string>& texts) {
        Edit* fields[] = {&busy().Edit2, &busy().Edit3, &busy().Edit4, &busy().Edit5};
        for (size_t i = 0; i < texts.size(); ++i) ASSERT_TRUE(user->type(*fields[i], texts[i]));
    }
    void open(const std::vector<std::string>& texts) {
        fill(texts);
        ASSERT_TRUE(user->click(busy().LMD3DEffectButton1));
    }
    std::vector<std::string> fields() {
        return {busy().Edit2.text(), busy().Edit3.text(), busy().Edit4.text(), busy().Edit5.text()};
    }
    std::vector<std::string> labels() {
        return {editor().RxLabel5.text(), editor().RxLabel6.text(), editor().RxLabel7.text(),
                editor().RxLabel8.text()};
    }
    Edges edges() {
        const Control& tone = editor().LMDShapeControl1;
        const Control& pause = editor().LMDShapeControl2;
        return {tone.left(), tone.left() + tone.width(), pause.left(), pause.left() + pause.width()};
    }
    std::vector<bool> grabs() {
        return {editor().GrabToneMin, editor().GrabToneMax, editor().GrabPauseMin, editor().GrabPauseMax};
    }

    void click(int x, int y) {
        user->mouseDown(editor(), x, y);
        user->mouseUp(editor(), x, y);
    }
    void move(int x, int y) { user->mouseMove(editor(), x, y); }
};

TEST_F(CadenceEditorTest, CreatedHiddenAfterTheMainWindow) {
    ASSERT_FALSE(hp.desktop.realized.empty());
    EXPECT_EQ(hp.desktop.realized.front(), &form());
    EXPECT_EQ(hp.desktop.realized.back(), &editor());
    EXPECT_FALSE(editor().visible());
    EXPECT_EQ(editor().text(), "Сигнал \"Занято\"");
    EXPECT_EQ(labels(), (std::vector<std::string>{"0", "0", "0", "0"}));
    EXPECT_EQ(grabs(), (std::vector<bool>{false, false, false, false}));
    // Created in this order, later ones on top.
    std::vector<std::string> names;
    for (const Control* c : editor().children()) names.push_back(c->name());
    EXPECT_EQ(names, (std::vector<std::string>{"Shape1", "LMDTechnicalLine1", "LMDShapeControl1",
                                               "LMDShapeControl2", "RxLabel1", "RxLabel2", "RxLabel3",
                                               "RxLabel4", "RxLabel5", "RxLabel6", "RxLabel7", "RxLabel8",
                                               "RxLabel9", "RxLabel10", "SpeedButton1"}));
}

TEST_F(CadenceEditorTest, OpensWithTheFieldsAsBarsAndLabels) {
    open({"25", "50", "10", "40"});
    EXPECT_TRUE(editor().visible());
    EXPECT_EQ(edges(), (Edges{25, 50, 10, 40}));
    EXPECT_EQ(editor().LMDShapeControl1.top(), 24);
    EXPECT_EQ(editor().LMDShapeControl2.height(), 73);
    EXPECT_EQ(labels(), (std::vector<std::string>{"250", "500", "100", "400"}));
    EXPECT_TRUE(errors().empty());
    // Opening again while shown takes the fields anew.
    open({"30", "050", "10", "40"});
    EXPECT_TRUE(editor().visible());
    EXPECT_EQ(edges(), (Edges{30, 50, 10, 40}));
}

TEST_F(CadenceEditorTest, EnterValuesCarriesTheEdgesBackAndHides) {
    user->type(busy().Edit6, "7");
    const size_t sent = hp.modem().log().size();
    open({"25", "050", "010", "40"});
    ASSERT_TRUE(user->click(editor().SpeedButton1));
    EXPECT_EQ(fields(), (std::vector<std::string>{"25", "50", "10", "40"}));
    EXPECT_EQ(busy().Edit6.text(), "7");
    EXPECT_FALSE(editor().visible());
    EXPECT_EQ(hp.modem().log().size(), sent) << "nothing goes to the modem";
}

TEST_F(CadenceEditorTest, CarriedBackValuesAreInGeneralFormat) {
    struct Case {
        const char* label;
        const char* field;
    } cases[] = {{"250", "25"}, {"-50", "-5"}, {"0", "0"}, {"255", "25.5"}, {"2147483647", "214748364.7"},
                 {"-2147483648", "-214748364.8"}};
    for (const Case& c : cases) {
        open({"1", "2", "3", "4"});
        editor().RxLabel5.setText(c.label);
        ASSERT_TRUE(user->click(editor().SpeedButton1));
        EXPECT_EQ(busy().Edit2.text(), c.field) << c.label;
    }
}

TEST_F(CadenceEditorTest, PressZonesPickUpAndPutDownTheEdges) {
    struct Case {
        int width, x;               // x relative to the bar
        bool minBefore, maxBefore;
        bool minAfter, maxAfter;
    } cases[] = {
        {30, 0, false, false, true, false},    {30, 4, false, false, true, false},
        {30, 5, false, false, false, false},   {30, 27, false, false, false, false},
        {30, 28, false, false, false, true},   {30, 29, false, false, false, true},
        {6, 4, false, false, true, false},     // zones overlap: the left edge wins
        {30, 12, true, false, false, false},   {30, 2, true, false, false, false},
        {30, 28, true, false, false, true},    // exchanged for the right edge
        {30, 2, false, true, false, false},    {30, 28, false, true, false, false},
    };
    for (const Case& c : cases) {
        open({"25", std::to_string(25 + c.width), "10", "40"});
        editor().GrabToneMin = c.minBefore;
        editor().GrabToneMax = c.maxBefore;
        editor().GrabPauseMax = true;
        click(25 + c.x, kToneRow);
        EXPECT_EQ(grabs(), (std::vector<bool>{c.minAfter, c.maxAfter, false, true}))
            << "width " << c.width << " x " << c.x << " before " << c.minBefore << c.maxBefore;
        EXPECT_EQ(edges(), (Edges{25, 25 + c.width, 10, 40})) << "a press moves nothing";
    }
}

TEST_F(CadenceEditorTest, PickedUpLeftEdgeFollowsThePointerOverTheBackground) {
    open({"25", "50", "10", "40"});
    click(27, kToneRow);
    for (int x : {24, 20, 15, 18}) move(x, kBackgroundRow);
    EXPECT_EQ(edges(), (Edges{15, 50, 10, 40}));
    EXPECT_EQ(labels(), (std::vector<std::string>{"150", "500", "100", "400"}));
    // Moves over the axis, the other bar and the titles change nothing, though each lies
    // left of the held edge.
    open({"100", "150", "10", "40"});
    for (auto [x, y] : {std::pair{5, 100}, {20, kPauseRow}, {85, 12}, {60, 180}}) move(x, y);
    EXPECT_EQ(edges(), (Edges{100, 150, 10, 40}));
    move(5, 12);  // beside the title: the background
    EXPECT_EQ(edges(), (Edges{5, 150, 10, 40}));
}

TEST_F(CadenceEditorTest, PickedUpRightEdgeOfThePauseBarStaysUnderThePointer) {
    for (const std::vector<std::string>& tone : {std::vector<std::string>{"25", "50"}, {"200", "300"}}) {
        open({tone[0], tone[1], "10", "40"});
        editor().GrabPauseMax = false;
        click(39, kPauseRow);
        ASSERT_TRUE(editor().GrabPauseMax);
        for (int x : {45, 80, 200, 360}) {
            move(x, kBackgroundRow);
            EXPECT_EQ(edges().pauseMax, x);
            EXPECT_EQ(editor().RxLabel8.text(), std::to_string(10 * x));
        }
        move(100, kBackgroundRow);  // inward over the background: stays
        EXPECT_EQ(edges().pauseMax, 360);
        move(368, 340);  // off the drawing: the window's own area
        EXPECT_EQ(edges().pauseMax, 360);
        move(250, kPauseRow);       // inward over its own bar: follows
        EXPECT_EQ(edges(), (Edges{std::stoi(tone[0]), std::stoi(tone[1]), 10, 250}));
        EXPECT_EQ(editor().RxLabel8.text(), "2500");
    }
}

TEST_F(CadenceEditorTest, HeldLeftEdgeFollowsThePointerInwardAcrossTheBar) {
    open({"25", "50", "10", "40"});
    user->mouseDown(editor(), 27, kToneRow);
    for (int x : {35, 40, 38}) move(x, kToneRow);
    EXPECT_EQ(edges(), (Edges{40, 50, 10, 40}));
    // Past the opposite edge the bar keeps the moves and its width falls below zero.
    move(62, kBackgroundRow);
    user->mouseUp(editor(), 62, kBackgroundRow);
    EXPECT_EQ(edges(), (Edges{62, 50, 10, 40}));
    EXPECT_EQ(editor().LMDShapeControl1.width(), -12);
    EXPECT_EQ(editor().RxLabel5.text(), "620");
    // The bar of no width cannot be hit: this press lands on the background.
    click(55, kToneRow);
    EXPECT_EQ(grabs(), (std::vector<bool>{false, false, false, false}));
    ASSERT_TRUE(user->click(editor().SpeedButton1));
    EXPECT_EQ(fields(), (std::vector<std::string>{"62", "50", "10", "40"}));
}

TEST_F(CadenceEditorTest, PressOnTheBackgroundPutsEverythingDown) {
    open({"25", "50", "10", "40"});
    click(27, kToneRow);
    click(39, kPauseRow);
    click(300, kBackgroundRow);
    EXPECT_EQ(grabs(), (std::vector<bool>{false, false, false, false}));
    for (auto [x, y] : {std::pair{0, kBackgroundRow}, {368, kBackgroundRow}, {30, kToneRow}, {20, kPauseRow}})
        move(x, y);
    EXPECT_EQ(edges(), (Edges{25, 50, 10, 40}));
    EXPECT_EQ(labels(), (std::vector<std::string>{"250", "500", "100", "400"}));
}

TEST_F(CadenceEditorTest, EdgesOfBothBarsFollowThePointerTogether) {
    open({"100", "150", "10", "40"});
    click(102, kToneRow);
    click(39, kPauseRow);
    EXPECT_EQ(grabs(), (std::vector<bool>{true, false, false, true}));
    move(90, kBackgroundRow);
    EXPECT_EQ(edges(), (Edges{90, 150, 10, 90}));
    move(60, kBackgroundRow);
    EXPECT_EQ(edges(), (Edges{60, 150, 10, 90}));
    EXPECT_EQ(labels(), (std::vector<std::string>{"600", "1500", "100", "900"}));
}

TEST_F(CadenceEditorTest, HeldEdgeOutlivesClosingAndReopening) {
    open({"25", "50", "10", "40"});
    click(27, kToneRow);
    move(15, kBackgroundRow);
    ASSERT_TRUE(user->closeWindow(editor()));
    EXPECT_FALSE(editor().visible());
    EXPECT_EQ(fields(), (std::vector<std::string>{"25", "50", "10", "40"})) << "the close box carries nothing";
    open({"30", "60", "10", "40"});
    EXPECT_EQ(edges(), (Edges{30, 60, 10, 40}));
    EXPECT_TRUE(editor().GrabToneMin);
    move(20, kBackgroundRow);
    EXPECT_EQ(edges(), (Edges{20, 60, 10, 40}));
}

TEST_F(CadenceEditorTest, FieldThatIsNoNumberStopsTheOpening) {
    struct Case {
        std::vector<std::string> texts;
        std::string message;
        Edges after;  // only what was set from the fields before the bad one
    } cases[] = {
        {{"", "70", "15", "45"}, "'' is not a valid integer value.", {25, 50, 10, 40}},
        {{"30", "7O", "15", "45"}, "'7O' is not a valid integer value.", {30, 55, 10, 40}},
        {{"30", "70", "x", "45"}, "'x' is not a valid integer value.", {30, 70, 10, 40}},
        {{"30", "70", "15", "4 5"}, "'4 5' is not a valid integer value.", {30, 70, 15, 45}},
    };
    for (const Case& c : cases) {
        open({"25", "50", "10", "40"});
        ASSERT_TRUE(user->closeWindow(editor()));
        hp.desktop.messageBoxes.clear();
        fill(c.texts);
        user->click(busy().LMD3DEffectButton1);
        EXPECT_EQ(errors(), std::vector<std::string>{c.message});
        EXPECT_FALSE(editor().visible()) << c.message;
        EXPECT_EQ(edges(), c.after) << c.message;
        EXPECT_EQ(labels(), (std::vector<std::string>{"250", "500", "100", "400"})) << c.message;
    }
}

TEST_F(CadenceEditorTest, BarsOfNoWidthAreKeptAndCarriedBackAsComputed) {
    open({"50", "20", "30", "30"});
    EXPECT_TRUE(editor().visible());
    EXPECT_EQ(editor().LMDShapeControl1.width(), -30);
    EXPECT_EQ(editor().LMDShapeControl2.width(), 0);
    EXPECT_EQ(labels(), (std::vector<std::string>{"500", "200", "300", "300"}));
    editor().GrabToneMin = true;
    click(30, kPauseRow);  // where the bars would be: only the background is there
    click(35, kToneRow);
    EXPECT_EQ(grabs(), (std::vector<bool>{false, false, false, false}));
    ASSERT_TRUE(user->click(editor().SpeedButton1));
    EXPECT_EQ(fields(), (std::vector<std::string>{"50", "20", "30", "30"}));
    EXPECT_TRUE(errors().empty());
}

TEST_F(CadenceEditorTest, ExtremeFieldsNeitherOverflowNorCarryBackByHalves) {
    open({"-2147483648", "2147483647", "0", "1"});
    EXPECT_TRUE(editor().visible());
    EXPECT_EQ(editor().LMDShapeControl1.left(), -2147483648);
    EXPECT_EQ(editor().RxLabel5.text(), "-21474836480");
    EXPECT_EQ(editor().RxLabel6.text(), "21474836470");
    editor().GrabToneMax = true;
    move(100, kBackgroundRow);
    user->click(editor().SpeedButton1);
    EXPECT_EQ(errors(), std::vector<std::string>{"'-21474836480' is not a valid integer value."});
    EXPECT_EQ(fields(), (std::vector<std::string>{"-2147483648", "2147483647", "0", "1"}));
    EXPECT_TRUE(editor().visible());
}

}  // namespace
}  // namespace lt::testing
