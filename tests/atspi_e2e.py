#!/usr/bin/env python3
"""The application through a real screen-reader stack.

Starts, all private to this run: an X server (Xvfb), a D-Bus session bus,
the AT-SPI bus launcher with its accessibility bus and the AT-SPI registry,
a virtual unit on a loopback address of its own and the application
connected to it. Then, as a screen reader would, through pyatspi: finds the
page buttons, a fader and a knob by their accessible names, presses a page
button through the action interface, sets the knob and the fader through the
value interface and waits for the unit to receive the frames with those
values. Everything started here is ended before the script returns.

Exit codes: 0 passed, 1 failed, 77 skipped because a package is missing.

Xvfb runs with -noreset. Without it the server resets when its last client
disconnects, and the bus launcher is that client: it publishes the
accessibility bus address on the root window (AT_SPI_BUS) and closes its
display, so the reset removes the property again. Qt 5.15 as Debian ships it
then has to ask the session bus for the address asynchronously, and
Debian's fix for applications run as root (a11y_root.diff) queues a check
that can register the application on the not-yet-connected bus first: it
logs "Error in contacting registry ... Not connected to D-Bus server" and
stays invisible to screen readers. With the property in place Qt connects
before it registers, as on an X11 desktop session.
"""

import argparse
import ctypes
import ctypes.util
import importlib.util
import os
import select
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import time

SKIP = 77
PAGE_BUTTONS = ["In Level", "Gate", "Feedback", "In Filter", "Matrix", "Out Level", "Preset", "Settings", "Security"]
FADER = "IN A gain fader"
KNOB = "IN A gate threshold knob"
FADER_VALUE = -12.5   # dB, in the fader's range and exact in tenths
KNOB_VALUE = -40.0    # dB, in the gate threshold's range
LIBEXEC_DIRS = ["/usr/libexec", "/usr/lib/at-spi2-core", "/usr/lib/at-spi2"]


class Failure(Exception):
    pass


def log(message):
    print(message, flush=True)


def skip(message):
    log("SKIP: " + message)
    sys.exit(SKIP)


def find_libexec(name):
    for folder in LIBEXEC_DIRS:
        path = os.path.join(folder, name)
        if os.access(path, os.X_OK):
            return path
    return None


def check_packages():
    """Names the Debian package of every missing piece, or returns the tools."""
    missing = []
    tools = {}
    for name, package in [("Xvfb", "xvfb"), ("dbus-daemon", "dbus-daemon"), ("dbus-send", "dbus-bin")]:
        tools[name] = shutil.which(name)
        if not tools[name]:
            missing.append(package)
    for name in ["at-spi-bus-launcher", "at-spi2-registryd"]:
        tools[name] = find_libexec(name)
        if not tools[name]:
            missing.append("at-spi2-core")
    if importlib.util.find_spec("gi") is None or importlib.util.find_spec("pyatspi") is None:
        missing.append("python3-pyatspi (for %s)" % sys.executable)
    else:
        import gi
        try:
            gi.require_version("Atspi", "2.0")
        except ValueError:
            missing.append("gir1.2-atspi-2.0")
    if ctypes.util.find_library("X11") is None:
        missing.append("libx11-6")
    if missing:
        skip("missing packages: " + ", ".join(sorted(set(missing))) +
             " (scripts/setup.sh installs them)")
    return tools


def become_subreaper():
    # Daemons that detach (an activated registry, the launcher's bus) are
    # handed to this process when their parent goes, so they can be ended too.
    libc = ctypes.CDLL(None, use_errno=True)
    PR_SET_CHILD_SUBREAPER = 36
    libc.prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)


def children_of(pid):
    out = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % entry) as f:
                fields = f.read().rsplit(")", 1)[1].split()
        except OSError:
            continue
        if int(fields[1]) == pid:
            out.append(int(entry))
    return out


