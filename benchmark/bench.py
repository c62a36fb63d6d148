"""The benchmark: the program (the i686 release, or the x86_64 build where 32-bit programs
cannot run) under Wine on the simulated modem (zoltsim, which stamps every byte it receives
on the monotonic clock), beside tio sending the same script with its 50 ms output delay and
beside a minimal Win32 window program.
    benchmark/bench.py WINDOWS_BUILD_DIR NATIVE_BUILD_DIR OUT_DIR
Environment: BENCH_ROUNDS (busy-tone reads, each beside one of tio; default 5), BENCH_IDLE_S
(default 60), BENCH_READS (reads for the memory figure; default 100), BENCH_STARTS (starts of
each program; default 5), BENCH_IDLE_ONLY=1 (the idle figure alone).
Prints the figures; the raw samples stay in OUT_DIR/figures.json beside zoltsim's logs."""
import collections
import contextlib
import json
import os
import pathlib
import platform
import shutil
import subprocess
import sys
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "tests"))

from harness import pacing, proc, wine  # noqa: E402
from harness.app import App  # noqa: E402
from harness.display import Display  # noqa: E402
from harness.driver import Driver, finish  # noqa: E402
from harness.modem import Modem  # noqa: E402
from harness.program import Program  # noqa: E402
from harness.signals import end_cleanly_on_sigterm  # noqa: E402
from harness.waiting import wait_until  # noqa: E402

BUSY_SCRIPT = "ATE1\rATS203?\rATS204?\rATS205?\rATS206?\rATS207?\r"


def now_ms():
    """CLOCK_MONOTONIC in milliseconds, the clock of zoltsim's --monotonic-log."""
    return time.monotonic() * 1000


def load():
    return " ".join(pathlib.Path("/proc/loadavg").read_text().split()[:3])


def memory(pid):
    return proc.status_fields(pid) + " (KiB)"


