"""The keyboard, with real keys typed on the virtual X server's keyboard: the page keys from a
field, a slider and the tabs; the Tab order of every page and of the setup dialog, and
Shift+Tab back; Space and Enter on buttons, the arrow keys on a slider, Space on the bit lists;
the focus where it was after an error box and after another program."""
from harness.waiting import wait_until

# Tab from the tabs goes through the page in front in reading order, then the buttons below
# the pages ("Помощь" never responds), then back to the tabs.
TAB_ORDER = {
    0: ["Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "SpeedButton4", "SpeedButton5", "SpeedButton8",
        "Edit1", "SpeedButton18", "SpeedButton19", "SpeedButton20"],
    1: ["RxSlider1", "SpeedButton12", "SpeedButton13", "SpeedButton14", "RxSlider2", "RxSlider3",
        "SpeedButton15", "SpeedButton16", "SpeedButton17"],
    2: ["CheckListBox1", "Button1", "SpeedButton2", "SpeedButton7", "CheckListBox2"],
    3: ["ComboBox2", "ComboBox9", "ComboBox3", "ComboBox4", "ComboBox5", "ComboBox6", "ComboBox8",
        "SpeedButton9", "SpeedButton10", "SpeedButton11"],
    4: ["SpeedButton21", "SpeedButton6", "Label20", "Label22"],
}
PAGES = len(TAB_ORDER)
BIT_LISTS = ["CheckListBox1", "CheckListBox2"]


def focused(app, caption=None):
    return app.drive("focused", caption or app.caption)


def expect_focus(app, name, what, caption=None):
    wait_until(10, lambda: focused(app, caption) == name)
    assert focused(app, caption) == name, f"{what}: the focus is elsewhere"


def expect_page(app, page, what):
    wait_until(10, lambda: app.values("PageControl1") == str(page))
    assert app.values("PageControl1") == str(page), f"{what}: another page is in front"


def press(app, key, page, what):
    """A page key; the page in front afterwards and the focus on the tabs."""
    app.keys(key)
    expect_page(app, page, f"{what} ({key})")
    expect_focus(app, "PageControl1", f"{what} ({key})")


