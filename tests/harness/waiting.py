"""Waiting for a condition with a limit; nothing in the harness sleeps a fixed time for one."""
import time


def wait_until(seconds, condition, every=0.05):
    """Polls condition() until it is true (returns True) or seconds have passed (False)."""
    end = time.monotonic() + seconds
    while True:
        if condition():
            return True
        if time.monotonic() >= end:
            return False
        time.sleep(every)
