#!/usr/bin/env python3
"""Seeded random input to the real desktop program under Xvfb.

Starts a copy of the program in a temporary folder with its own configuration (the editor and the user
tool are /bin/true, the help and document opener is a stand-in that does nothing), opens generated data
files and sends random keys, menu mnemonics, clicks and right-clicks in the graph, wheel turns over the
panels, clicks in the panels, tab clicks and typed numbers for a bounded time. It fails when:
  - the program is gone or exits with a non-zero code or a signal;
  - its main window does not answer for 10 s (a drag offered to it gets no status reply);
  - a data file changed while no command that writes data files could run.

Commands that write data files (File "Save &As" and "Save &Data") and printing (File "&Print") are
never chosen, and neither is File "E&xit" before the end: the mnemonics after Alt+F are limited to the
harmless ones. Delete and F2 are never sent (a file dialog deletes or renames with them). A dialog or
pop-up that stays open for a few events is closed with Escape. Parameter files, child files and the
paste file may be written (Save, Paste) and are not compared.

Every event is written to an events file (and printed on failure) with the seed; --replay FILE sends
the same events again on the same generated files. Prints "SKIP: ..." and exits 0 where no X server
can start.
"""

import argparse
import ctypes
import hashlib
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

PING_TIMEOUT = 10.0
DISPLAYS = range(95, 100)

# Keys sent to whatever has the focus. Letters and digits go into the data sheet or search the lists.
KEYS = (["Up", "Down", "Left", "Right", "Tab", "shift+Tab", "Home", "End", "Prior", "Next", "Return",
         "Escape", "space", "BackSpace", "ctrl+Up", "ctrl+Down", "ctrl+Left", "ctrl+Right", "ctrl+h",
         "ctrl+Tab", "ctrl+x", "ctrl+y", "ctrl+Return", "alt+Return", "ctrl+c", "ctrl+v", "ctrl+z",
         "ctrl+s", "ctrl+f", "ctrl+Prior", "ctrl+Next", "shift+Insert", "ctrl+Insert", "F1", "F3"]
        + list("abcdefghijklmnopqrstuvwxyz0123456789.-+"))

# Menu mnemonics: the menu's letter and the items that may be chosen (never Save As, Save Data,
# Print or Exit in the File menu).
MENUS = {
    "f": "oriws",
    "e": "utcpfi",
    "g": "dsuxymcpnk",
    "v": "ad12",
    "t": "1h",
    "h": "hv",
}


def log(text):
    print(text, flush=True)


# --- X: a window-manager ping through libX11 ---

class XClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xclient", XClientMessage), ("pad", ctypes.c_long * 24)]


class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("border_width", ctypes.c_int), ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
                ("root", ctypes.c_ulong), ("class_", ctypes.c_int), ("bit_gravity", ctypes.c_int),
                ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
                ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
                ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


