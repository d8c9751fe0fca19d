#!/usr/bin/env python3
"""Sends X window argv[1] the message a window manager sends when the user
clicks the window's close box (WM_DELETE_WINDOW); Xvfb has no window manager
to do it."""
import sys

from xwindow import send_close_request

send_close_request(int(sys.argv[1]))
