#!/usr/bin/env python3
"""Waits until a process is idle and prints how long it took, in microseconds.

usage: wait_idle.py PID START_US QUIET_MS TIMEOUT_S [--window]

Idle: no CPU tick (user or system) for QUIET_MS, and with --window, a visible
window of the process exists (asked of xdotool). The time printed runs from
START_US (microseconds on the epoch clock) to the last tick before that rest.
Exits with 1 when the process ends or TIMEOUT_S passes first.
"""

import subprocess
import sys
import time


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])


def has_window(pid):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                           capture_output=True, text=True)
    return found.stdout.split()[-1] if found.stdout.split() else None


def main():
    pid, start_us, quiet_ms, timeout_s = (int(a) for a in sys.argv[1:5])
    want_window = "--window" in sys.argv[5:]
    window = None
    window_asked = 0.0
    try:
        last = cpu_ticks(pid)
        last_change = time.time()
        while True:
            time.sleep(0.005)
            now = time.time()
            ticks = cpu_ticks(pid)
            if ticks != last:
                last, last_change = ticks, now
            if want_window and window is None:
                # Asked at most every 50 ms: xdotool is a process of its own.
                if now - window_asked >= 0.05:
                    window_asked = now
                    window = has_window(pid)
                if window is not None:
                    last_change = time.time()
                continue
            if now - last_change >= quiet_ms / 1000:
                break
            if now * 1e6 - start_us > timeout_s * 1e6:
                print(f"no idle moment after {timeout_s} s", file=sys.stderr)
                return 1
    except FileNotFoundError:
        print("the process ended", file=sys.stderr)
        return 1
    print(max(0, int(last_change * 1e6) - start_us), window or "")
    return 0


if __name__ == "__main__":
    sys.exit(main())
