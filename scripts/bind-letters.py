#!/usr/bin/env python3
"""Gives every letter of argv[1] that the X keyboard map lacks a key of its
own, and prints the key names for xdotool to press for that text."""
import sys

from xwindow import bind_letters

print(" ".join(bind_letters(sys.argv[1])))
