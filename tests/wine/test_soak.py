"""The soak under Wine: consecutive reads of each read of the program (busy tone, bit
registers, transmit level, line adaptation, speed, identification) against the simulated
modem, each checked through the driver, and the program's memory after the first read and
after the last. --soak-reads sets how many of each (3 in ./test; the long soak in
docs/RELIABILITY.md runs 200).

Before every read the control that shows the value is moved away from it, so only a
completed read passes. Before read 2 and then every VARY_EVERY reads the page writes new
values (the modem keeps what it is told), so the reads that follow must show them."""
import time

from harness import proc

VARY_EVERY = 10
GROWTH_LIMIT_KIB = 2048
BUSY_TONE = ["Edit2", "Edit3", "Edit4", "Edit5", "Edit6"]
SPEED_LISTS = ["ComboBox2", "ComboBox9", "ComboBox3", "ComboBox4", "ComboBox5", "ComboBox6", "ComboBox8"]


def variation(read):
    """The number of the write due before READ, or 0 when none is due."""
    return (read - 2) // VARY_EVERY + 1 if read >= 2 and (read - 2) % VARY_EVERY == 0 else 0


def flip_bit(bits, i):
    return bits[:i] + str(1 - int(bits[i])) + bits[i + 1:]


def bits_value(bits):
    """A register's value from its check marks, bit 0 first."""
    return sum(int(b) << i for i, b in enumerate(bits))


def slider_keys(w, slider, position, lowest):
    """The driver commands of the keys that take a slider to a position."""
    keys = [("key", w, slider, "HOME")]
    if position > lowest:
        keys.append(("key", w, slider, "RIGHT", position - lowest))
    return keys


