#!/usr/bin/env python3
"""Start-up of brinevar.exe against the bare Win32 window under Wine: the time
from starting `wine program.exe` to the X server mapping the program's window,
the two programs taking turns in one Wine session, in pairs whose order
alternates. Prints the medians, their ratio, the median of the ratios within
each pair (which Wine's slow drift from run to run does not move) and the
size of each program. Runs inside bench/wine-startup.sh, which
sets up the prefix, the X server and the program folder.

    wine_startup.py RUNS BRINEVAR_EXE BARE_EXE
"""
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "scripts"))
from xwindow import MapWatcher, send_close_request  # noqa: E402


def one_run(exe, title):
    watcher = MapWatcher()
    start = time.monotonic()
    program = subprocess.Popen(["wine", exe], cwd=os.path.dirname(exe),
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    mapped = watcher.wait(title, 30)
    watcher.close()
    if mapped is None:
        program.kill()
        raise SystemExit(f"{exe}: no window titled {title!r} within 30 s")
    window, seen = mapped
    send_close_request(window)
    if program.wait(30) != 0:
        raise SystemExit(f"{exe} ended with status {program.returncode}")
    return (seen - start) * 1000


def main():
    runs, brinevar, bare = int(sys.argv[1]), sys.argv[2], sys.argv[3]
    one_run(brinevar, "Brinevar")  # warms the file cache and the Wine server
    one_run(bare, "Bare Window")
    times = {brinevar: [], bare: []}
    for run in range(runs):
        pair = [(brinevar, "Brinevar"), (bare, "Bare Window")]
        for exe, title in pair if run % 2 == 0 else reversed(pair):
            times[exe].append(one_run(exe, title))
    median = {exe: statistics.median(t) for exe, t in times.items()}
    for exe in (brinevar, bare):
        print(f"{os.path.basename(exe):14} median {median[exe]:7.1f} ms to the window mapped "
              f"(min {min(times[exe]):.1f}, max {max(times[exe]):.1f}, {runs} runs); "
              f"{os.path.getsize(exe) / 1024:.0f} KiB")
    print(f"ratio brinevar / bare: {median[brinevar] / median[bare]:.3f} of the medians, "
          f"{statistics.median(b / f for b, f in zip(times[brinevar], times[bare])):.3f} "
          f"the median of the {runs} pairs")


main()