def click_into(app, control):
    """A click with the real mouse in the middle of a control (a field takes the focus)."""
    x, y, w, h = map(int, app.drive("screen-rect", app.caption, control).split())
    app.mouse("move", x + w // 2, y + h // 2)
    app.mouse("down", x + w // 2, y + h // 2)
    app.mouse("up", x + w // 2, y + h // 2)


def test_page_keys(app):
    """Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PageDown and Ctrl+PageUp from a field, a slider and the
    tabs, around the ends."""
    app.prefix.seed_settings(1)
    app.start()
    app.select_page(0)
    click_into(app, "Edit2")
    expect_focus(app, "Edit2", "a click in the field")
    press(app, "ctrl+Tab", 1, "from a field")
    press(app, "ctrl+Tab", 2, "from the tabs")
    press(app, "ctrl+shift+Tab", 1, "back from the tabs")
    press(app, "ctrl+Next", 2, "from the tabs")
    press(app, "ctrl+Prior", 1, "back from the tabs")
    press(app, "Right", 2, "the tabs' own arrow keys")
    press(app, "Left", 1, "the tabs' own arrow keys")

    app.keys("Tab")
    expect_focus(app, "RxSlider1", "Tab from the tabs")
    slider = app.values("RxSlider1")
    press(app, "ctrl+Next", 2, "from a slider, which takes PageDown itself")
    press(app, "ctrl+Prior", 1, "back")
    app.keys("Tab")
    expect_focus(app, "RxSlider1", "Tab from the tabs")
    press(app, "ctrl+Prior", 0, "from a slider, which takes PageUp itself")
    assert app.values("RxSlider1") == slider, "the page keys moved the slider"

    press(app, "ctrl+shift+Tab", PAGES - 1, "around the first page")
    press(app, "ctrl+Tab", 0, "around the last page")
    press(app, "ctrl+Prior", PAGES - 1, "around the first page")
    press(app, "ctrl+Next", 0, "around the last page")

    app.keys("Tab")
    expect_focus(app, "Edit2", "Tab from the tabs")
    press(app, "ctrl+Prior", PAGES - 1, "from a field, which takes Ctrl with the arrows")
    app.keys("Tab", "Tab")
    expect_focus(app, "SpeedButton6", "Tab to the second button")
    press(app, "ctrl+shift+Tab", PAGES - 2, "from a button")
    app.close()



def tab_through(app, names, key, what, caption=None):
    """KEY pressed once for each name, the focus on that control after each press."""
    for name in names:
        app.keys(key)
        expect_focus(app, name, f"{what}: {key} to {name}", caption)


def test_tab_order(app):
    """Tab through every page from the tabs around to them again, Shift+Tab back; the same in
    the setup dialog, opened by Enter on its button."""
    app.prefix.seed_settings(1)
    app.start()
    app.select_page(0)
    click_into(app, "Edit2")
    press(app, "ctrl+Prior", PAGES - 1, "the tabs take the focus")
    press(app, "ctrl+Next", 0, "the tabs take the focus")
    for page, names in TAB_ORDER.items():
        # Around from the tabs and back: the page, "Выход", the tabs.
        around = names + ["SpeedButton3"]
        tab_through(app, around + ["PageControl1"], "Tab", f"page {page}")
        tab_through(app, around[::-1] + ["PageControl1"], "shift+Tab", f"page {page}")
        assert app.values("PageControl1") == str(page), "Tab changed the page"
        if page + 1 < PAGES:
            press(app, "ctrl+Tab", page + 1, "the next page")

    setup = "Установка"
    tab_through(app, ["SpeedButton21"], "Tab", "the information page")
    app.keys("Return")
    assert app.drive.ok("wait-window", setup, 20), "Enter on \"Модем\" did not open the setup dialog"
    order = ["ComboBox1", "Button1", "ComboBox2", "ComboBox3"]  # the dialog's own order
    tab_through(app, order + order[:1], "Tab", "the setup dialog", setup)
    tab_through(app, list(reversed(order)), "shift+Tab", "the setup dialog", setup)
    app.drive("close", setup)
    assert app.drive.ok("wait-gone", setup, 10), "the setup dialog stays"
    app.close()


def test_keys_act_as_clicks(app):
    """Space and Enter on a flat button, a push button and the picture button do what a click
    does; the arrow keys move a slider as a drag does; Space checks the selected item of a
    check list."""
    app.prefix.seed_settings(1)
    app.modem.start("--edition", "65a")
    app.start()
    w = app.caption
    editor = "Сигнал \"Занято\""
    app.select_page(0)
    click_into(app, "Edit2")
    tab_through(app, ["Edit3", "Edit4", "Edit5", "Edit6", "SpeedButton4"], "Tab", "the busy-tone group")
    mark = app.modem.mark()
    app.keys("space")
    app.step("Space on the flat \"Считать\" reads the busy tone",
             ("wait-values", w, 30, "025|050|010|040|004", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6"))
    assert "ATS203?" in app.modem.commands_since(mark)[0], "the read did not reach the modem"

    tab_through(app, ["SpeedButton5", "SpeedButton8", "LMD3DEffectButton1"], "Tab", "the busy-tone group")
    app.keys("Return")
    assert app.drive.ok("wait-window", editor, 20), "Enter on the picture button did not open the cadence editor"
    tab_through(app, ["SpeedButton1"], "Tab", "the cadence editor", editor)
    app.keys("Return")
    assert app.drive.ok("wait-gone", editor, 10), "Enter on \"Внести значения\" did not close the editor"

    click_into(app, "Edit2")
    press(app, "ctrl+Tab", 1, "to the levels")
    tab_through(app, ["RxSlider1"], "Tab", "the levels page")
    # Each key ends a change, as a released drag does: the label follows the slider.
    for key, label, position in (("Left", "-11", "12"), ("End", "-3", "20"), ("Home", "-20", "3"),
                                 ("Right", "-19", "4"), ("Right", "-18", "5"), ("Left", "-19", "4")):
        app.keys(key)
        app.step(f"{key} on the slider", ("wait-values", w, 10, f"{label}|{position}", "RxLabel1", "RxSlider1"))
    tab_through(app, ["SpeedButton12", "SpeedButton13"], "Tab", "the levels page")
    mark = app.modem.mark()
    app.keys("Return")
    app.expect_sent(mark, "Enter on the flat \"Записать\" writes the level", "ATS91=19", "at&w&w0&w1")

    press(app, "ctrl+Tab", 2, "to the bit registers")
    tab_through(app, ["CheckListBox1", "Button1"], "Tab", "the bit registers")
    app.keys("Return")
    app.step("Enter on the push button \"Считать\" reads the bit registers",
             ("wait-values", w, 30, "10100000|00000000", *BIT_LISTS))
    tab_through(app, ["CheckListBox1"], "shift+Tab", "the bit registers")
    app.keys("Home", "space")
    app.step("Space checks the first item", ("wait-values", w, 10, "00100000|00000000", *BIT_LISTS))
    app.keys("Down", "space")
    app.step("Space checks the second item", ("wait-values", w, 10, "01100000|00000000", *BIT_LISTS))
    tab_through(app, ["Button1", "SpeedButton2", "SpeedButton7", "CheckListBox2"], "Tab", "the bit registers")
    app.keys("Home", "space")
    app.step("Space checks the first item of the second list",
             ("wait-values", w, 10, "01100000|10000000", *BIT_LISTS))
    tab_through(app, ["SpeedButton7", "SpeedButton2"], "shift+Tab", "the bit registers")
    mark = app.modem.mark()
    app.keys("space")
    app.expect_sent(mark, "Space on \"Записать\" writes the checks", "ATS216=6S218=1", "at&w&w0&w1")
    app.close()


def test_focus_comes_back(app, wine_out):
    """The focus is where the user left it after an error box and after another program."""
    app.prefix.seed_settings(5)  # no such port: a read fails in an error box
    app.start()
    w = app.caption
    app.select_page(0)
    click_into(app, "Edit2")
    tab_through(app, ["Edit3", "Edit4", "Edit5", "Edit6", "SpeedButton4"], "Tab", "the busy-tone group")
    app.keys("space")
    assert app.box(30) == "Invalid port number (COM5)"
    assert app.drive.ok("box-ok"), "the error box did not close"
    expect_focus(app, "SpeedButton4", "after the error box")

    front_out = wine_out / "front-window.out"
    with open(front_out, "wb") as out:
        front = app.prefix.start(app.drive.exe, "front-window", "another program", 60, stdout=out, stderr=out)
    try:
        assert wait_until(20, lambda: b"ready" in front_out.read_bytes()), \
            "the other program's window did not come in front"
        # A click on a label, which takes no focus, brings the main window back in front.
        click_into(app, "Label3")
        expect_focus(app, "SpeedButton4", "after another program")
    finally:
        front.kill()
        front.wait()
    app.close()
