"""Panchanga throughput, the ephemeris calls one panchanga makes, and a year's calendar.

Run through `make bench`, or alone with the module installed: .venv/bin/python bench/bench_panchanga.py

A year is 2025 at Kathmandu in the disc-centre convention, computed by one
get_panchanga_calendar call (on every CPU, and again on one thread), by 365 single-day calls
(the same days one date at a time),
and by drik-panchanga (bench/peers.py: the five elements of each day, and again with the
rest of what it computes of a calendar day), all in one run.

The call count is the ephemeris layer's own (bench/counts.py): the native ephemeris_calls
program runs these same 200 instants through the counting build of the ephemeris gateway.
"""

import datetime as dt
import math
import os
import time

import zodiakit
from counts import ephemeris_calls

def julian_day(text):
    t = dt.datetime.fromisoformat(text)
    return 2440587.5 + t.timestamp() / 86400.0


def instants(count):
    base = dt.datetime(2024, 1, 1, tzinfo=dt.timezone.utc)
    for i in range(count):
        yield base + dt.timedelta(hours=i * 17.3)


def best_rate(run, repeats=5):
    """Calls per second of the fastest of `repeats` runs of `run` (which returns a count)."""
    best = math.inf
    count = 0
    for _ in range(repeats):
        start = time.perf_counter()
        count = run()
        best = min(best, time.perf_counter() - start)
    return count / best


YEAR = ("2025-01-01", "2025-12-31")


def year_times(lat, lon, zone):
    """Seconds for one calendar year by one call on every CPU and on one thread (fastest of
    three each), and by 365 single-day calls (fastest of two)."""
    first = dt.date.fromisoformat(YEAR[0])
    days = [(first + dt.timedelta(days=k)).isoformat() for k in range(365)]

    def calendar():
        zodiakit.get_panchanga_calendar(*YEAR, zone, lat, lon, sunrise="disc_center")
        return 1

    def calendar_on_one_thread():
        zodiakit.get_panchanga_calendar(*YEAR, zone, lat, lon, sunrise="disc_center", workers=1)
        return 1

    def single_days():
        for d in days:
            zodiakit.get_panchanga_calendar(d, d, zone, lat, lon, sunrise="disc_center")
        return 1

    return (1.0 / best_rate(calendar, 3), 1.0 / best_rate(calendar_on_one_thread, 3),
            1.0 / best_rate(single_days, 2))


def run(chart_floor_rate=None, peers=None):
    """Called by bench/run.py; the chart floor does not apply to a panchanga. `peers` holds
    drik-panchanga's days per second, measured in the same run (bench/peers.py)."""
    when = list(instants(200))
    lat, lon = 27.7172, 85.3240

    def utc_panchangas():
        for t in when:
            zodiakit.get_panchanga(t.year, t.month, t.day, t.hour, t.minute, t.second, lat, lon)
        return len(when)

    def civil_day_panchangas():
        for t in when:
            zodiakit.Panchanga.from_local(t.strftime("%Y-%m-%d"), t.strftime("%H:%M:%S"),
                                          "UTC", lat, lon)
        return len(when)

    def sunrise_day_panchangas():
        for t in when:
            zodiakit.Panchanga.from_local(t.strftime("%Y-%m-%d"), t.strftime("%H:%M:%S"),
                                          "Asia/Kathmandu", lat, lon, mode="sunrise_day")
        return len(when)

    def floor_calls():
        for i, t in enumerate(when):
            jd = julian_day(t.isoformat())
            zodiakit.calc_planet_longitude(jd, "Moon" if i % 2 else "Sun")
        return len(when)

    rate = best_rate(utc_panchangas)
    civil_rate = best_rate(civil_day_panchangas)
    sunrise_rate = best_rate(sunrise_day_panchangas)
    floor_rate = best_rate(floor_calls)
    counts = ephemeris_calls()
    mean_calls = counts.get("calls_per_panchanga", float("nan"))
    day_calls = counts.get("day_calls_per_panchanga", float("nan"))
    sky_samples = counts.get("day_sky_samples_per_panchanga", float("nan"))

    print(f"panchangas per second (get_panchanga, civil day, with its day): {rate:,.0f}")
    print(f"panchangas per second (from_local, civil day, day on first use): {civil_rate:,.0f}")
    print(f"panchangas per second (from_local, sunrise day, day on first use): "
          f"{sunrise_rate:,.0f}")
    print(f"ephemeris calls per panchanga: mean {mean_calls:.1f} for the elements "
          f"(plus 1-2 sunrise calls in sunrise-day mode), {day_calls:.1f} position calls "
          f"and {sky_samples:.1f} samples of the sky (for its rise and set times) more for its day")
    print(f"single-position calls per second through Python (floor): {floor_rate:,.0f}")
    print(f"elements time / (calls x floor call time): "
          f"{floor_rate / (civil_rate * mean_calls):.2f}")
    if peers:
        drik = peers["drik_panchanga_day"]
        print(f"panchanga days/s, zodiakit : drik-panchanga: {rate / drik:.2f}x with the day, "
              f"{civil_rate / drik:.2f}x elements only (drik-panchanga {drik:,.0f} days/s)")

    year, one_thread, singles = year_times(lat, lon, "Asia/Kathmandu")
    print(f"calendar year at Kathmandu: {year * 1e3:,.1f} ms on {len(os.sched_getaffinity(0))} CPUs "
          f"({one_thread * 1e3:,.1f} ms on one thread, {one_thread / 365 * 1e3:.3f} ms/day); "
          f"365 single-day calls {singles * 1e3:,.0f} ms; year / single calls {year / singles:.3f} "
          f"({one_thread / singles:.3f} on one thread)")
    if peers and "drik_panchanga_year" in peers:
        drik = peers["drik_panchanga_year"]
        print(f"calendar year, drik-panchanga time / zodiakit time: {drik / year:.1f}x "
              f"({drik / one_thread:.1f}x on one thread; drik-panchanga {drik * 1e3:,.0f} ms "
              f"for its elements and weekday)")
    if peers and "drik_panchanga_full_year" in peers:
        drik = peers["drik_panchanga_full_year"]
        print(f"  with the sun and moon times, kalams, muhurtas, months, ritu and samvatsara: "
              f"{drik / year:.1f}x ({drik / one_thread:.1f}x on one thread; drik-panchanga "
              f"{drik * 1e3:,.0f} ms)")


if __name__ == "__main__":
    run()