class Bench:
    def __init__(self, build, prefix, drive, program, modem, peer, out):
        self.build = build
        self.prefix = prefix
        self.drive = drive
        self.program = program
        self.w = program.caption
        self.modem = modem
        self.peer = peer
        self.out = out
        self.floor = build / "benchmark/floor_window.exe"
        self.samples = collections.defaultdict(list)
        self.app = App(program, drive, modem, prefix, out)

    def server_ticks(self):
        """The prefix's wineserver: its helper work for the program's waits is spent there."""
        return proc.ticks(self.prefix.server.pid)

    def record_script(self, name, modem, mark, chars):
        """The gaps and the span of the CHARS bytes after MARK, added to NAME's figures;
        the stamp of the last byte."""
        times = modem.times()[mark:mark + chars]
        self.samples[f"gaps-{name}"] += pacing.gaps(times)
        self.samples[f"spans-{name}"].append((times[-1] - times[0], chars - 1))
        return times[-1]

    def startup(self, program, caption):
        """Ms from starting the program to its window being shown."""
        watch = self.drive.stream("watch-window", caption, 60)
        next(watch)  # "ready"
        began = now_ms()
        started = self.prefix.start(program, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        stamp, seen = next(watch, (None, ""))
        assert finish(watch).ok and seen.startswith("seen"), f"{caption} was not seen"
        self.drive.ask("close", caption)
        started.wait()
        return stamp * 1000 - began

    def read_script(self, name, page, button, chars, field=None, value=None):
        """One read, its pacing, its CPU from the click to the last character and, with a
        field, the time from the last character to the field showing the value."""
        self.app.select_page(page)
        if field:
            self.drive("type", self.w, field, "")
        pid = self.program.pid
        mark = self.modem.mark()
        c0, s0, t0 = proc.ticks(pid), self.server_ticks(), now_ms()
        self.drive("click", self.w, button)
        watch = None
        if field:
            watch = self.drive.stream("watch-text", self.w, field, value, 30)
            ready, _ = next(watch)
        assert wait_until(30, lambda: self.modem.mark() >= mark + chars, 0.01), f"{name}: the script did not arrive"
        c1, s1, t1 = proc.ticks(pid), self.server_ticks(), now_ms()
        last = self.record_script(name, self.modem, mark, chars)
        self.samples[f"cpu-{name}"].append((c1 - c0, s1 - s0, t1 - t0))
        if watch:
            seen, line = next(watch, (None, ""))
            assert finish(watch).ok and line.startswith("seen"), f"{name}: {field} did not show {value}"
            if ready * 1000 > last:
                print("late watcher", file=sys.stderr)
            else:
                self.samples[f"latency-{name}"].append((seen * 1000 - last, float(line.split()[1])))
        # The send goes on 50 ms after the last character; the next step waits for it.
        wait_until(10, lambda: self.drive.ok("state", self.w, button), 0.01)

    def peer_read(self):
        """The same busy-tone script through tio with its 50 ms output delay."""
        tio = subprocess.Popen(["tio", "-o", "50", "--mute", str(self.peer.link)], stdin=subprocess.PIPE,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.5)  # tio opens the port; nothing to wait on from outside
        mark = self.peer.mark()
        c0, t0 = proc.ticks(tio.pid), now_ms()
        tio.stdin.write(BUSY_SCRIPT.encode())
        tio.stdin.flush()
        arrived = wait_until(30, lambda: self.peer.mark() >= mark + len(BUSY_SCRIPT), 0.01)
        c1, t1 = proc.ticks(tio.pid), now_ms()
        tio.stdin.close()
        tio.wait()
        assert arrived, "tio: the script did not arrive"
        self.record_script("tio", self.peer, mark, len(BUSY_SCRIPT))
        self.samples["cpu-tio"].append((c1 - c0, 0, t1 - t0))

    def cpu_line(self, name):
        app, server, ms = (sum(column) for column in zip(*self.samples[f"cpu-{name}"]))
        share = lambda t: t * 1000 / proc.HZ / ms * 100  # noqa: E731
        return (f"{name:<10} CPU {share(app):.2f} % of a core (wineserver {share(server):.2f} %) "
                f"over {ms / 1000:.1f} s")

    def idle(self, seconds):
        """The whole process over SECONDS with the port open, by thread."""
        pid = self.program.pid
        before = {t: proc.ticks(pid, t) for t in proc.threads(pid)}
        c0, s0, t0 = proc.ticks(pid), self.server_ticks(), now_ms()
        time.sleep(seconds)  # the measuring window itself, not a wait for a condition
        c1, s1, t1 = proc.ticks(pid), self.server_ticks(), now_ms()
        alive = {t: proc.ticks(pid, t) - ticks for t, ticks in before.items() if t in proc.threads(pid)}
        live, main = sum(alive.values()), alive.get(str(pid), 0)
        others = "".join(f" {t}:{d}" for t, d in alive.items() if t != str(pid) and d > 0)
        share = lambda t: t * 1000 / proc.HZ / (t1 - t0) * 100  # noqa: E731
        return (f"idle       CPU {share(c1 - c0):.2f} % of a core over {(t1 - t0) / 1000:.0f} s: user-interface "
                f"thread {share(main):.2f} %, threads that lived through it (ticks:{others}) "
                f"{share(live - main):.2f} %, threads that came and went {share(c1 - c0 - live):.2f} %; "
                f"wineserver {share(s1 - s0):.2f} %")

    def run(self, rounds, idle_s, reads, starts, idle_only):
        loader = pathlib.Path(self.prefix.loader)
        version = subprocess.run([str(loader), "--version"], capture_output=True, text=True).stdout.strip()
        cpu = next((line.split(": ", 1)[1] for line in pathlib.Path("/proc/cpuinfo").read_text().splitlines()
                    if line.startswith("model name")), "?")
        print(f"machine: {os.cpu_count()} cores, {cpu}, {platform.release()}, {version} ({loader.name})")
        print(f"load before: {load()}")
        print("sizes: " + ";".join(f"{p.relative_to(self.build)} {p.stat().st_size} bytes"
                                   for p in (self.program.exe, self.floor)))
        if not idle_only and starts > 0:
            for _ in range(starts):
                self.samples["startup"].append((self.startup(self.floor, "Floor window"), self.startup(self.program.exe, self.w)))
            floors, programs = zip(*self.samples["startup"])
            floor, program = sum(floors) / len(floors), sum(programs) / len(programs)
            print(f"start-up   mean over {starts} starts: floor {floor:.0f} ms, program {program:.0f} ms: "
                  f"{program / floor:.2f} x the floor")
            for n, (f, p) in enumerate(self.samples["startup"], 1):
                print(f"           run {n}: floor {f:.0f} ms, program {p:.0f} ms")

        self.program.start()
        print(f"memory after start: {memory(self.program.pid)}")
        if idle_only:
            self.app.select_page(0)
            self.drive("click", self.w, "SpeedButton4")
            self.drive("wait-text", self.w, "Edit6", "004", 30)
        else:
            for _ in range(rounds):
                self.read_script("busy", 0, "SpeedButton4", 45, "Edit6", "004")
                self.peer_read()
            self.read_script("levels", 1, "SpeedButton12", 19)
            self.read_script("adapt", 1, "SpeedButton15", 20)
            self.read_script("bits", 2, "Button1", 21)
            self.read_script("speed", 3, "SpeedButton9", 20)
            self.read_script("identify", 4, "SpeedButton6", 10)
            for name in ("busy", "tio", "levels", "adapt", "bits", "speed", "identify"):
                print(pacing.summary(name, self.samples[f"gaps-{name}"], self.samples[f"spans-{name}"]))
            print(self.cpu_line("busy"))
            print(self.cpu_line("tio"))
            latency = self.samples["latency-busy"]
            seen = [s for s, _ in latency]
            print(f"latency    last character to the fields showing the values: mean {sum(seen) / len(seen):.1f} ms, "
                  f"min {min(seen):.1f}, max {max(seen):.1f} over {len(seen)} reads (the look that saw it took "
                  f"{sum(look for _, look in latency) / len(latency):.1f} ms on average)")
        print(f"memory after the first reads: {memory(self.program.pid)}")
        print(self.idle(idle_s))
        if not idle_only:
            self.app.select_page(1)
            for _ in range(reads):
                mark = self.modem.mark()
                self.drive("click", self.w, "SpeedButton12")
                if not wait_until(30, lambda: self.modem.mark() >= mark + 19, 0.01):
                    print("a read did not arrive", file=sys.stderr)
                    break
            wait_until(10, lambda: self.drive.ok("state", self.w, "SpeedButton12"), 0.01)
            print(f"memory after {reads} more reads: {memory(self.program.pid)}")
        (self.out / "figures.json").write_text(json.dumps(self.samples, indent=1))


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: benchmark/bench.py WINDOWS_BUILD_DIR NATIVE_BUILD_DIR OUT_DIR")
    build, native, out = (pathlib.Path(a).resolve() for a in sys.argv[1:])
    exe, driver_exe, zoltsim = (build / "src/platform/win32/linetrim.exe", build / "tests/wine/ltdrive.exe",
                                native / "sim/zoltsim")
    for f in (exe, driver_exe, zoltsim, build / "benchmark/floor_window.exe"):
        if not f.exists():
            sys.exit(f"missing {f}")
    shutil.rmtree(out, ignore_errors=True)
    out.mkdir(parents=True)
    end_cleanly_on_sigterm()
    began = time.monotonic()
    # Everything started is ended in the reverse order, whatever happens.
    with contextlib.ExitStack() as started:
        display = Display().start()
        started.callback(display.stop)
        modem = Modem(zoltsim, out / "modem.pty", out / "zoltsim.log", monotonic=True).start()
        started.callback(modem.stop)
        peer = Modem(zoltsim, out / "peer.pty", out / "zoltsim-peer.log", monotonic=True).start()
        started.callback(peer.stop)
        prefix = wine.Prefix(out / "prefix", out / "modem.pty", wine.loader_for(exe), display.name, None, out)
        started.callback(prefix.stop)
        prefix.seed_settings(1)
        drive = Driver(prefix, driver_exe, started.enter_context(open(out / "ltdrive.log", "ab")))
        started.callback(drive.stop)
        program = Program(prefix, exe, drive, wine.constant("MAIN_CAPTION"), out / "app.log")
        started.callback(program.stop)
        Bench(build, prefix, drive, program, modem, peer, out).run(
            int(os.environ.get("BENCH_ROUNDS", 5)), float(os.environ.get("BENCH_IDLE_S", 60)),
            int(os.environ.get("BENCH_READS", 100)), int(os.environ.get("BENCH_STARTS", 5)),
            bool(os.environ.get("BENCH_IDLE_ONLY")))
    print(f"load after: {load()}; {time.monotonic() - began:.0f} s")


if __name__ == "__main__":
    main()
