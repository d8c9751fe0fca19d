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
