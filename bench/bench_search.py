"""Throughput of the searches over time: transits over one year, time windows over a day.

Run through `make bench`, or alone with the module installed: .venv/bin/python bench/bench_search.py.
Ephemeris calls are not counted by the module; they are estimated from the algorithms'
known cost, as printed below.
"""

import time
from datetime import datetime, timedelta

import zodiakit as zk

KATHMANDU = (27.7172, 85.3240)
SIGNS = ["Aries", "Taurus", "Gemini", "Cancer", "Leo", "Virgo", "Libra", "Scorpio",
         "Sagittarius", "Capricorn", "Aquarius", "Pisces"]


def parse_z(text):
    return datetime.strptime(text, "%Y-%m-%dT%H:%M:%SZ")


def rate(call, min_seconds=1.0):
    """Calls per second, and the last result."""
    count, started = 0, time.perf_counter()
    while True:
        result = call()
        count += 1
        elapsed = time.perf_counter() - started
        if elapsed >= min_seconds:
            return count / elapsed, result


def bisection_rounds(step=300):
    """Rounds that narrow one sample step to under two seconds (the longer branch)."""
    rounds, width = 0, step
    while width >= 2:
        width -= width // 2
        rounds += 1
    return rounds


def bench_transits():
    days = 366  # 2024 is a leap year
    per_second, found = rate(lambda: zk.get_transits("2024-01-01", "2025-01-01"))
    calls = 9 * (1 + days) + 21 * len(found)
    print("get_transits, 2024-01-01 .. 2025-01-01")
    print(f"  {per_second:8.1f} calls/s, {len(found)} ingresses")
    print(f"  ephemeris calls ~ 9 planets x (1 + {days} daily samples) + 21 x {len(found)} "
          f"ingresses (20 bisection rounds + 1 speed) = {calls}")
    print(f"  {calls / len(found):8.1f} ephemeris calls per ingress, "
          f"{1e6 / (per_second * calls):6.2f} us per ephemeris call")


def bench_windows():
    base, minutes = "2024-01-15T06:00:00Z", 24 * 60
    per_second, found = rate(
        lambda: zk.find_time_windows(base, minutes, 9, "Leo", *KATHMANDU))
    half = (minutes // 2) * 60
    samples = 2 * half // 300 + 1
    span_start = parse_z(base) - timedelta(seconds=half)
    span_end = parse_z(base) + timedelta(seconds=half)
    # Every window edge inside the span is one change of state, found by bisection.
    edges = [parse_z(t) for window in found for t in window]
    changes = sum(span_start < t < span_end for t in edges)
    calls = samples + bisection_rounds() * changes
    print(f"find_time_windows, {minutes} minutes around {base}, D9 Leo")
    print(f"  {per_second:8.1f} calls/s, {len(found)} windows")
    print(f"  ascendant (house) calls ~ {samples} samples + {bisection_rounds()} bisection "
          f"rounds x {changes} changes = {calls}")
    print(f"  {1e6 / (per_second * calls):8.2f} us per house call")
    if found:
        print(f"  {calls / len(found):8.1f} house calls per window")


def run(chart_floor_rate=None, peers=None):
    """Called by bench/run.py; these searches are measured in ephemeris calls, not charts."""
    bench_transits()
    bench_windows()


if __name__ == "__main__":
    run()
