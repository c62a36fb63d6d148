"""The Wine desktop as X shows it: screenshots, cut to a window's rectangle as the driver
reads it, and the real mouse pointer."""
import subprocess
import time


def desktop_window(env):
    found = subprocess.run(["xdotool", "search", "--name", "Wine desktop"], env=env,
                           capture_output=True, text=True).stdout.split()
    assert found, "no Wine desktop window"
    return found[0]


def shoot(env, path, rect=None, settle_s=10):
    """The whole Wine desktop, or the part RECT ("left top width height" in its coordinates),
    once it has settled: a window just shown or changed paints a moment later, so the picture
    is taken when two grabs in a row are alike (or after SETTLE_S)."""
    window = desktop_window(env)
    grab = lambda: subprocess.run(["import", "-window", window, "png:-"], env=env,
                                  capture_output=True, check=True).stdout
    end = time.monotonic() + settle_s
    last, now = None, grab()
    while now != last and time.monotonic() < end:
        time.sleep(0.2)
        last, now = now, grab()
    grab = now
    crop = []
    if rect:
        x, y, w, h = rect.split()
        crop = ["-crop", f"{w}x{h}+{x}+{y}", "+repage"]
    subprocess.run(["convert", "-", *crop, str(path)], input=grab, env=env, check=True)


def mouse(env, action, x, y):
    """The pointer moved to X, Y (Windows screen coordinates: the desktop's own), then the
    left button pressed ("down"), released ("up") or neither ("move")."""
    subprocess.run(["xdotool", "mousemove", "--window", desktop_window(env), str(x), str(y)], env=env, check=True)
    if action != "move":
        subprocess.run(["xdotool", "mouse" + action, "1"], env=env, check=True)


def keys(env, *names):
    """Keys pressed and released on the real keyboard, one after another (xdotool's names:
    "Tab", "shift+Tab", "ctrl+Next", "space", "Return"), with the X input focus on the Wine
    desktop: Wine hands them to the window in front, as a person typing there."""
    subprocess.run(["xdotool", "windowfocus", desktop_window(env)], env=env, check=True)
    subprocess.run(["xdotool", "key", *names], env=env, check=True)
