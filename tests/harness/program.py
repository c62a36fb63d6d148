"""The program under test, started by its loader in the prefix: its process, its main
window (through the driver) and its end."""
import os
import signal

from harness.waiting import wait_until


class Program:
    def __init__(self, prefix, exe, driver, caption, log):
        self.prefix = prefix
        self.exe = exe
        self.driver = driver
        self.caption = caption
        self.log = log
        self.process = None

    def start(self):
        """Starts the program; fails unless its main window appears."""
        with open(self.log, "ab") as log:
            self.process = self.prefix.start(self.exe, stdout=log, stderr=log)
        assert self.driver.ok("wait-window", self.caption, 60), "the main window did not appear"
        return self

    @property
    def pid(self):
        return self.process.pid

    def gone(self):
        """The process has ended (a hidden window or a process stuck in its exit is not)."""
        return self.process.poll() is not None

    def wait_gone(self, seconds=20):
        return wait_until(seconds, self.gone)

    def stop(self):
        if self.process and not self.gone():
            os.kill(self.process.pid, signal.SIGKILL)
            self.process.wait()
