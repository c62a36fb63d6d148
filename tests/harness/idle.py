"""The CPU a running program spends while it should be idle."""
import time

from harness import proc


def measure_idle(pid, threads=(), seconds=4):
    """Per mille of a core over SECONDS: (the given threads, all threads but the user
    interface thread: the system's own helper threads for the port's waits, which come
    and go, included)."""
    def mine():
        return sum(proc.ticks(pid, t) for t in threads)

    def others():
        return proc.ticks(pid) - proc.ticks(pid, pid)

    mine0, others0, began = mine(), others(), time.monotonic()
    time.sleep(seconds)  # a measuring window, not a wait for a condition
    window = time.monotonic() - began
    return proc.per_mille(mine() - mine0, window), proc.per_mille(others() - others0, window)