class Processes:
    """Everything this run starts, ended in reverse order."""

    def __init__(self, folder):
        self.folder = folder
        self.started = []

    def start(self, name, argv, env, cwd=None, pass_fds=()):
        out = open(os.path.join(self.folder, name + ".log"), "wb")
        proc = subprocess.Popen(argv, env=env, cwd=cwd or self.folder, stdin=subprocess.DEVNULL, stdout=out,
                                stderr=subprocess.STDOUT, pass_fds=pass_fds)
        out.close()
        self.started.append((name, proc))
        return proc

    def log_of(self, name):
        try:
            with open(os.path.join(self.folder, name + ".log"), "rb") as f:
                return f.read().decode("utf-8", "replace")
        except OSError:
            return ""

    def stop_all(self):
        for name, proc in reversed(self.started):
            if proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait(5)
        # What detached from them (the registry, the accessibility bus).
        deadline = time.monotonic() + 5
        while True:
            left = children_of(os.getpid())
            for pid in left:
                try:
                    os.kill(pid, signal.SIGTERM if time.monotonic() < deadline else signal.SIGKILL)
                except ProcessLookupError:
                    pass
            try:
                while os.waitpid(-1, os.WNOHANG)[0] > 0:
                    pass
            except ChildProcessError:
                pass
            if not children_of(os.getpid()):
                break
            time.sleep(0.1)


def read_line_from(fd, timeout, what):
    deadline = time.monotonic() + timeout
    data = b""
    while not data.endswith(b"\n"):
        remaining = deadline - time.monotonic()
        if remaining <= 0 or not select.select([fd], [], [], remaining)[0]:
            raise Failure("no %s within %d s" % (what, timeout))
        chunk = os.read(fd, 256)
        if not chunk:
            raise Failure("%s: the program ended without it" % what)
        data += chunk
    return data.decode().strip()


def wait_for(condition, timeout, what, interval=0.2):
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure("timed out after %d s waiting for %s" % (timeout, what))
        time.sleep(interval)


def unique_loopback():
    pid = os.getpid()
    return "127.%d.%d.%d" % (1 + (pid >> 8) % 250, pid & 0xFF, 2 + (pid >> 16) % 250)


def free_udp_port(address):
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
        s.bind((address, 0))
        return s.getsockname()[1]


def dbus_call(tools, env, bus, dest, path, method, *args):
    argv = [tools["dbus-send"], "--bus=" + bus, "--print-reply=literal", "--reply-timeout=2000",
            "--dest=" + dest, path, method] + list(args)
    result = subprocess.run(argv, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=10)
    return result.stdout.decode().strip() if result.returncode == 0 else None


def root_window_property(display, name):
    """The string property `name` of the root window, or None."""
    x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XGetWindowProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long,
                                       ctypes.c_int, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                                       ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong),
                                       ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_void_p)]
    x11.XFree.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    dpy = x11.XOpenDisplay(display.encode())
    if not dpy:
        return None
    try:
        atom = x11.XInternAtom(dpy, name.encode(), 1)
        if not atom:
            return None
        actual_type, actual_format = ctypes.c_ulong(), ctypes.c_int()
        count, after, data = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p()
        status = x11.XGetWindowProperty(dpy, x11.XDefaultRootWindow(dpy), atom, 0, 1024, 0, 0,
                                        ctypes.byref(actual_type), ctypes.byref(actual_format), ctypes.byref(count),
                                        ctypes.byref(after), ctypes.byref(data))
        if status != 0 or not data.value:
            return None
        value = ctypes.string_at(data.value, count.value).decode()
        x11.XFree(data)
        return value
    finally:
        x11.XCloseDisplay(dpy)


