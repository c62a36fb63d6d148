"""The set-up and the windows around the main one: the first start with its setup dialog,
the identification of the modem, the cadence editor dragged with the real mouse, the tray."""
import pytest

from harness import wine
from harness.waiting import wait_until

SETUP = "Установка"
EDITOR = 'Сигнал "Занято"'
SETTINGS_KEY = "HKLM\\SOFTWARE\\LTRM"
MODEM_CLASS = wine.constant("MODEM_CLASS")


@pytest.mark.russian
def test_first_start(app):
    """First start without settings: the setup dialog over the disabled main window."""
    app.prefix.reg_delete(SETTINGS_KEY)
    app.prefix.reg_delete("HKLM\\" + MODEM_CLASS)
    app.prefix.import_reg(
        f'[HKEY_LOCAL_MACHINE\\{MODEM_CLASS}\\0000]\n"Model"="Olvix ZOLT1 V.34"\n\n'
        f'[HKEY_LOCAL_MACHINE\\{MODEM_CLASS}\\0001]\n"Model"="Olvix ZOLT2 V.92"\n\n'
        f'[HKEY_LOCAL_MACHINE\\{MODEM_CLASS}\\0002]\n"Model"="Standard 56000 bps Modem"\n')
    try:
        app.start()
        w = app.caption
        assert app.drive.ok("wait-window", SETUP, 30), "the setup dialog did not appear"
        assert app.window_state() == "enabled=0 visible=1 iconic=0", "main window"
        assert app.window_state(SETUP) == "enabled=1 visible=1 iconic=0", "setup dialog"
        on_top = [c for c in app.drive("z-order").split("\n") if c in (SETUP, w)]
        assert on_top[0] == SETUP, "window on top"
        assert app.drive("items", SETUP, "ComboBox1").split("\n") == [
            "selected=0", "Olvix ZOLT1 V.34", "Olvix ZOLT2 V.92", "Standard 56000 bps Modem"]
        app.drive("pick", SETUP, "ComboBox1", 1)
        app.drive("pick", SETUP, "ComboBox2", 0)
        app.drive("pick", SETUP, "ComboBox3", 1)
        assert wait_until(10, lambda: app.drive("items", SETUP, "ComboBox3").split("\n")[0] == "selected=1"), \
            "the series was not picked"
        app.shot_desktop("6-setup-over-main")
        app.drive("click", SETUP, "Button1")
        assert app.box(30) == "Пожалуйста перезапустите программу", "notice"
        assert app.drive.ok("box-ok"), "the notice did not close"
        assert app.program.wait_gone(20), "the program did not end after the setup"
        assert app.prefix.reg_value(SETTINGS_KEY, "path") == f"\\{MODEM_CLASS}\\0001"
        assert app.prefix.reg_value(SETTINGS_KEY, "port") == "1"
        assert app.prefix.reg_value(SETTINGS_KEY, "klas") == "2"
        assert app.prefix.reg_value(SETTINGS_KEY, "modem") is None, "\"modem\" was not deleted"
        assert app.prefix.reg_value(SETTINGS_KEY, "version") is None, "\"version\" was not deleted"
    finally:
        # The scenarios after this one find the one modem seed_settings describes.
        app.program.stop()
        app.prefix.reg_delete(f"HKLM\\{MODEM_CLASS}\\0001")
        app.prefix.reg_delete(f"HKLM\\{MODEM_CLASS}\\0002")


def test_identification(app):
    """Identification of a gb1 modem and the editors it opens."""
    app.prefix.seed_settings(1)
    app.modem.start("--edition", "gb1")
    app.start()
    app.select_page(4)
    app.drive("click", app.caption, "SpeedButton6")
    assert app.drive.ok("wait-text", app.caption, "Label17", "первый официальный релиз", 30), \
        "the identification did not describe the modem"
    assert app.text("Label15") == "производства компании Olvix", "maker"
    assert app.text("Label16") == "серия ZOLT2", "series"
    assert app.prefix.reg_value(SETTINGS_KEY, "modem") == "ZOLT2", "stored series"
    assert app.prefix.reg_value(SETTINGS_KEY, "version") == "gb1", "stored edition"
    app.shot("7-identified-information")
    app.select_page(2)
    assert app.text("Label5") == "S17", "second register"
    assert app.drive("items", app.caption, "CheckListBox2").split("\n")[1] == "Mute All", "first bit"
    app.shot("8-identified-registers")
    app.exit()


def test_cadence_editor(app):
    """The cadence editor, an edge moved with the real mouse."""
    app.prefix.seed_settings(1)
    app.modem.start()
    app.start()
    w = app.caption
    app.select_page(0)
    app.drive("click", w, "SpeedButton4")
    assert app.drive.ok("wait-text", w, "Edit6", "004", 30), "the busy-tone read did not fill the fields"
    app.drive("click", w, "LMD3DEffectButton1")
    assert app.drive.ok("wait-window", EDITOR, 20), "the cadence editor did not open"
    x, y, _, h = map(int, app.drive("screen-rect", EDITOR, "LMDShapeControl1").split())
    # S203 is 25: the tone bar's left edge lies 25 pixels into the drawing.
    row = y + h // 3
    app.mouse("move", x + 2, row)
    app.mouse("down", x + 2, row)  # a press just inside the left edge picks it up
    app.mouse("up", x + 2, row)
    app.mouse("move", x - 4, row)  # over the background the held edge follows the pointer
    app.mouse("move", x - 10, row)
    assert app.drive.ok("wait-text", EDITOR, "RxLabel5", "150", 10), "the edge did not follow the mouse"
    app.shot("9-cadence-editor", EDITOR)
    app.mouse("down", x - 10, row)  # a press on the background puts it down
    app.mouse("up", x - 10, row)
    app.mouse("move", x - 30, row)
    assert app.text("RxLabel5", EDITOR) == "150", "edge put down"
    app.drive("click", EDITOR, "SpeedButton1")
    assert app.drive.ok("wait-gone", EDITOR, 10), "the editor did not hide"
    assert app.drive.ok("wait-text", w, "Edit2", "15", 10), "Edit2 does not hold the new minimum"
    assert [app.text(e) for e in ("Edit3", "Edit4", "Edit5")] == ["50", "10", "40"], "other fields"
    app.exit()


def test_tray(app):
    """Minimised to the tray and restored from its menu."""
    app.prefix.seed_settings(1)
    app.start()
    app.drive("minimize", app.caption)
    assert wait_until(10, lambda: "visible=0" in app.window_state()), \
        "the minimised main window is still shown"
    # Wine's virtual desktop has no taskbar to click in: the driver sends the icon's
    # window the message a right click on the icon brings, and the real menu opens.
    assert app.drive.ok("tray-menu"), "the tray menu did not open"
    assert app.drive.ok("menu-pick", 0), "\"Развернуть\" could not be chosen"
    assert wait_until(10, lambda: "visible=1 iconic=0" in app.window_state()), \
        "\"Развернуть\" did not restore the window"
    app.exit()
