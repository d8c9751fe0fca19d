"""Small Xlib helpers for the tests and benchmarks that drive real windows
under Xvfb, where no window manager does what these do."""
import ctypes
import os
import select
import time

x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                           ctypes.c_void_p]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
x11.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
x11.XFree.argtypes = [ctypes.c_void_p]
x11.XDisplayKeycodes.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int),
                                 ctypes.POINTER(ctypes.c_int)]
x11.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
x11.XGetKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_ubyte, ctypes.c_int,
                                    ctypes.POINTER(ctypes.c_int)]
x11.XChangeKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                       ctypes.POINTER(ctypes.c_ulong), ctypes.c_int]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]

CLIENT_MESSAGE = 33
MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]


class MapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong),
                ("window", ctypes.c_ulong), ("override_redirect", ctypes.c_int)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xclient", ClientMessage), ("xmap", MapEvent),
                ("pad", ctypes.c_long * 24)]


def open_display():
    display = x11.XOpenDisplay(None)
    if not display:
        raise SystemExit("cannot open the display")
    return display


def send_close_request(window):
    """Sends the window the message that a window manager sends when the user
    clicks its close box (WM_DELETE_WINDOW); closing the window by force would
    skip the program's own close handling."""
    display = open_display()
    event = Event()
    event.xclient.type = CLIENT_MESSAGE
    event.xclient.window = window
    event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.xclient.format = 32
    event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    event.xclient.data[1] = 0  # CurrentTime
    if not x11.XSendEvent(display, window, 0, 0, ctypes.byref(event)):
        raise SystemExit("XSendEvent failed")
    x11.XCloseDisplay(display)  # sends what is queued


def window_name(display, window):
    name = ctypes.c_char_p()
    if not x11.XFetchName(display, window, ctypes.byref(name)) or not name.value:
        return None
    text = name.value.decode("latin-1")
    x11.XFree(name)
    return text


def keysym_of(letter):
    """The keysym of a letter, as Xlib reads the key name "U<hex>"."""
    code = ord(letter)
    return code if code < 0x100 else 0x1000000 | code


def bind_letters(text):
    """Gives every letter of `text` that the keyboard map lacks a key of its
    own, kept after typing, and returns the key names to press for `text`.
    xdotool would map such a key only while it types, and a busy program can
    read the key after it is mapped back, losing the letter.

    Wine reads letters only from the lowest few free keys, and from no more
    than seven at once, so these seven keys serve in turn: a letter bound
    before and not in `text` gives up its key, after a pause that lets a
    program read what was typed on it."""
    display = open_display()
    low, high, per_key = ctypes.c_int(), ctypes.c_int(), ctypes.c_int()
    x11.XDisplayKeycodes(display, ctypes.byref(low), ctypes.byref(high))
    keys = high.value - low.value + 1
    syms = x11.XGetKeyboardMapping(display, low.value, keys, ctypes.byref(per_key))
    width = per_key.value
    levels = [[syms[k * width + level] for level in range(width)] for k in range(keys)]
    x11.XFree(syms)
    mapped = {sym for key in levels for sym in key}

    def bound_here(key):  # free, or holding a letter bound here before
        sym = key[0]
        return not any(key) or (sym == key[1] and (0xa0 <= sym < 0x100 or sym >> 24 == 1))

    pool = [low.value + k for k, key in enumerate(levels) if bound_here(key)][:7]
    held = {low.value + k: key[0] for k, key in enumerate(levels)}
    wanted = {keysym_of(letter) for letter in text}
    paused = False
    for letter in dict.fromkeys(text):
        sym = keysym_of(letter)
        if sym in mapped:
            continue
        free = [code for code in pool if not held[code]]
        if not free:
            free = [code for code in pool if held[code] not in wanted]
            if not free:
                raise SystemExit("more letters at once than keys to type them on")
            if not paused:
                time.sleep(1)
                paused = True
        code = free[0]
        both = (ctypes.c_ulong * 2)(sym, sym)  # with and without Shift
        x11.XChangeKeyboardMapping(display, code, 2, both, 1)
        held[code] = sym
        mapped.add(sym)
    x11.XSync(display, 0)
    x11.XCloseDisplay(display)
    return [f"U{ord(letter):04X}" for letter in text]


class MapWatcher:
    """Watches the top-level windows being mapped; start it before the program."""

    def __init__(self):
        self.display = open_display()
        x11.XSelectInput(self.display, x11.XDefaultRootWindow(self.display),
                         SUBSTRUCTURE_NOTIFY_MASK)
        x11.XFlush(self.display)

    def wait(self, title, timeout):
        """Waits for a window named `title` to be mapped; returns its id and
        the monotonic time at which the X server reported it, or None."""
        deadline = time.monotonic() + timeout
        fd = x11.XConnectionNumber(self.display)
        event = Event()
        while True:
            while x11.XPending(self.display):
                x11.XNextEvent(self.display, ctypes.byref(event))
                if event.type == MAP_NOTIFY and not event.xmap.override_redirect:
                    seen = time.monotonic()
                    if window_name(self.display, event.xmap.window) == title:
                        return event.xmap.window, seen
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            select.select([fd], [], [], left)

    def close(self):
        x11.XCloseDisplay(self.display)


if __name__ == "__main__":
    raise SystemExit(os.path.basename(__file__) + " is a module")
