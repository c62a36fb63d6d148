"""An error box raised while another program is in front."""
import signal

from harness.waiting import wait_until


def test_error_box_in_background(app, wine_out, say):
    app.prefix.seed_settings(1)
    # Values of two digits: the busy-tone read fails to parse.
    app.modem.start("--short-values")
    app.start()
    w = app.caption
    app.select_page(0)
    app.drive("click", w, "SpeedButton4")
    # The user turns to another program while the read's commands go out.
    assert wait_until(20, lambda: app.modem.mark() >= 3), "the read did not start"
    front_out = wine_out / "front-window.out"
    with open(front_out, "wb") as out:
        front = app.prefix.start(app.drive.exe, "front-window", "another program", 60,
                                 stdout=out, stderr=out)
    try:
        assert wait_until(20, lambda: b"ready" in front_out.read_bytes()), \
            "the other program's window did not come in front"
        # Each transmit-empty report of the read parses the reply again and may raise its
        # own box; the main window must not respond while any of them is up.
        boxes = 0
        while (text := app.box(10)) is not None:
            boxes += 1
            assert text.endswith("is not a valid integer value."), f"error box: \"{text}\""
            assert app.window_state() == "enabled=0 visible=1 iconic=0", f"main window while box {boxes} is up"
            assert app.drive.ok("box-ok"), "the error box did not close"
            assert boxes < 5, "more than 5 boxes"
        assert boxes > 0, "no error box"
        # A disabled window takes no mouse or keyboard input from the system: no request
        # could start under a failed handler's box.
        assert wait_until(10, lambda: "enabled=1" in app.window_state()), \
            "the main window stays disabled after the boxes"
        say(f"  {boxes} error box(es) closed")
    finally:
        front.send_signal(signal.SIGKILL)
        front.wait()
