"""The automation driver ltdrive, kept running in a prefix (ltdrive --stdin): a command is a
line of tab-separated arguments, answered by its output lines and a status line (0x1E, the
exit code, and after a space why it failed)."""
import os
import select
import subprocess
import time

STATUS = "\x1e"


class DriverFailed(AssertionError):
    """A driver command that failed; the message is the driver's own reason."""


class Answer:
    def __init__(self, status, lines, why, stamps):
        self.status = status
        self.lines = lines
        self.why = why
        self.stamps = stamps  # time.monotonic() when each line arrived

    @property
    def text(self):
        return "\n".join(self.lines)

    @property
    def ok(self):
        return self.status == 0


def finish(stream):
    """The rest of a command's output consumed; its Answer."""
    while True:
        try:
            next(stream)
        except StopIteration as end:
            return end.value


class Driver:
    # Longer than any wait a command is given (a minute at most): the driver itself hangs.
    HUNG_S = 120

    def __init__(self, prefix, exe, log):
        self.prefix = prefix
        self.exe = exe
        self.log = log
        self.process = None

    def _ensure_running(self):
        if self.process and self.process.poll() is None:
            return
        self.process = self.prefix.start(self.exe, "--stdin", stdin=subprocess.PIPE,
                                         stdout=subprocess.PIPE, stderr=self.log)
        self.pending = b""

    def stream(self, *command):
        """Runs one command, yielding (time.monotonic() on arrival, line) for each output line
        as it comes, so the caller can act between them; returns its Answer."""
        arguments = [str(a) for a in command]
        if any("\t" in a or "\n" in a for a in arguments):
            raise ValueError(f"a driver argument holds a tab or a line break: {arguments}")
        self._ensure_running()
        self.process.stdin.write(("\t".join(arguments) + "\n").encode())
        self.process.stdin.flush()
        deadline = time.monotonic() + self.HUNG_S
        lines, stamps = [], []
        while True:
            line = self._line(deadline, arguments)
            if line.startswith(STATUS):
                status, _, why = line[1:].partition(" ")
                return Answer(int(status), lines, why, stamps)
            lines.append(line)
            stamps.append(time.monotonic())
            yield stamps[-1], line

    def ask(self, *command):
        """Runs one command; its Answer, whatever its status."""
        return finish(self.stream(*command))

    def _line(self, deadline, command):
        out = self.process.stdout.fileno()
        while b"\n" not in self.pending:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([out], [], [], left)[0]:
                self.stop()
                raise DriverFailed(f"the driver did not answer {command}")
            chunk = os.read(out, 65536)
            if not chunk:
                self.process.wait()
                self.process = None
                raise DriverFailed(f"the driver ended during {command}")
            self.pending += chunk
        line, _, self.pending = self.pending.partition(b"\n")
        return line.decode("utf-8").rstrip("\r")

    def __call__(self, *command):
        """Runs one command that must succeed; its output, one string."""
        answer = self.ask(*command)
        if not answer.ok:
            raise DriverFailed(f"{' '.join(map(str, command))}: {answer.why or 'status %d' % answer.status}")
        return answer.text

    def ok(self, *command):
        return self.ask(*command).ok

    def stop(self):
        if self.process:
            self.process.kill()
            self.process.wait()
            self.process = None
