"""Faults: the modem's device disappearing in the middle of a send and coming back, how
fast the program ends with its port open, and a modem that prints malformed values."""
import time

import pytest

from harness.idle import measure_idle
from harness.waiting import wait_until

BUSY_TONE = ["Edit2", "Edit3", "Edit4", "Edit5", "Edit6"]


def exit_times(app, limit_ms):
    """Presses "Выход"; the milliseconds until the main window has been destroyed (the
    program has closed its port and destroyed its windows), measured in the driver, and
    until the process has ended (Wine's own teardown included). Both must come: the window
    within LIMIT_MS, the process within 20 s."""
    began = time.monotonic()
    answer = app.drive.ask("click-until-gone", app.caption, "SpeedButton3", 20)
    assert answer.ok, f"\"Выход\": {answer.why}"
    window = int(answer.text)
    assert app.program.wait_gone(20), "\"Выход\" did not end the program"
    process = (time.monotonic() - began) * 1000
    assert window <= limit_ms, f"the window stayed {window} ms"
    return window, process


def check_exit(app, say, what, limit_ms=2000):
    window, process = exit_times(app, limit_ms)
    say(f"  exit {what}: window gone after {window} ms, process ended {process:.0f} ms after the driver started")


def wait_sent(app, count):
    """The modem has received COUNT bytes since it started."""
    assert wait_until(20, lambda: app.modem.mark() >= count), "the read did not start"


def test_device_gone(app, say):
    """The device disappears during a send and comes back."""
    app.prefix.seed_settings(1)
    app.modem.start()
    app.start()
    w = app.caption
    app.select_page(0)
    app.drive("click", w, "SpeedButton4")
    # Ending zoltsim closes the far end of the pseudo-terminal: the port's device is gone.
    wait_sent(app, 3)
    app.modem.stop()
    assert app.box(30) == "TVaModem: error writing to comm.", "error box"
    assert app.drive.ok("box-ok"), "the error box did not close"
    app.no_second_box("the device gone", 2)
    assert not app.program.gone(), "the program ended with the device"
    # Nothing may spin on the dead device: the event thread has ended.
    _, everything = measure_idle(app.program.pid)
    say(f"  CPU with the device gone: {everything:.0f} per mille of a core (all threads but the user interface)")
    assert everything <= 100, f"a thread spins on the dead device: {everything:.0f} per mille"

    # The same link again: the next read opens the port anew.
    app.modem.start()
    app.drive("click", w, "SpeedButton4")
    assert app.drive.ok("wait-text", w, "Edit6", "004", 30), \
        "the read after the device came back did not fill the fields"
    assert [app.text(e) for e in BUSY_TONE] == ["025", "050", "010", "040", "004"]
    check_exit(app, say, "with the port open and idle")


def test_exit_during_paced_send(app, say):
    """"Выход" while a read is sent: the read is one paced send of 45 characters (2.3 s)
    that handles no window message, so the click waits for its end."""
    app.prefix.seed_settings(1)
    app.modem.start("--delay", 300)
    app.start()
    app.select_page(0)
    app.drive("click", app.caption, "SpeedButton4")
    wait_sent(app, 10)
    check_exit(app, say, "during the paced send", limit_ms=4000)


def test_exit_while_answers_are_handed_over(app, say):
    """"Выход" when the read has been sent whole and the modem's answers (each 300 ms late)
    are being handed over."""
    app.prefix.seed_settings(1)
    app.modem.start("--delay", 300)
    app.start()
    app.select_page(0)
    app.drive("click", app.caption, "SpeedButton4")
    wait_sent(app, 45)
    check_exit(app, say, "while the answers are handed over")
    assert not app.drive.ok("text", app.caption, "Edit6"), "the window outlived the exit"


# (what, page, button, the error box's text)
FAILING_READS = [
    ("busy tone", 0, "SpeedButton4", "'#2O' is not a valid integer value."),
    ("level", 1, "SpeedButton12", "'#1O' is not a valid integer value."),
    ("line adaptation", 1, "SpeedButton15", "'#5O' is not a valid integer value."),
    ("bit registers", 2, "Button1", "'5OK' is not a valid integer value."),
    ("speed", 3, "SpeedButton9", "' #3' is not a valid integer value."),
]
# (what, page, button, the values shown, the controls)
SANE_READS = [
    ("busy tone", 0, "SpeedButton4", "025|050|010|040|004", BUSY_TONE),
    ("level", 1, "SpeedButton12", "-10|13", ["RxLabel1", "RxSlider1"]),
    ("line adaptation", 1, "SpeedButton15", "7|3", ["RxSlider2", "RxSlider3"]),
    ("bit registers", 2, "Button1", "10100000|00000000", ["CheckListBox1", "CheckListBox2"]),
    ("speed", 3, "SpeedButton9", "V92|Да|300|56000|300|48000|3429",
     ["ComboBox2", "ComboBox9", "ComboBox3", "ComboBox4", "ComboBox5", "ComboBox6", "ComboBox8"]),
]


def test_malformed_values(app, say):
    """A modem that prints malformed values: one error box per read, then a sane modem reads."""
    app.prefix.seed_settings(1)
    app.modem.start("--malformed-values")
    app.start()
    w = app.caption
    for what, page, button, message in FAILING_READS:
        # The read shows its error box, and no second one comes after it is closed,
        # however long the port goes on reporting.
        app.select_page(page)
        app.drive("click", w, button)
        assert app.box(30) == message, f"{what}: error box"
        assert app.drive.ok("box-ok"), f"{what}: the error box did not close"
        app.no_second_box(what)
    # The identification text is malformed too: no edition is known, which is no error.
    app.select_page(4)
    app.drive("click", w, "SpeedButton6")
    assert wait_until(30, lambda: not app.drive.ok("setting", "version")), \
        "a malformed identification kept the edition"
    app.no_second_box("the identification")

    # The same link, a sane modem: identification and every read work again.
    app.modem.stop()
    app.modem.start()
    app.select_page(4)
    app.drive("click", w, "SpeedButton6")
    assert app.drive.ok("wait-setting", "version", "65a", 30), \
        "the identification after the modem was sane again did not store 65a"
    for what, page, button, expected, controls in SANE_READS:
        app.select_page(page)
        app.step(what, ("click", w, button), ("wait-values", w, 30, expected, *controls))
    assert app.box(1) is None, "an error box is open"
    check_exit(app, say, "after the malformed replies")
