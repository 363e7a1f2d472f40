"""Throughput of the searches over time: transits over one year, time windows over a day.

Run through `make bench`, or alone with the module installed: .venv/bin/python bench/bench_search.py.
Ephemeris calls are counted by the ephemeris layer itself (bench/counts.py), over 1950-2050
for the transits and over the same window search as here.
"""

import time

import zodiakit as zk
from counts import ephemeris_calls

KATHMANDU = (27.7172, 85.3240)
SIGNS = ["Aries", "Taurus", "Gemini", "Cancer", "Leo", "Virgo", "Libra", "Scorpio",
         "Sagittarius", "Capricorn", "Aquarius", "Pisces"]


def rate(call, min_seconds=1.0):
    """Calls per second, and the last result."""
    count, started = 0, time.perf_counter()
    while True:
        result = call()
        count += 1
        elapsed = time.perf_counter() - started
        if elapsed >= min_seconds:
            return count / elapsed, result


def bench_transits():
    per_second, found = rate(lambda: zk.get_transits("2024-01-01", "2025-01-01"))
    counted = ephemeris_calls()
    print("get_transits, 2024-01-01 .. 2025-01-01")
    print(f"  {per_second:8.1f} calls/s, {len(found)} ingresses")
    if counted:
        print(f"  {counted['calls_per_ingress']:8.2f} ephemeris calls per ingress "
              f"(counted over 1950-2050, {counted['ingresses']} ingresses)")


def bench_windows():
    base, minutes = "2024-01-15T06:00:00Z", 24 * 60
    per_second, found = rate(
        lambda: zk.find_time_windows(base, minutes, 9, "Leo", *KATHMANDU))
    counted = ephemeris_calls()
    print(f"find_time_windows, {minutes} minutes around {base}, D9 Leo")
    print(f"  {per_second:8.1f} calls/s, {len(found)} windows")
    if counted:
        print(f"  {counted['house_calls_per_window_instant']:.2f} house calls per instant tested, "
              f"{counted['window_position_calls']} position calls; "
              f"{counted['house_calls_per_window_sample']:.2f} per 300 s sample with the halving")


def run(chart_floor_rate=None, peers=None):
    """Called by bench/run.py; these searches are measured in ephemeris calls, not charts."""
    bench_transits()
    bench_windows()


if __name__ == "__main__":
    run()
