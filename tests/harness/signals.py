"""A run ended from outside (SIGTERM, as `timeout` sends) ends as Ctrl-C does, so that the
teardown of what it started (Wine, zoltsim, Xvfb) still runs."""
import signal


def _interrupt(signum, frame):
    raise KeyboardInterrupt(f"signal {signum}")


def end_cleanly_on_sigterm():
    signal.signal(signal.SIGTERM, _interrupt)
