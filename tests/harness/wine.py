"""A Wine prefix for the harness. Its set-up, its registry seeds and the choice of loader are
scripts/wine.sh's (shared with ./run): this module calls those functions and keeps the
environment they leave, and runs the prefix's server for as long as the harness uses it."""
import os
import pathlib
import subprocess
import tempfile

ROOT = pathlib.Path(__file__).resolve().parents[2]


def wine_sh(script, *args, env=None, check=True, input=None):
    """Runs a line of bash with scripts/lib.sh and scripts/wine.sh loaded; "$1"... are args."""
    return subprocess.run(
        ["bash", "-c", f". scripts/lib.sh; . scripts/wine.sh; {script}", "wine.sh", *map(str, args)],
        cwd=ROOT, env=env, input=input, capture_output=True, text=True, check=check)


def constant(name):
    """A constant of scripts/wine.sh, such as MAIN_CAPTION."""
    return wine_sh(f'printf %s "${name}"').stdout


def windows_build(chosen=None):
    """The Windows build to test: CHOSEN, or the one select_windows_target chooses for this
    machine (the release where 32-bit programs run)."""
    build = chosen or wine_sh('select_windows_target >&2; printf %s "$WIN_BUILD"').stdout
    return (ROOT / build).resolve()


def loader_for(exe):
    return wine_sh('loader_for "$1"', exe).stdout.strip()


class Prefix:
    """A prefix in DIR whose COM1 opens LINK (if given), for programs run by LOADER, with its own server
    kept running: the programs, the driver and the registry tools started one after another
    need not start Wine afresh, and the server's reports (it dumps its objects when a
    pseudo-terminal it holds hangs up) go to a log of their own."""

    def __init__(self, directory, link, loader, display, locale, log_dir):
        self.directory = pathlib.Path(directory)
        self.loader = loader
        env = dict(os.environ, DISPLAY=display, WINE_LOADER=loader)
        env.pop("WINEPREFIX", None)
        if locale:
            env["WINE_LOCALE"] = locale
        com1 = ' && map_com1 "$2"' if link else ""
        ready = wine_sh(f'use_prefix "$1"{com1} && env -0', self.directory, link or "", env=env)
        self.env = dict(item.split("=", 1) for item in ready.stdout.split("\0") if "=" in item)
        self.server_log = open(pathlib.Path(log_dir) / "wineserver.log", "ab")
        self.server = subprocess.Popen(["wineserver", "-f", "-p"], env=self.env,
                                       stdout=self.server_log, stderr=subprocess.STDOUT)
        # The first program of a new server starts the prefix's services, which inherit its
        # output and outlive it: started here, they hold the log rather than someone's pipe.
        self.start("reg", "query", "HKLM\\Software\\Wine", "/ve", stdout=self.server_log,
                   stderr=subprocess.STDOUT).wait()

    @property
    def locale(self):
        return self.env["LC_ALL"]

    def start(self, *command, **popen):
        """A Windows program of the prefix in the background; its process is the program's."""
        return subprocess.Popen([self.loader, *map(str, command)], env=self.env, **popen)

    def run(self, *command):
        """Runs a Windows program to its end; its output as subprocess.run captures it. The
        output goes through files, which a helper process it started may hold open."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            done = subprocess.run([self.loader, *map(str, command)], env=self.env, stdout=out, stderr=err)
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(done.args, done.returncode, out.read(), err.read())

    def shell(self, script, *args, input=None):
        return wine_sh(script, *args, env=self.env, input=input)

    def import_reg(self, text):
        self.shell("import_reg", input=text)

    def seed_settings(self, port):
        self.shell('seed_settings "$1"', port)

    def set_dpi(self, dpi):
        """The screen density the programs started from now on see, as Windows' display
        settings set it."""
        self.import_reg(f'[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:{dpi:08x}\n')

    def reg_value(self, key, name):
        """The data of one registry value as reg prints it, or None."""
        listed = self.run("reg", "query", key, "/v", name)
        if listed.returncode:
            return None
        for line in listed.stdout.decode("utf-8", "replace").splitlines():
            fields = line.strip().split(None, 2)
            if len(fields) >= 2 and fields[0] == name and fields[1].startswith("REG_"):
                return fields[2].strip() if len(fields) == 3 else ""
        return None

    def reg_delete(self, key):
        self.run("reg", "delete", key, "/f")

    def stop(self):
        # This prefix's server only: it ends every Wine process of the prefix with it.
        subprocess.run(["wineserver", "-k"], env=self.env, capture_output=True)
        self.server.wait()
        self.server_log.close()