class Soak:
    def __init__(self, app, say, sample_every):
        self.app = app
        self.w = app.caption
        self.say = say
        self.sample_every = sample_every
        self.failures = []
        self.steps = 0
        self.memory_first = None

    def memory(self):
        """The memory counters of the program's process, KiB: the Windows side (the private
        bytes, which Wine reports as PagefileUsage, and the working set) and, for
        comparison, Linux's view of the same process."""
        return self.app.drive("memory", self.w) + " " + proc.status_fields(self.app.program.pid)

    def private_bytes(self, memory=None):
        fields = dict(f.split("=") for f in (memory or self.memory()).split())
        return int(fields["pagefile"])

    def step(self, what, *commands):
        """A step of the soak; a failure is kept and its error box, if any, closed so that
        the soak goes on."""
        self.steps += 1
        if self.sample_every and self.steps % self.sample_every == 0:
            self.say(f"  after {self.steps} steps: private bytes {self.private_bytes()} KiB")
        try:
            self.app.step(what, *commands)
        except AssertionError as failure:
            self.failures.append(str(failure))
            self.app.drive.ok("box-ok")

    def write(self, mark, what, *sent):
        try:
            self.app.expect_sent(mark, what, *sent)
        except AssertionError as failure:
            self.failures.append(str(failure).split("\n")[0] + f": {self.app.sent_since(mark)}")

    def report(self, name, reads, began):
        self.say(f"  {name}: {reads} reads in {time.monotonic() - began:.0f} s, "
                 f"private bytes {self.private_bytes()} KiB")

    def busy_tone(self, reads):
        w, shown, began = self.w, ["025", "050", "010", "040", "004"], time.monotonic()
        self.app.select_page(0)
        for i in range(1, reads + 1):
            if k := variation(i):
                shown = [f"{(int(v) + 13 * k + j) % 200 + 1:03d}" for j, v in enumerate(shown)]
                mark = self.app.modem.mark()
                self.step(f"busy-tone write {k}", *[("type", w, f, v) for f, v in zip(BUSY_TONE, shown)],
                          ("click", w, "SpeedButton5"))
                self.write(mark, f"busy-tone write {k}", *[f"ATS{203 + j}={v}" for j, v in enumerate(shown)],
                           "AT&w&w0&w1", "ATZ")
            self.step(f"busy-tone read {i}", ("type", w, BUSY_TONE[i % 5], "---"), ("click", w, "SpeedButton4"),
                      ("wait-values", w, 30, "|".join(shown), *BUSY_TONE))
            if i == 1:
                self.memory_first = self.memory()
        self.report("busy tone", reads, began)

    def bit_registers(self, reads):
        w, s216, s218, began = self.w, "10100000", "00000000", time.monotonic()
        self.app.select_page(2)
        for i in range(1, reads + 1):
            if k := variation(i):
                x, y = k % 8, (k + 3) % 8
                s216, s218 = flip_bit(s216, x), flip_bit(s218, y)
                mark = self.app.modem.mark()
                self.step(f"bit registers write {k}", ("toggle", w, "CheckListBox1", x),
                          ("toggle", w, "CheckListBox2", y), ("click", w, "SpeedButton2"))
                self.write(mark, f"bit registers write {k}", f"ATS216={bits_value(s216)}S218={bits_value(s218)}",
                           "at&w&w0&w1")
            self.step(f"bit registers read {i}", ("toggle", w, "CheckListBox1", i % 8), ("click", w, "Button1"),
                      ("wait-values", w, 30, f"{s216}|{s218}", "CheckListBox1", "CheckListBox2"))
        self.report("bit registers", reads, began)

    def transmit_level(self, reads):
        w, p, began = self.w, 13, time.monotonic()
        self.app.select_page(1)
        for i in range(1, reads + 1):
            if k := variation(i):
                p = 3 + (k * 7 + 3) % 18
                mark = self.app.modem.mark()
                self.step(f"level write {k}", *slider_keys(w, "RxSlider1", p, 3), ("click", w, "SpeedButton13"))
                self.write(mark, f"level write {k}", f"ATS91={23 - p}", "at&w&w0&w1")
            away = "END" if p == 3 else "HOME"
            self.step(f"level read {i}", ("key", w, "RxSlider1", away), ("click", w, "SpeedButton12"),
                      ("wait-values", w, 30, f"-{23 - p}|{p}", "RxLabel1", "RxSlider1"))
        self.report("transmit level", reads, began)

    def line_adaptation(self, reads):
        w, a, b, began = self.w, 7, 3, time.monotonic()
        self.app.select_page(1)
        for i in range(1, reads + 1):
            if k := variation(i):
                a, b = 1 + (k * 4) % 9, 1 + (k * 7 + 1) % 9
                mark = self.app.modem.mark()
                self.step(f"line adaptation write {k}", *slider_keys(w, "RxSlider2", a, 1),
                          *slider_keys(w, "RxSlider3", b, 1), ("click", w, "SpeedButton16"))
                self.write(mark, f"line adaptation write {k}", f"ATS215={a + 16 * b}", "at&w&w0&w1")
            away = "END" if a == 1 else "HOME"
            self.step(f"line adaptation read {i}", ("key", w, "RxSlider2", away), ("click", w, "SpeedButton15"),
                      ("wait-values", w, 30, f"{a}|{b}", "RxSlider2", "RxSlider3"))
        self.report("line adaptation", reads, began)

    def speed(self, reads):
        w, began = self.w, time.monotonic()
        carrier, automatic, transmit, symbol = "V92", "Да", "48000", "3429"
        transmits = ["33600", "28000", "31200", "42000", "48000"]
        symbols = ["2400", "2800", "3000", "3200", "3429"]
        self.app.select_page(3)
        for i in range(1, reads + 1):
            if k := variation(i):
                carrier, automatic = ("V90" if k % 2 else "V92"), ["Нет", "Да"][k // 2 % 2]
                transmit, s = transmits[k % 5], (k + 2) % 5
                symbol = symbols[s]
                mark = self.app.modem.mark()
                self.step(f"speed write {k}", ("pick-text", w, "ComboBox2", carrier),
                          ("pick-text", w, "ComboBox9", automatic), ("pick-text", w, "ComboBox6", transmit),
                          ("pick-text", w, "ComboBox8", symbol), ("click", w, "SpeedButton10"))
                self.write(mark, f"speed write {k}", f"AT+MS={carrier},{k // 2 % 2},300,{transmit},300,56000",
                           "at&w&w0&w1", f"ATS210={s + 1}", "at&w&w0&w1")
            self.step(f"speed read {i}", ("pick", w, "ComboBox2", 0), ("click", w, "SpeedButton9"),
                      ("wait-values", w, 30, f"{carrier}|{automatic}|300|56000|300|{transmit}|{symbol}",
                       *SPEED_LISTS))
        self.report("speed", reads, began)

    def identification(self, reads):
        """The identification stores the edition it found; the stored one is removed before each."""
        w, began = self.w, time.monotonic()
        self.app.select_page(4)
        for i in range(1, reads + 1):
            self.step(f"identification {i}", ("forget-setting", "version"), ("click", w, "SpeedButton6"),
                      ("wait-setting", "version", "65a", 30),
                      ("wait-values", w, 10, "производства компании Olvix|серия ZOLT2|русская версия beta 65а",
                       "Label15", "Label16", "Label17"))
        self.report("identification", reads, began)


def test_soak(app, say, request):
    reads = request.config.getoption("--soak-reads")
    soak = Soak(app, say, request.config.getoption("--soak-sample-every"))
    began = time.monotonic()
    say(f"\n  soak, {reads} reads of each page")
    app.prefix.seed_settings(1)
    app.modem.start("--edition", "65a")
    app.start()
    for page in (soak.busy_tone, soak.bit_registers, soak.transmit_level, soak.line_adaptation, soak.speed,
                 soak.identification):
        page(reads)
    last = soak.memory()
    growth = soak.private_bytes(last) - soak.private_bytes(soak.memory_first)
    say(f"  soak: {6 * reads} reads in {time.monotonic() - began:.0f} s, {len(soak.failures)} failure(s)")
    say(f"  memory after the first read: {soak.memory_first}")
    say(f"  memory after the last read:  {last}")
    say(f"  private bytes grew by {growth} KiB")
    assert soak.failures == []
    assert growth < GROWTH_LIMIT_KIB, f"the private bytes grew by {growth} KiB"
    assert app.box(0) is None, "an error box is open after the soak"
    app.close()
