"""Fixtures of the scenarios under Wine: the prefix (one per run) with COM1 on the simulated
modem's link, the driver kept running in it, and for each scenario the simulated modem and
the program, ended whatever the scenario did."""
import pathlib
import shutil
import time

import pytest

from harness import wine
from harness.app import App
from harness.driver import Driver
from harness.modem import Modem
from harness.program import Program


@pytest.fixture(scope="session")
def wine_out(request):
    out = request.config.getoption("--wine-out")
    locale = request.config.getoption("--wine-locale") or ""
    out = wine.ROOT / (out or ("build/wine-ru" if locale.startswith("ru") else "build/wine"))
    shutil.rmtree(out, ignore_errors=True)
    (out / "screenshots").mkdir(parents=True)
    return out


@pytest.fixture(scope="session")
def program_exe(windows_build):
    exe = windows_build / "src/platform/win32/linetrim.exe"
    assert exe.exists(), f"no program {exe}"
    return exe


@pytest.fixture(scope="session")
def prefix(request, display, program_exe, wine_out, say):
    began = time.monotonic()
    loader = wine.loader_for(program_exe)
    made = wine.Prefix(wine_out / "prefix", wine_out / "modem.pty", loader, display.name,
                       request.config.getoption("--wine-locale"), wine_out)
    say(f"\nwine prefix ready in {time.monotonic() - began:.0f} s: {program_exe.parents[3].name} "
        f"under {pathlib.Path(loader).name}, locale {made.locale}")
    yield made
    made.stop()


@pytest.fixture(scope="session")
def driver(prefix, windows_build, wine_out):
    with open(wine_out / "ltdrive.log", "ab") as log:
        running = Driver(prefix, windows_build / "tests/wine/ltdrive.exe", log)
        yield running
        running.stop()


@pytest.fixture
def modem(request, wine_out):
    zoltsim = (wine.ROOT / request.config.getoption("--zoltsim")).resolve()
    simulated = Modem(zoltsim, wine_out / "modem.pty", wine_out / "zoltsim.log")
    yield simulated
    simulated.stop()


@pytest.fixture
def app(prefix, driver, modem, program_exe, wine_out):
    """The program (started by the scenario, after its settings and modem), ended after it."""
    program = Program(prefix, program_exe, driver, wine.constant("MAIN_CAPTION"), wine_out / "app.log")
    yield App(program, driver, modem, prefix, wine_out / "screenshots")
    program.stop()