def start_stack(procs, tools, folder):
    """X server, session bus, accessibility bus and registry; returns the environment."""
    env = {k: v for k, v in os.environ.items()
           if not k.startswith(("DBUS_", "AT_SPI", "QT_", "WAYLAND", "DISPLAY", "XDG_"))}
    env.update(HOME=folder, XDG_RUNTIME_DIR=folder, XDG_CONFIG_HOME=os.path.join(folder, "config"),
               XDG_DATA_HOME=os.path.join(folder, "data"))

    read_fd, write_fd = os.pipe()
    procs.start("xvfb", [tools["Xvfb"], "-displayfd", str(write_fd), "-screen", "0", "1280x800x24",
                         "-nolisten", "tcp", "-noreset"], env, pass_fds=(write_fd,))
    os.close(write_fd)
    env["DISPLAY"] = ":" + read_line_from(read_fd, 20, "display number from Xvfb")
    os.close(read_fd)
    log("X server on " + env["DISPLAY"])

    read_fd, write_fd = os.pipe()
    procs.start("session-bus", [tools["dbus-daemon"], "--session", "--nofork", "--nopidfile",
                                "--address=unix:path=" + os.path.join(folder, "bus"),
                                "--print-address=%d" % write_fd], env, pass_fds=(write_fd,))
    os.close(write_fd)
    env["DBUS_SESSION_BUS_ADDRESS"] = read_line_from(read_fd, 20, "session bus address")
    os.close(read_fd)

    procs.start("bus-launcher", [tools["at-spi-bus-launcher"], "--launch-immediately"], env)
    reply = wait_for(lambda: dbus_call(tools, env, env["DBUS_SESSION_BUS_ADDRESS"], "org.a11y.Bus", "/org/a11y/bus",
                                       "org.a11y.Bus.GetAddress"), 20, "the accessibility bus (org.a11y.Bus)")
    a11y_bus = reply.split()[-1] if reply.startswith("string") else reply
    published = wait_for(lambda: root_window_property(env["DISPLAY"], "AT_SPI_BUS"), 10,
                         "AT_SPI_BUS on the root window")
    if published != a11y_bus:
        raise Failure("the root window names another accessibility bus: %s, not %s" % (published, a11y_bus))
    log("accessibility bus " + a11y_bus)

    registry_env = dict(env, AT_SPI_BUS_ADDRESS=a11y_bus)
    procs.start("registry", [tools["at-spi2-registryd"]], registry_env)
    wait_for(lambda: (dbus_call(tools, env, a11y_bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.atspi.Registry") or "")
             .endswith("true"), 20, "the AT-SPI registry on the accessibility bus")
    env["AT_SPI_BUS_ADDRESS"] = a11y_bus
    return env


def start_unit_and_app(procs, args, env, folder):
    address = unique_loopback()
    discovery_port = free_udp_port("127.0.0.1")
    command_port = free_udp_port(address)
    procs.start("unit", [args.unit, "--bind", address, "--trace", "--announce-to", "127.0.0.1:%d" % discovery_port,
                         "--command-port", str(command_port)], env)
    wait_for(lambda: "listening on" in procs.log_of("unit"), 20, "the virtual unit on " + address)

    # The run folder layout: translations/ and image/ beside cfg.dat, so the
    # application keeps its files in this scratch folder.
    run = os.path.join(folder, "run")
    os.mkdir(run)
    for sub in ["translations", "image"]:
        source = os.path.join(os.path.dirname(args.app), sub)
        if os.path.isdir(source):
            shutil.copytree(source, os.path.join(run, sub))
    app_env = {k: v for k, v in env.items() if k != "AT_SPI_BUS_ADDRESS"}
    app_env.update(QT_QPA_PLATFORM="xcb", QT_LOGGING_RULES="qt.accessibility.atspi=true;orvalix.*.debug=false")
    if "ASAN_OPTIONS" in app_env:
        # libxkbcommon-x11 (under Qt's xcb plugin) strndup()s length-counted
        # X replies that have no terminating NUL, which is valid C but what
        # the sanitizer's strict string checks report.
        app_env["ASAN_OPTIONS"] += ":intercept_strndup=0"
    procs.start("app", [args.app, "--connect", address, "--command-address", address, "--command-port",
                        str(command_port), "--discovery-port", str(discovery_port)], app_env, cwd=run)
    wait_for(lambda: app_alive(procs) and "controller connected" in procs.log_of("unit"), 30,
             "the application's connection")
    return address


def app_alive(procs):
    name, proc = procs.started[-1]
    if proc.poll() is not None:
        raise Failure("the application ended with %s:\n%s" % (proc.returncode, procs.log_of(name)))
    return True


def find_application(pyatspi, procs):
    def lookup():
        app_alive(procs)
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == "orvalix":
                return app
        return None
    try:
        return wait_for(lookup, 30, "the application in the AT-SPI registry", interval=0.5)
    except Failure as failure:
        if "application ended" in str(failure):
            raise
        raise Failure("%s\napplication log:\n%s" % (failure, procs.log_of("app")))


def acts(node):
    try:
        return node.queryAction().nActions > 0
    except NotImplementedError:
        return False


def collect(pyatspi, app, names):
    """Accessible objects by name, for the names asked for. A page's label
    may share a page button's name ("Gate" on the Security page): controls
    that offer an action come before labels."""
    found = {}
    stack = [app]
    while stack:
        node = stack.pop()
        if node is None:
            continue
        if node.name in names and (node.name not in found or (acts(node) and not acts(found[node.name]))):
            found[node.name] = node
        stack.extend(node[i] for i in range(node.childCount))
    return found


def showing(pyatspi, node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def press(pyatspi, button):
    action = button.queryAction()
    if action.nActions < 1:
        raise Failure("%r offers no action" % button.name)
    action.doAction(0)


def frame_with_value(unit_log, since, value):
    """A module set frame (class 3, op 1) received after `since` carrying `value` as f32."""
    wanted = struct.pack("<f", value).hex(" ")
    for line in unit_log[since:].splitlines():
        if "rx class 3 " in line and " op 1 " in line and wanted in line.split(":", 2)[-1]:
            return line
    return None


def set_and_expect_frame(pyatspi, procs, control, value, what):
    mark = len(procs.log_of("unit"))
    control.queryValue().currentValue = value
    line = wait_for(lambda: frame_with_value(procs.log_of("unit"), mark, value), 20,
                    "the unit to receive %s = %g" % (what, value))
    readback = control.queryValue().currentValue
    if abs(readback - value) > 1e-4:
        raise Failure("%s reads %g through AT-SPI after setting %g" % (what, readback, value))
    log("%s set to %g through AT-SPI; the unit received: %s" % (what, value, line.split("orvalix.unit: ")[-1]))


def run(args):
    tools = check_packages()
    become_subreaper()
    folder = tempfile.mkdtemp(prefix="orvalix-atspi-")
    os.chmod(folder, 0o700)
    procs = Processes(folder)
    try:
        env = start_stack(procs, tools, folder)
        start_unit_and_app(procs, args, env, folder)
        for key in ["DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "XDG_RUNTIME_DIR"]:
            os.environ[key] = env[key]
        import pyatspi  # reads the addresses above when it loads

        app = find_application(pyatspi, procs)
        log("application %r found in the registry" % app.name)
        found = collect(pyatspi, app, set(PAGE_BUTTONS) | {FADER, KNOB})
        missing = [name for name in PAGE_BUTTONS + [FADER, KNOB] if name not in found]
        if missing:
            raise Failure("not found through AT-SPI: " + ", ".join(missing))
        log("found page buttons %s, %r (%s) and %r (%s)" % (", ".join(PAGE_BUTTONS), FADER,
            found[FADER].getRoleName(), KNOB, found[KNOB].getRoleName()))

        if not showing(pyatspi, found[FADER]):
            raise Failure("%r is not showing on the first page" % FADER)
        set_and_expect_frame(pyatspi, procs, found[FADER], FADER_VALUE, "the IN A gain")

        press(pyatspi, found["Gate"])
        wait_for(lambda: showing(pyatspi, found[KNOB]), 10, "the Gate page after pressing its button")
        if showing(pyatspi, found[FADER]):
            raise Failure("the In Level page still shows after pressing Gate")
        set_and_expect_frame(pyatspi, procs, found[KNOB], KNOB_VALUE, "the IN A gate threshold")
        log("passed")
        return 0
    except Failure as failure:
        log("FAIL: %s" % failure)
        return 1
    finally:
        procs.stop_all()
        if args.keep:
            log("logs kept in " + folder)
        else:
            shutil.rmtree(folder, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--app", required=True, help="the orvalix executable")
    parser.add_argument("--unit", required=True, help="the orvalix-unit executable")
    parser.add_argument("--keep", action="store_true", help="keep the scratch folder with every log")
    args = parser.parse_args()
    args.app, args.unit = os.path.abspath(args.app), os.path.abspath(args.unit)
    sys.exit(run(args))


if __name__ == "__main__":
    main()
