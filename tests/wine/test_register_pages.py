"""The register pages: the bit registers, the levels and the speed page read from the
simulated modem, edited as a user does (clicks on check boxes, keyboard steps on a slider,
items picked in the lists) and written back."""
import pytest

BIT_LISTS = ["CheckListBox1", "CheckListBox2"]
SPEED_LISTS = ["ComboBox2", "ComboBox9", "ComboBox3", "ComboBox4", "ComboBox5", "ComboBox6", "ComboBox8"]


def bit_registers_page(app):
    w = app.caption
    app.select_page(2)
    # The modem's factory values: S216 = 5 (bits 0 and 2), S218 = 0.
    app.step("bit registers read", ("wait-values", w, 1, "00000000|00000000", *BIT_LISTS),
             ("click", w, "Button1"), ("wait-values", w, 20, "10100000|00000000", *BIT_LISTS))
    app.step("check boxes clicked", ("toggle", w, "CheckListBox1", 0), ("toggle", w, "CheckListBox1", 7),
             ("toggle", w, "CheckListBox2", 1), ("wait-values", w, 10, "00100001|01000000", *BIT_LISTS))
    mark = app.modem.mark()
    app.drive("click", w, "SpeedButton2")
    app.expect_sent(mark, "bit registers write", "ATS216=132S218=2", "at&w&w0&w1")

    before = app.values("Edit1")
    app.step("bit registers append", ("click", w, "SpeedButton7"),
             ("wait-values", w, 10, before + "S216=132S218=2", "Edit1"))
    app.shot("6-bit-registers")


def levels_page(app):
    w = app.caption
    app.select_page(1)
    app.step("level read (S91 = 10)", ("wait-values", w, 1, "|13", "RxLabel1", "RxSlider1"),
             ("click", w, "SpeedButton12"), ("wait-values", w, 20, "-10|13", "RxLabel1", "RxSlider1"))
    # Each keyboard step ends a change: the label follows at once, step by step.
    app.step("level moved by two steps left",
             ("key", w, "RxSlider1", "LEFT"), ("wait-values", w, 5, "-11|12", "RxLabel1", "RxSlider1"),
             ("key", w, "RxSlider1", "LEFT"), ("wait-values", w, 5, "-12|11", "RxLabel1", "RxSlider1"))
    mark = app.modem.mark()
    app.drive("click", w, "SpeedButton13")
    app.expect_sent(mark, "level write", "ATS91=12", "at&w&w0&w1")

    # S215 = 55: aggressiveness 7 (low half), noise detector 3 (high half).
    app.step("line adaptation read (S215 = 55)", ("wait-values", w, 1, "1|1", "RxSlider2", "RxSlider3"),
             ("click", w, "SpeedButton15"), ("wait-values", w, 20, "7|3", "RxSlider2", "RxSlider3"))
    mark = app.modem.mark()
    app.drive("click", w, "SpeedButton16")
    app.expect_sent(mark, "line adaptation write", "ATS215=55", "at&w&w0&w1")
    app.shot("7-levels")


def speed_page(app, say):
    w = app.caption
    app.select_page(3)
    # The modem's factory values: +MS: V92,1,300,48000,300,56000 and S210 = 5.
    app.step("speed read", ("wait-values", w, 1, "||||||", *SPEED_LISTS), ("click", w, "SpeedButton9"),
             ("wait-values", w, 20, "V92|Да|300|56000|300|48000|3429", *SPEED_LISTS))
    receive = app.drive("items", w, "ComboBox4").split("\n")[1:]
    assert (receive[0], receive[-1], len(receive)) == ("75", "56000", 45), "receive rates for V92"

    app.step("speed items picked", ("pick-text", w, "ComboBox2", "V90"), ("pick-text", w, "ComboBox6", "33600"),
             ("pick-text", w, "ComboBox8", "3200"),
             ("wait-values", w, 10, "V90|Да|300|56000|300|33600|3200", *SPEED_LISTS))
    mark = app.modem.mark()
    app.drive("click", w, "SpeedButton10")
    app.expect_sent(mark, "speed write", "AT+MS=V90,1,300,33600,300,56000", "at&w&w0&w1", "ATS210=4", "at&w&w0&w1")
    say(f"  pacing of the speed write: {app.expect_paced(mark, 'pacing of the speed write')}")

    app.step("protocol list dropped down", ("drop", w, "ComboBox2", 1))
    app.shot("8-speed-list-dropped")
    app.drive("drop", w, "ComboBox2", 0)


@pytest.mark.russian
def test_register_pages(app, say):
    """Bit registers, levels and speed read, edited, written and appended."""
    app.prefix.seed_settings(1)
    app.modem.start("--edition", "65a")
    app.start()
    bit_registers_page(app)
    levels_page(app)
    speed_page(app, say)
    app.close()
