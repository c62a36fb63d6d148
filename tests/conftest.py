"""Options and shared fixtures of the tests under Wine (tests/wine, tests/win32): the Windows
build, the display; the tests of the harness itself need none of them."""
import pytest

# The harness's checks report what they compared, as the tests' own asserts do.
pytest.register_assert_rewrite("harness")

from harness import wine  # noqa: E402
from harness.display import Display  # noqa: E402
from harness.signals import end_cleanly_on_sigterm  # noqa: E402


def pytest_configure(config):
    end_cleanly_on_sigterm()


def pytest_addoption(parser):
    group = parser.getgroup("wine", "the tests under Wine")
    group.addoption("--windows-build", help="the Windows build to test (default: the one "
                    "scripts/wine.sh's select_windows_target chooses for this machine)")
    group.addoption("--zoltsim", default="build/native/sim/zoltsim", help="the simulated modem")
    group.addoption("--wine-out", help="where the prefixes, logs and screenshots go "
                    "(default: build/wine, build/wine-ru on a Russian system)")
    group.addoption("--wine-locale", help="the system's locale, such as ru_RU.UTF-8 for a "
                    "Russian system (default C.UTF-8: English, code page 1252)")
    group.addoption("--soak-reads", type=int, default=3, help="consecutive reads of each page in the soak")
    group.addoption("--soak-sample-every", type=int, default=0,
                    help="print the private bytes every N steps of the soak (0: never)")


@pytest.fixture(scope="session")
def windows_build(request):
    return wine.windows_build(request.config.getoption("--windows-build"))


@pytest.fixture(scope="session")
def say(request):
    """Prints a line of figures as the run goes (pytest keeps a test's output otherwise)."""
    capture = request.config.pluginmanager.getplugin("capturemanager")

    def say(line):
        with capture.global_and_fixture_disabled():
            print(line, flush=True)
    return say


@pytest.fixture(scope="session")
def display():
    shown = Display().start()
    yield shown
    shown.stop()
