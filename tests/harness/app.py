"""What the scenarios do with the program: its pages, its controls' values, chains of driver
commands that must succeed, the commands the modem receives, screenshots."""
from harness import desktop, pacing
from harness.waiting import wait_until


class App:
    def __init__(self, program, driver, modem, prefix, screenshots):
        self.program = program
        self.drive = driver
        self.modem = modem
        self.prefix = prefix
        self.screenshots = screenshots
        self.caption = program.caption

    def start(self):
        self.program.start()
        return self

    def text(self, control, caption=None):
        return self.drive("text", caption or self.caption, control)

    def values(self, *controls):
        """The values of controls as the driver reads them, joined by '|'."""
        return "|".join(self.drive("values", self.caption, *controls).split("\n"))

    def window_state(self, caption=None):
        return self.drive("window-state", caption or self.caption)


    def step(self, what, *commands):
        """Driver commands run in order (actions, then waits for what they must bring about:
        "wait-values" also fails on an error box); the first that fails fails the step."""
        for command in commands:
            answer = self.drive.ask(*command)
            assert answer.ok, f"{what}: {answer.why or ' '.join(map(str, command)) + ' failed'}"

    def select_page(self, page):
        """Page N shown, as a click on its tab shows it."""
        self.step(f"page {page} shown", ("tab", self.caption, "PageControl1", page),
                  ("wait-values", self.caption, 10, page, "PageControl1"))

    def box(self, seconds):
        """The text of the message box that is up or comes within SECONDS, or None."""
        answer = self.drive.ask("box", seconds)
        return answer.text if answer.ok else None

    def no_second_box(self, what, seconds=3):
        """No box follows within SECONDS; one that does is closed and reported."""
        text = self.box(seconds)
        if text is not None:
            self.drive.ok("box-ok")
        assert text is None, f"{what}: a second box followed: {text}"

    def sent_since(self, mark):
        """The complete commands received after MARK joined by '|', closed by "|END"; a
        command still arriving runs into the "END"."""
        complete, partial = self.modem.commands_since(mark)
        return "|".join(complete + [partial + "END"])

    def expect_sent(self, mark, what, *commands):
        """The modem receives exactly these commands after MARK."""
        want = "|".join(commands) + "|END"
        wait_until(30, lambda: self.sent_since(mark) == want)
        got = self.sent_since(mark)
        assert got == want, f"{what}: the modem received something else"

    def expect_paced(self, mark, what):
        """What the modem received after MARK was paced (see harness.pacing); what its gaps
        show."""
        gaps, quiet = pacing.send_gaps(self.modem.times(), mark)
        found = pacing.describe(gaps, quiet)
        assert pacing.unpaced(gaps, quiet) == [], f"{what}: {found}"
        return found

    def exit(self, button="SpeedButton3"):
        """"Выход" ends the program's process."""
        self.drive("click", self.caption, button)
        assert self.program.wait_gone(20), "\"Выход\" did not end the program"

    def close(self):
        self.drive("close", self.caption)
        assert self.program.wait_gone(20), "closing the main window did not end the program"

    def shot(self, name, caption=None):
        """One top-level window (the main one unless told) as it is on the screen."""
        desktop.shoot(self.prefix.env, self.screenshots / f"{name}.png",
                      self.drive("rect", caption or self.caption))

    def shot_desktop(self, name):
        desktop.shoot(self.prefix.env, self.screenshots / f"{name}.png")

    def mouse(self, action, x, y):
        desktop.mouse(self.prefix.env, action, x, y)

    def keys(self, *names):
        desktop.keys(self.prefix.env, *names)
