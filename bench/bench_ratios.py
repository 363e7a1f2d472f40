"""The figures the engine is held to, each a ratio measured in this run.

    ephemeris calls per panchanga, per ingress, house calls per window sample (counted)
    panchanga days/s, zodiakit : drik-panchanga          (target >= 10x)
    Chart.to_json() / Chart.from_utc time                 (target <= 0.5x)
    Chart.to_dict() / Chart.from_utc time                 (target <= 1.5x)
    Chart.from_utc / ephemeris floor                      (target <= 1.15x)
    from_utc + reading every result from Python / floor   (target <= 1.4x)
"""
import random
import time

import zodiakit
from counts import ephemeris_calls

VARGAS = [1, 2, 3, 4, 7, 9, 10, 12, 16, 20, 24, 27, 30, 40, 45, 60]


def rows(count, seed=42):
    rng = random.Random(seed)
    return [(rng.randint(1900, 2099), rng.randint(1, 12), rng.randint(1, 28),
             rng.randint(0, 23), rng.randint(0, 59), rng.randint(0, 59),
             rng.uniform(-60, 60), rng.uniform(-180, 180), 0.0) for _ in range(count)]


def each(items, fn):
    for item in items:
        fn(item)


def best_seconds(fn, repeats=5):
    best = float("inf")
    for _ in range(repeats):
        start = time.perf_counter()
        fn()
        best = min(best, time.perf_counter() - start)
    return best


def read_everything(chart):
    chart.settings(), chart.metadata(), chart.warnings(), chart.planets(), chart.houses()
    chart.ascendant(), chart.aspects(), chart.karakas(), chart.ashtakavarga(), chart.dasha()
    chart.yogas()
    for varga in VARGAS:
        chart.vargas(varga)


def panchanga_days_per_second(days=200):
    """get_panchanga (the elements and the day), and Panchanga.from_local (the elements; the
    day waits for its first use), days per second."""
    lat, lon = 27.7172, 85.3240
    dates = [time.gmtime(1704067200 + day * 86400) for day in range(days)]

    def whole():
        for t in dates:
            zodiakit.get_panchanga(t.tm_year, t.tm_mon, t.tm_mday, 0, 0, 0, lat, lon)

    def elements():
        for t in dates:
            zodiakit.Panchanga.from_local(time.strftime("%Y-%m-%d", t), "00:00:00", "UTC", lat,
                                          lon)

    return days / best_seconds(whole), days / best_seconds(elements)


def run(floor_rate, peers=None):
    counted = ephemeris_calls()
    inputs = rows(500)
    charts = [zodiakit.Chart.from_utc(*r) for r in inputs]  # also warms the data files
    n = len(inputs)
    # Each result is dropped at once: a list of 500 documents would time the collector.
    chart_s = best_seconds(lambda: each(inputs, lambda r: zodiakit.Chart.from_utc(*r))) / n
    json_s = best_seconds(lambda: each(charts, lambda c: c.to_json())) / n
    dict_s = best_seconds(lambda: each(charts, lambda c: c.to_dict())) / n
    read_s = best_seconds(
        lambda: each(inputs, lambda r: read_everything(zodiakit.Chart.from_utc(*r)))) / n
    floor_s = 1.0 / floor_rate

    def line(name, value, target=""):
        print(f"  {name:<52} {value:>8}  {target}")

    print("figure                                                  measured  target")
    if counted:
        line("ephemeris calls per panchanga", f"{counted['calls_per_panchanga']:.1f}", "<= 60")
        line("  and for its day, apart (positions; sky samples apart)",
             f"{counted['day_calls_per_panchanga']:.1f} + "
             f"{counted['day_sky_samples_per_panchanga']:.1f}")
        line("ephemeris calls per ingress (1950-2050, all grahas)",
             f"{counted['calls_per_ingress']:.2f}", "<= 8")
        line("house calls per window instant (position calls: "
             f"{counted['window_position_calls']})",
             f"{counted['house_calls_per_window_instant']:.2f}", "1")
        line("house calls per 300 s window sample, halving incl.",
             f"{counted['house_calls_per_window_sample']:.2f}")
    else:
        print("  (ephemeris call counts: build/tests/ephemeris_calls is not built)")
    if peers:
        days, element_days = panchanga_days_per_second()
        line("panchanga days/s, zodiakit : drik-panchanga",
             f"{days / peers['drik_panchanga_day']:.1f}x", ">= 10x")
        line("  the elements alone (Panchanga.from_local)",
             f"{element_days / peers['drik_panchanga_day']:.1f}x")
    line("Chart.to_json() / Chart.from_utc", f"{json_s / chart_s:.2f}x", "<= 0.5x")
    line("Chart.to_dict() / Chart.from_utc", f"{dict_s / chart_s:.2f}x", "<= 1.5x")
    line("Chart.from_utc / ephemeris floor", f"{chart_s / floor_s:.2f}x", "<= 1.15x")
    line("from_utc + reading every result / ephemeris floor", f"{read_s / floor_s:.2f}x",
         "<= 1.4x")


if __name__ == "__main__":
    import run as runner
    run(runner.floor_rate(), runner.peer_rates())
