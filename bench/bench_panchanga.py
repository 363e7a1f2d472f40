"""Panchanga throughput and the ephemeris calls one panchanga makes.

Run through `make bench`, or alone with the module installed: .venv/bin/python bench/bench_panchanga.py

The call count comes from the search itself, not from a hook in the module: for each
element the boundary search evaluates the element once at the instant, steps back 3 days
at a time until the element differs (floor((jd - start) / 3) + 1 evaluations), bisects 40
times, then does the same forwards. A tithi, yoga or karana evaluation asks the ephemeris
for the Moon and the Sun, a nakshatra evaluation for the Moon only; the elements at the
instant itself take one more Moon and Sun pair. The start and end come from the
panchanga's own output (whole seconds), so the count is exact unless a boundary lies within
a second of a 3-day step.
"""

import datetime as dt
import math
import statistics
import time

import zodiakit

STEP_DAYS = 3.0
BISECTION_ROUNDS = 40
CALLS_PER_EVALUATION = {"tithi": 2, "nakshatra": 1, "yoga": 2, "karana": 2}
LUMINARIES_AT_INSTANT = 2


def julian_day(text):
    t = dt.datetime.fromisoformat(text)
    return 2440587.5 + t.timestamp() / 86400.0


def ephemeris_calls(panchanga):
    jd = julian_day(panchanga["metadata"]["utc_datetime"])
    calls = LUMINARIES_AT_INSTANT
    for element, per_evaluation in CALLS_PER_EVALUATION.items():
        start = julian_day(panchanga[element]["start_time_utc"])
        end = julian_day(panchanga[element]["end_time_utc"])
        back = math.floor((jd - start) / STEP_DAYS) + 1
        forward = math.floor((end - jd) / STEP_DAYS) + 1
        evaluations = 1 + back + BISECTION_ROUNDS + forward + BISECTION_ROUNDS
        calls += evaluations * per_evaluation
    return calls


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


def run(chart_floor_rate=None, peers=None):
    """Called by bench/run.py; the chart floor does not apply to a panchanga. `peers` holds
    drik-panchanga's days per second, measured in the same run (bench/peers.py)."""
    when = list(instants(200))
    lat, lon = 27.7172, 85.3240

    def utc_panchangas():
        for t in when:
            zodiakit.get_panchanga(t.year, t.month, t.day, t.hour, t.minute, t.second, lat, lon)
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

    calls = [ephemeris_calls(zodiakit.get_panchanga(t.year, t.month, t.day, t.hour, t.minute,
                                                    t.second, lat, lon)) for t in when]
    rate = best_rate(utc_panchangas)
    sunrise_rate = best_rate(sunrise_day_panchangas)
    floor_rate = best_rate(floor_calls)
    mean_calls = statistics.fmean(calls)

    print(f"panchangas per second (get_panchanga, civil day): {rate:,.0f}")
    print(f"panchangas per second (from_local, sunrise day):  {sunrise_rate:,.0f}")
    print(f"ephemeris calls per panchanga: mean {mean_calls:.1f}, "
          f"min {min(calls)}, max {max(calls)} (plus 1-2 sunrise calls in sunrise-day mode)")
    print(f"single-position calls per second through Python (floor): {floor_rate:,.0f}")
    print(f"panchanga time / (calls x floor call time): "
          f"{floor_rate / (rate * mean_calls):.2f}")
    if peers:
        print(f"panchanga days/s, zodiakit : drik-panchanga: "
              f"{rate / peers['drik_panchanga_day']:.2f}x "
              f"(drik-panchanga {peers['drik_panchanga_day']:,.0f} days/s)")


if __name__ == "__main__":
    run()
