"""The program on screens of 96, 120 and 144 dpi: the layout of 96 dpi scaled to the screen's
density, every text fitting its control in the control's own font, the cadence editor's drag
counted in the layout's units, and screenshots of every page and window."""
import pytest

from harness.waiting import wait_until

SETUP = "Установка"
EDITOR = 'Сигнал "Занято"'
PAGES = ["1-main", "2-levels", "3-registers", "4-speed", "5-information"]


def scaled(length, dpi):
    """A length of the 96-dpi layout at DPI, rounded as the system's MulDiv rounds."""
    return (length * dpi + 48) // 96


@pytest.fixture
def dpi(request, prefix):
    """The screen's density for the programs started in the scenario; 96 again after it."""
    prefix.set_dpi(request.param)
    yield request.param
    prefix.set_dpi(96)


def rect(app, window, control):
    return tuple(map(int, app.drive("screen-rect", window, control).split()))


def fitting(app, window, what):
    """Every text of the window's controls fits; how many were measured."""
    lines = app.drive("clipped", window).split("\n")
    assert lines[0].startswith("measured "), lines
    assert lines[1:] == [], f"{what}: texts cut:\n" + "\n".join(lines[1:])
    return int(lines[0].split()[1])


@pytest.mark.parametrize("dpi", [96, 120, 144], indirect=True)
def test_layout(app, dpi, say):
    app.prefix.seed_settings(1)
    app.modem.start()
    app.start()
    w = app.caption
    assert app.drive("client-size", w) == f"{scaled(349, dpi)} {scaled(368, dpi)}", "client area"
    # The page control lies at the client area's origin.
    left, top, width, height = rect(app, w, "PageControl1")
    assert (width, height) == (scaled(345, dpi), scaled(329, dpi)), "page control"
    for button, x in (("SpeedButton1", 112), ("SpeedButton3", 232)):
        bx, by, bw, bh = rect(app, w, button)
        assert (bx - left, by - top) == (scaled(x, dpi), scaled(336, dpi)), f"{button} place"
        assert (bw, bh) == (scaled(x + 113, dpi) - scaled(x, dpi), scaled(361, dpi) - scaled(336, dpi)), \
            f"{button} size"

    measured = 0
    for page, name in enumerate(PAGES):
        app.select_page(page)
        app.shot(f"{dpi}dpi-{name}")
        measured = fitting(app, w, f"page {page} at {dpi} dpi")
    say(f"  {dpi} dpi: {measured} texts of the main window measured, none cut")

    # The cadence editor: an edge moved by 12 pixels of the layout, whatever the density.
    app.select_page(0)
    app.drive("click", w, "SpeedButton4")
    assert app.drive.ok("wait-text", w, "Edit6", "004", 30), "the busy-tone read did not fill the fields"
    app.drive("click", w, "LMD3DEffectButton1")
    assert app.drive.ok("wait-window", EDITOR, 20), "the cadence editor did not open"
    x, y, _, h = rect(app, EDITOR, "LMDShapeControl1")
    row = y + h // 3
    grip = x + scaled(2, dpi)  # just inside the tone bar's left edge
    app.mouse("move", grip, row)
    app.mouse("down", grip, row)
    app.mouse("up", grip, row)
    app.mouse("move", grip - scaled(6, dpi), row)
    app.mouse("move", grip - scaled(12, dpi), row)
    assert app.drive.ok("wait-text", EDITOR, "RxLabel5", "150", 10), \
        f"the edge did not follow the mouse in the layout's units: {app.text('RxLabel5', EDITOR)}"
    app.mouse("down", grip - scaled(12, dpi), row)
    app.mouse("up", grip - scaled(12, dpi), row)
    fitting(app, EDITOR, f"cadence editor at {dpi} dpi")
    app.shot(f"{dpi}dpi-cadence-editor", EDITOR)
    app.drive("close", EDITOR)
    assert app.drive.ok("wait-gone", EDITOR, 10), "the editor did not close"

    app.select_page(4)
    app.drive("click", w, "SpeedButton21")
    assert app.drive.ok("wait-window", SETUP, 20), "the setup dialog did not open"
    fitting(app, SETUP, f"setup dialog at {dpi} dpi")
    app.shot(f"{dpi}dpi-setup", SETUP)
    app.drive("close", SETUP)
    assert app.drive.ok("wait-gone", SETUP, 10), "the setup dialog did not close"
    app.exit()
