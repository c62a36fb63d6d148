#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/form.h"
#include "toolkit/widgets.h"

namespace lt {
namespace {

// A window with a background and a smaller control on top of it; every event a control
// receives is recorded with its coordinates.
class FormMouseTest : public ::testing::Test {
protected:
    FormMouseTest() {
        form.show();
        back.setBounds(0, 0, 200, 100);
        top.setBounds(40, 20, 50, 30);
        for (Shape* s : {&back, &top}) {
            s->onMouseDown = [this, s](int x, int y) { record("down", *s, x, y); };
            s->onMouseMove = [this, s](int x, int y) { record("move", *s, x, y); };
        }
    }
    void record(const char* what, const Control& c, int x, int y) {
        events.push_back(std::string(what) + " " + c.name() + " " + std::to_string(x) + "," + std::to_string(y));
    }

    Form form{"Form"};
    Shape back{&form, "back"};
    Shape top{&form, "top"};
    std::vector<std::string> events;
};

TEST_F(FormMouseTest, PressedControlKeepsTheMovesRelativeToWhereItLiesNow) {
    form.userMouseDown(45, 25);
    form.userMouseMove(150, 90);  // far outside it: still its own
    top.setLeft(60);              // moved while it holds the mouse
    form.userMouseMove(65, 25);
    form.userMouseUp(65, 25);
    form.userMouseMove(150, 90);  // released: the control under the pointer
    form.userMouseMove(65, 25);
    EXPECT_EQ(events, (std::vector<std::string>{"down top 5,5", "move top 110,70", "move top 5,5",
                                                "move back 150,90", "move top 5,5"}));
}

TEST_F(FormMouseTest, PressOutsideEveryControlHoldsTheMouseForTheWindow) {
    form.userMouseDown(150, 150);
    form.userMouseMove(45, 25);
    form.userMouseMove(10, 10);
    EXPECT_TRUE(events.empty());
    form.userMouseUp(10, 10);
    form.userMouseMove(10, 10);
    EXPECT_EQ(events, std::vector<std::string>{"move back 10,10"});
}

TEST_F(FormMouseTest, ControlWithoutWidthCoversNothing) {
    for (int width : {0, -20}) {
        events.clear();
        top.setBounds(60, 20, width, 30);
        EXPECT_EQ(top.width(), width) << "kept as set";
        form.userMouseDown(50, 25);
        form.userMouseUp(50, 25);
        form.userMouseMove(60, 25);
        EXPECT_EQ(events, (std::vector<std::string>{"down back 50,25", "move back 60,25"})) << width;
    }
}

}  // namespace
}  // namespace lt
