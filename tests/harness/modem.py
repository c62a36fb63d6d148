"""The simulated modem zoltsim on a pseudo-terminal reached through a fixed link, and its
log: one line per byte received, "MS BYTE 'CHAR'", MS its arrival in milliseconds."""
import pathlib
import subprocess

from harness.waiting import wait_until


def realtime_prefix():
    """Real-time priority where allowed, so that zoltsim's time stamps do not lag on a busy
    machine."""
    allowed = subprocess.run(["chrt", "-f", "10", "true"], capture_output=True).returncode == 0
    return ["chrt", "-f", "10"] if allowed else []


class Modem:
    def __init__(self, zoltsim, link, log, monotonic=False):
        self.zoltsim = zoltsim
        self.link = pathlib.Path(link)
        self.log = pathlib.Path(log)
        self.monotonic = monotonic  # stamps on CLOCK_MONOTONIC, as time.monotonic() reads it
        self.process = None

    def start(self, *options, fresh_log=True):
        """Starts zoltsim with its options (such as "--delay", 300); waits for its link."""
        if fresh_log:
            self.log.unlink(missing_ok=True)
        out = self.log.with_suffix(".out")
        command = [*realtime_prefix(), self.zoltsim, "--link", self.link, "--log", self.log]
        if self.monotonic:
            command.append("--monotonic-log")
        with open(out, "w") as sink:
            self.process = subprocess.Popen([*map(str, command), *map(str, options)],
                                            stdout=sink, stderr=subprocess.STDOUT)
        if not wait_until(10, lambda: out.read_text().startswith("PTY ")):
            self.stop()
            raise RuntimeError(f"zoltsim did not start: {out.read_text()}")
        return self

    def stop(self):
        """Ends zoltsim, which closes the far end of the port's pseudo-terminal and removes
        its link, so that the port cannot open a pseudo-terminal someone else gets next."""
        if self.process:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
            self.process = None

    def received(self):
        """(time in ms, byte) for every byte received so far."""
        if not self.log.exists():
            return []
        entries = []
        for line in self.log.read_text(errors="replace").splitlines():
            fields = line.split(" ", 2)
            if len(fields) >= 2:
                entries.append((float(fields[0]), int(fields[1])))
        return entries

    def mark(self):
        """The number of bytes received so far: what came after it is looked at later."""
        return len(self.received())

    def commands_since(self, mark):
        """The complete commands received after MARK (each ended by a carriage return) and
        what has arrived of the next one, if anything."""
        text = bytes(b for _, b in self.received()[mark:]).decode("latin-1")
        *complete, partial = text.split("\r")
        return complete, partial

    def times(self):
        return [t for t, _ in self.received()]
