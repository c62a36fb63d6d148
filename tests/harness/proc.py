"""What Linux tells of a process: its threads, the CPU they spent, its memory."""
import os
import pathlib

HZ = os.sysconf("SC_CLK_TCK")


def ticks(pid, thread=None):
    """User and system clock ticks spent by a process (or one of its threads); 0 once gone."""
    path = pathlib.Path(f"/proc/{pid}") / (f"task/{thread}/stat" if thread else "stat")
    try:
        fields = path.read_text().rsplit(")", 1)[1].split()
    except (FileNotFoundError, ProcessLookupError):
        return 0
    return int(fields[11]) + int(fields[12])  # utime and stime, fields 14 and 15 of stat


def threads(pid):
    try:
        return set(os.listdir(f"/proc/{pid}/task"))
    except FileNotFoundError:
        return set()


def status_fields(pid, names=("VmRSS", "RssAnon")):
    """Those lines of /proc/PID/status, as "NAME=VALUE" (KiB)."""
    found = []
    for line in pathlib.Path(f"/proc/{pid}/status").read_text().splitlines():
        name, _, rest = line.partition(":")
        if name in names:
            found.append(f"{name}={rest.split()[0]}")
    return " ".join(found)


def per_mille(spent_ticks, seconds):
    """Ticks spent over SECONDS, in per mille of a core."""
    return spent_ticks * 1000 / HZ / seconds
