"""The Win32 backend's own tests: every console test program of the Windows build's
tests/win32 under Wine, with the loader its machine type needs, in a prefix of their own."""
import pytest

from harness import wine


def console_programs(build):
    return sorted((build / "tests/win32").rglob("*_test.exe"))


def pytest_generate_tests(metafunc):
    if "console_test" in metafunc.fixturenames:
        build = wine.windows_build(metafunc.config.getoption("--windows-build"))
        metafunc.parametrize("console_test", console_programs(build), ids=lambda p: p.name)


@pytest.fixture(scope="module")
def console_prefix(display, windows_build):
    programs = console_programs(windows_build)
    out = wine.ROOT / "build/wine-console"
    out.mkdir(parents=True, exist_ok=True)
    made = wine.Prefix(out / "prefix", None, wine.loader_for(programs[0]), display.name, None, out)
    yield made
    made.stop()


def test_console_program(console_test, console_prefix, say):
    ran = console_prefix.run(console_test)
    output = ran.stdout.decode("utf-8", "replace")
    say(f"\n== {console_test.name}\n{output.rstrip()}")
    assert ran.returncode == 0, f"{console_test.name} failed:\n{output}\n{ran.stderr.decode('utf-8', 'replace')}"