class Pinger:
    """A round trip through the program's event loop: a drag from a window of our own enters the main
    window (XdndEnter, XdndPosition, offering no data) and the toolkit answers with XdndStatus from its
    main thread; XdndLeave ends the drag. No answer within the timeout means the main thread is stuck.
    (Its _NET_WM_PING and WM_TAKE_FOCUS handling answer nothing without a window manager.)"""

    CLIENT_MESSAGE = 33

    def __init__(self, display):
        x = self.x = ctypes.cdll.LoadLibrary("libX11.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XCreateSimpleWindow.restype = ctypes.c_ulong
        x.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                          ctypes.c_uint, ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong,
                                          ctypes.c_ulong]
        x.XInternAtom.restype = ctypes.c_ulong
        x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
        x.XFlush.argtypes = [ctypes.c_void_p]
        x.XPending.argtypes = [ctypes.c_void_p]
        x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
        x.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                                 ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                                 ctypes.POINTER(ctypes.c_uint)]
        x.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(XWindowAttributes)]
        x.XFree.argtypes = [ctypes.c_void_p]
        x.XStringToKeysym.restype = ctypes.c_ulong
        x.XStringToKeysym.argtypes = [ctypes.c_char_p]
        x.XKeysymToKeycode.restype = ctypes.c_ubyte
        x.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        x.XSetInputFocus.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_ulong]
        t = self.xtest = ctypes.cdll.LoadLibrary("libXtst.so.6")
        t.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        t.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        t.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]
        # Windows come and go between a query and its use: X errors are expected and ignored.
        self.handler = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)
        x.XSetErrorHandler(self.handler)
        self.dpy = x.XOpenDisplay(display.encode())
        if not self.dpy:
            raise RuntimeError("cannot open display " + display)
        self.root = x.XDefaultRootWindow(self.dpy)
        self.source = x.XCreateSimpleWindow(self.dpy, self.root, 0, 0, 1, 1, 0, 0, 0)
        self.atom = {name: x.XInternAtom(self.dpy, name.encode(), 0)
                     for name in ("XdndEnter", "XdndPosition", "XdndStatus", "XdndLeave", "XdndActionCopy")}

    def mapped_windows(self):
        """The top-level windows shown on the screen, with their geometry: {window: (x, y, w, h)}. Only
        the program shows windows on this server (the drag source stays unmapped)."""
        root, parent = ctypes.c_ulong(), ctypes.c_ulong()
        children, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
        if not self.x.XQueryTree(self.dpy, self.root, ctypes.byref(root), ctypes.byref(parent),
                                 ctypes.byref(children), ctypes.byref(count)):
            return {}
        out = {}
        for i in range(count.value):
            attributes = XWindowAttributes()
            if self.x.XGetWindowAttributes(self.dpy, children[i], ctypes.byref(attributes)) and \
                    attributes.map_state == 2 and attributes.width > 1:
                out[children[i]] = (attributes.x, attributes.y, attributes.width, attributes.height)
        if children:
            self.x.XFree(children)
        return out

    # Characters typed by their key names; those marked with shift need it on a US keyboard map.
    CHARACTERS = {".": "period", "-": "minus", "+": "shift+equal", " ": "space"}
    MODIFIERS = {"ctrl": "Control_L", "shift": "Shift_L", "alt": "Alt_L"}

    def keycode(self, name):
        code = self.x.XKeysymToKeycode(self.dpy, self.x.XStringToKeysym(name.encode()))
        if not code:
            raise ValueError("no key for " + name)
        return code

    def key(self, combination):
        """Presses and releases a key such as "ctrl+shift+Tab", "Prior", "a" or "." through XTEST."""
        combination = self.CHARACTERS.get(combination, combination)
        *modifiers, name = combination.split("+") if combination != "+" else ["shift", "equal"]
        codes = [self.keycode(self.MODIFIERS[m]) for m in modifiers] + [self.keycode(name)]
        for code in codes:
            self.xtest.XTestFakeKeyEvent(self.dpy, code, 1, 0)
        for code in reversed(codes):
            self.xtest.XTestFakeKeyEvent(self.dpy, code, 0, 0)
        self.x.XFlush(self.dpy)

    def type(self, text):
        for ch in text:
            self.key(self.CHARACTERS.get(ch, ch))
            time.sleep(0.003)

    def click(self, x, y, button):
        self.xtest.XTestFakeMotionEvent(self.dpy, -1, x, y, 0)
        self.xtest.XTestFakeButtonEvent(self.dpy, button, 1, 0)
        self.xtest.XTestFakeButtonEvent(self.dpy, button, 0, 0)
        self.x.XFlush(self.dpy)

    def focus(self, window):
        self.x.XSetInputFocus(self.dpy, window, 2, 0)  # revert to the parent, current time
        self.x.XFlush(self.dpy)

    def message(self, window, kind, *data):
        ev = XEvent()
        ev.xclient.type = self.CLIENT_MESSAGE
        ev.xclient.window = window
        ev.xclient.message_type = self.atom[kind]
        ev.xclient.format = 32
        for i, value in enumerate(data):
            ev.xclient.data[i] = value
        self.x.XSendEvent(self.dpy, window, 0, 0, ctypes.byref(ev))
        self.x.XFlush(self.dpy)

    def ping(self, window, at, timeout=PING_TIMEOUT):
        """True when window answers a drag position at root point `at` within timeout seconds."""
        while self.x.XPending(self.dpy):  # answers to earlier pings
            self.x.XNextEvent(self.dpy, ctypes.byref(XEvent()))
        self.message(window, "XdndEnter", self.source, 5 << 24, 0, 0, 0)
        self.message(window, "XdndPosition", self.source, 0, (at[0] << 16) | at[1], 0, self.atom["XdndActionCopy"])
        end = time.monotonic() + timeout
        answered = False
        while time.monotonic() < end and not answered:
            while self.x.XPending(self.dpy):
                got = XEvent()
                self.x.XNextEvent(self.dpy, ctypes.byref(got))
                if got.type == self.CLIENT_MESSAGE and got.xclient.message_type == self.atom["XdndStatus"]:
                    answered = True
            time.sleep(0.01)
        self.message(window, "XdndLeave", self.source, 0, 0, 0, 0)
        return answered


