"""The X display the Wine windows live on: the caller's, or a virtual X server of our own."""
import os
import subprocess


class Display:
    def __init__(self):
        self.process = None
        self.name = os.environ.get("DISPLAY")

    def start(self):
        if self.name:
            return self
        # Xvfb picks a free display number itself and writes it to the pipe once it listens.
        read, write = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            pass_fds=[write], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as answer:
            number = answer.readline().strip()
        if not number:
            self.stop()
            raise RuntimeError("Xvfb did not start")
        self.name = ":" + number
        return self

    def stop(self):
        if self.process:
            self.process.kill()
            self.process.wait()
            self.process = None
