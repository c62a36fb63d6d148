"""The Win32 backend's own tests: every console test program of the Windows build's
tests/win32 under Wine, with the loader its machine type needs, in a prefix of their own."""
import pytest

from harness import wine


def pytest_generate_tests(metafunc):
    if "console_test" in metafunc.fixturenames:
        build = metafunc.config.getoption("--windows-build") or \
            wine.wine_sh('select_windows_target >&2; printf %s "$WIN_BUILD"').stdout
        programs = sorted((wine.ROOT / build / "tests/win32").rglob("*_test.exe"))
        metafunc.parametrize("console_test", programs or [None], ids=lambda p: p.name if p else "none")


@pytest.fixture(scope="module")
def console_prefix(display, windows_build):
    out = wine.ROOT / "build/wine-console"
    out.mkdir(parents=True, exist_ok=True)
    any_program = next((windows_build / "tests/win32").rglob("*_test.exe"))
    made = wine.Prefix(out / "prefix", None, wine.loader_for(any_program), display.name, None, out)
    yield made
    made.stop()


def test_console_program(console_test, console_prefix, say):
    assert console_test, "no test programs in the build's tests/win32"
    ran = console_prefix.run(console_test)
    output = ran.stdout.decode("utf-8", "replace")
    say(f"\n== {console_test.name}\n{output.rstrip()}")
    assert ran.returncode == 0, f"{console_test.name} failed:\n{output}\n{ran.stderr.decode('utf-8', 'replace')}"