# --- the session ---

def start_xvfb(env):
    if not shutil.which("Xvfb"):
        return None, None
    for n in DISPLAYS:
        if os.path.exists(f"/tmp/.X{n}-lock") or os.path.exists(f"/tmp/.X11-unix/X{n}"):
            continue
        proc = subprocess.Popen(["Xvfb", f":{n}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if os.path.exists(f"/tmp/.X11-unix/X{n}"):
                return proc, f":{n}"
            if proc.poll() is not None:
                break
            time.sleep(0.05)
        if proc.poll() is None:
            proc.terminate()
            proc.wait()
    return None, None


def data_files(rng):
    """A few data files: one set, several sets with negative x, many sets in blocks, positive values."""
    def block(xs, sets, scale):
        lines = []
        for x in xs:
            ys = [f"{rng.uniform(-scale, scale):.6g}" for _ in range(sets)]
            lines.append(" ".join([f"{x:.6g}", *ys]))
        return "\n".join(lines) + "\n"

    files = {
        "one.dat": "One set\n\n" + block([i * 0.5 for i in range(30)], 1, 10),
        "three.dat": "Three sets, x through zero\n\nblock A\n" + block([i - 10 for i in range(21)], 3, 1e3),
        "many.dat": "Many sets\n\nfirst\n" + block(range(1, 16), 4, 5) + "\nsecond\n" + block(range(1, 16), 4, 5)
        + "\nthird\n" + block(range(1, 16), 4, 5),
        "positive.dat": "Positive\n\n" + "\n".join(
            f"{10 ** (i / 5):.6g} {rng.uniform(1, 1e4):.6g} {rng.uniform(0.1, 10):.6g}" for i in range(1, 40)) + "\n",
    }
    return files


def configuration():
    return ("editor=/bin/true\nprint ox=2\nprint oy=2\nprint width=15\nwidth graph=0.3\nwidth frame=0.3\n"
            "marker size=1.3\nlimittext=1000\next=dat txt\nmenu=Harmless tool\ncmnd=/bin/true\ncodepage=utf-8\n")


def checksums(folder):
    out = {}
    for name in sorted(os.listdir(folder)):
        if name.endswith(".dat"):
            with open(os.path.join(folder, name), "rb") as f:
                out[name] = hashlib.sha256(f.read()).hexdigest()
    return out


def generate(rng, count):
    events = []
    for _ in range(count):
        kind = rng.choices(["key", "type", "menu", "click", "rclick", "pclick", "wheel", "tab"],
                           weights=[50, 8, 8, 10, 5, 6, 4, 4])[0]
        if kind == "key":
            events.append(f"key {rng.choice(KEYS)}")
        elif kind == "type":
            number = rng.choice([f"{rng.uniform(-1e3, 1e3):.4g}", str(rng.randint(-20, 20)),
                                 f"{rng.uniform(0, 1):.3g}e{rng.randint(-9, 9)}"])
            events.append(f"type {number}")
        elif kind == "menu":
            menu = rng.choice(sorted(MENUS))
            events.append(f"menu {menu} {rng.choice(MENUS[menu])}")
        elif kind in ("click", "rclick"):
            # Fractions of the graph window's square (the area right of the tab control).
            events.append(f"{kind} {rng.uniform(0.02, 0.98):.3f} {rng.uniform(0.02, 0.98):.3f}")
        elif kind == "pclick":
            # Fractions of the tab page: the panels' controls and the data sheet.
            events.append(f"pclick {rng.uniform(0.02, 0.98):.3f} {rng.uniform(0.02, 0.98):.3f}")
        elif kind == "wheel":
            events.append(f"wheel {rng.uniform(0.1, 0.9):.3f} {rng.choice(['up', 'down'])}")
        else:
            events.append(f"tab {rng.randint(0, 2)}")
    return events


class Session:
    def __init__(self, program, folder, display, out):
        self.folder = folder
        self.out = out
        self.env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", HOME=os.path.join(folder, "home"),
                        XDG_RUNTIME_DIR=os.path.join(folder, "runtime"), BROWSER="/bin/true",
                        PATH=os.path.join(folder, "fakebin") + ":" + os.environ.get("PATH", "/usr/bin:/bin"))
        for sub in ("bin", "data", "home", "runtime", "fakebin"):
            os.makedirs(os.path.join(folder, sub), mode=0o700, exist_ok=True)
        self.program = os.path.join(folder, "bin", "varnexw32")
        shutil.copy2(program, self.program)
        with open(os.path.join(folder, "bin", "varnexw32.ini"), "w") as f:
            f.write(configuration())
        # The help and "edit with the desktop's program" open URLs: a stand-in opener that does nothing.
        for name in ("xdg-open", "gio", "kde-open", "gnome-open", "firefox", "sensible-browser"):
            path = os.path.join(folder, "fakebin", name)
            with open(path, "w") as f:
                f.write("#!/bin/sh\nexit 0\n")
            os.chmod(path, 0o755)
        self.proc = None
        self.main = None
        self.pinger = Pinger(display)
        self.extra_seen = {}
        self.shown = {}

    def start(self, first_file):
        self.stderr = open(os.path.join(self.out, "program.log"), "w")
        self.proc = subprocess.Popen([self.program, first_file], cwd=os.path.join(self.folder, "data"),
                                     env=self.env, stdout=self.stderr, stderr=self.stderr,
                                     start_new_session=True)
        end = time.monotonic() + 30
        while time.monotonic() < end and self.proc.poll() is None:
            windows = self.windows()
            if windows:
                self.main = max(windows, key=lambda w: self.size(w)[0] * self.size(w)[1])
                break
            time.sleep(0.2)
        if not self.main:
            return False
        self.pinger.focus(self.main)
        return True

    def windows(self):
        self.shown = self.pinger.mapped_windows()
        return list(self.shown)

    def geometry(self, window):
        """x, y, width, height of window on the screen (as the last windows() saw it)."""
        return self.shown.get(window, (0, 0, 0, 0))

    def size(self, window):
        return self.geometry(window)[2:]

    def answers(self):
        x, y, width, height = self.geometry(self.main)
        return self.pinger.ping(self.main, (x + width // 2, y + height // 2))

    def alive(self):
        return self.proc.poll() is None

    def close_stale_windows(self, index):
        """Escape for a dialog or pop-up that has stayed open for three events; returns the event text."""
        extra = [w for w in self.windows() if w != self.main]
        for w in list(self.extra_seen):
            if w not in extra:
                del self.extra_seen[w]
        closed = []
        for w in extra:
            first = self.extra_seen.setdefault(w, index)
            if index - first >= 3:
                self.pinger.focus(w)
                self.pinger.key("Escape")
                closed.append(w)
                del self.extra_seen[w]
        return bool(closed)

    def send(self, event):
        words = event.split()
        kind = words[0]
        x0, y0, width, height = self.geometry(self.main)
        x = self.pinger
        if kind in ("key", "type", "menu") and not self.extra_seen:
            x.focus(self.main)
        if kind == "key":
            x.key(words[1])
        elif kind == "type":
            x.type(words[1])
        elif kind == "menu":
            x.key("alt+" + words[1])
            time.sleep(0.05)
            x.key(words[2])
            time.sleep(0.05)
            x.key("Escape")
            x.key("Escape")
        elif kind in ("click", "rclick"):
            # The graph window stands right of the 255-pixel tab column, below the menu bar.
            left, top = 265, 30
            side = max(min(width - left - 10, height - top - 40), 20)
            x.click(x0 + left + int(float(words[1]) * side), y0 + top + int(float(words[2]) * side),
                    1 if kind == "click" else 3)
        elif kind == "pclick":
            x.click(x0 + 10 + int(float(words[1]) * 240), y0 + 60 + int(float(words[2]) * max(height - 100, 20)), 1)
        elif kind == "wheel":
            x.click(x0 + 30 + int(float(words[1]) * 200), y0 + 60 + int(float(words[1]) * max(height - 120, 20)),
                    4 if words[2] == "up" else 5)
        elif kind == "tab":
            x.click(x0 + 30 + int(words[1]) * 60, y0 + 42, 1)
        time.sleep(0.015)

    def finish(self):
        """Closes stray windows, then File Exit; the exit code (None: did not end)."""
        for _ in range(3):
            for w in self.windows():
                if w != self.main:
                    self.pinger.focus(w)
                    self.pinger.key("Escape")
            time.sleep(0.2)
        self.pinger.focus(self.main)
        self.pinger.key("alt+f")
        time.sleep(0.3)
        self.pinger.key("x")
        try:
            return self.proc.wait(timeout=15)
        except subprocess.TimeoutExpired:
            return None

    def kill(self):
        if self.proc and self.proc.poll() is None:
            os.killpg(self.proc.pid, signal.SIGKILL)
            self.proc.wait()


def run(args):
    if args.replay:
        with open(args.replay) as f:
            lines = [line.strip() for line in f if line.strip() and not line.startswith("#")]
        header, events = lines[0].split(), [line.split(" ", 1)[1] for line in lines[1:]]
        seed = int(header[1])
        deadline = None
    else:
        seed = args.seed if args.seed is not None else random.randrange(1, 2 ** 31)
        events = None
        deadline = time.monotonic() + args.seconds
    rng = random.Random(seed)
    files = data_files(rng)
    if events is None:
        events = generate(rng, args.events)

    os.makedirs(args.out, exist_ok=True)
    events_path = os.path.join(args.out, f"events-{seed}{'-replayed' if args.replay else ''}.txt")
    log(f"random input: seed {seed}; events in {events_path}; replay with --replay {events_path}")

    xvfb, display = start_xvfb(os.environ)
    if not xvfb:
        log("SKIP: no X server could start (Xvfb and the X libraries libX11 and libXtst are needed, displays :95-:99)")
        return 0
    folder = tempfile.mkdtemp(prefix="varnex-random-")
    sent = []
    failure = None
    session = None
    try:
        try:
            session = Session(os.path.abspath(args.program), folder, display, args.out)
        except OSError as error:  # libX11 or libXtst missing
            log(f"SKIP: the X libraries cannot be loaded ({error})")
            return 0
        data = os.path.join(folder, "data")
        for name, text in files.items():
            with open(os.path.join(data, name), "w") as f:
                f.write(text)
        before = checksums(data)
        if not session.start(os.path.join(data, "three.dat")):
            failure = "the program showed no window within 30 s"
        last_ping = time.monotonic()
        with open(events_path, "w") as record:
            record.write(f"seed {seed}\n")
            for i, event in enumerate(events if not failure else []):
                if deadline and time.monotonic() > deadline:
                    break
                if event == "escape":
                    continue  # closing stale windows follows its own rule
                if session.close_stale_windows(i):
                    sent.append("escape")
                    record.write(f"{i} escape\n")
                sent.append(event)
                record.write(f"{i} {event}\n")
                record.flush()
                if args.verbose:
                    log(f"{i} {event}")
                session.send(event)
                if not session.alive():
                    failure = f"the program ended during the run (exit code {session.proc.returncode})"
                    break
                if time.monotonic() - last_ping > 2.0:
                    if not session.answers():
                        failure = f"the window did not answer for {PING_TIMEOUT:.0f} s"
                        break
                    last_ping = time.monotonic()
        if not failure:
            code = session.finish()
            if code is None:
                failure = "the program did not end within 15 s of File Exit"
            elif code != 0:
                failure = f"the program ended with exit code {code}"
        after = checksums(data)
        changed = [name for name in before if after.get(name) != before[name]]
        if changed and not failure:
            failure = "data files changed without a command that writes them: " + ", ".join(changed)
        log(f"random input: {len(sent)} events sent")
    finally:
        if session:
            session.kill()
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(folder, ignore_errors=True)
    if failure:
        log(f"FAIL: {failure} (seed {seed})")
        log("last events:")
        for event in sent[-60:]:
            log("  " + event)
        log(f"program output: {os.path.join(args.out, 'program.log')}")
        log(f"replay: {sys.argv[0]} --program {args.program} --replay {events_path}")
        return 1
    log("random input: passed")
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", default="build/release/bin/varnexw32")
    parser.add_argument("--seconds", type=float, default=30.0, help="time bound of the run (default 30)")
    parser.add_argument("--events", type=int, default=5000, help="events generated (default 5000)")
    parser.add_argument("--seed", type=int)
    parser.add_argument("--replay", help="an events file written by an earlier run")
    parser.add_argument("--out", default="build/random-input", help="folder of the events and the log")
    parser.add_argument("--verbose", action="store_true", help="print every event as it is sent")
    args = parser.parse_args()
    if not os.path.exists(args.program):
        log(f"random input: no program at {args.program}")
        return 1
    return run(args)


if __name__ == "__main__":
    sys.exit(main())
