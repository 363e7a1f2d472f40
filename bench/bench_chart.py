"""Chart throughput: Chart.from_utc and compute_chart_batch, as ratios to the floor."""
import random

import zodiakit

from timing import best_rate


def instants(count, seed=42):
    rng = random.Random(seed)
    rows = []
    for _ in range(count):
        rows.append((rng.randint(1900, 2099), rng.randint(1, 12), rng.randint(1, 28),
                     rng.randint(0, 23), rng.randint(0, 59), rng.randint(0, 59),
                     rng.uniform(-60, 60), rng.uniform(-180, 180), 0.0))
    return rows


def run(floor_rate, peers=None):
    rows = instants(1000)
    zodiakit.compute_chart_batch(rows[:50])  # warm the ephemeris files
    single = best_rate(lambda: [zodiakit.Chart.from_utc(*r) for r in rows], len(rows))
    batch = best_rate(lambda: zodiakit.compute_chart_batch(rows), len(rows))
    print(f"Chart.from_utc        {single:9.0f} charts/s  {floor_rate / single:5.2f}x the floor")
    print(f"compute_chart_batch   {batch:9.0f} charts/s  {floor_rate / batch:5.2f}x the floor "
          "(1,000 inputs)")
    if peers:
        print(f"Chart.from_utc : raw pyswisseph floor  {single / peers['pyswisseph_floor']:5.2f}x "
              "(a whole chart against the bare ephemeris calls made from Python)")
