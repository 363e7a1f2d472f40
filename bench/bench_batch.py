"""Throughput of compute_chart_batch on one worker and on two, and the ratio between them.

Run through `make bench`, or alone with the module installed: .venv/bin/python bench/bench_batch.py.
Each figure is the best of three runs of the same 2,000 charts.
"""

import os
import random
import time

import zodiakit as zk

CHARTS = 2000


def rows(count):
    rng = random.Random(7)
    return [(rng.randint(1900, 2100), rng.randint(1, 12), rng.randint(1, 28), rng.randint(0, 23),
             rng.randint(0, 59), rng.randint(0, 59), rng.uniform(-60, 60),
             rng.uniform(-180, 180), 0.0) for _ in range(count)]


def charts_per_second(inputs, workers):
    best = float("inf")
    for _ in range(3):
        started = time.perf_counter()
        zk.compute_chart_batch(inputs, workers=workers)
        best = min(best, time.perf_counter() - started)
    return len(inputs) / best


def run(floor_rate=None, peers=None):
    inputs = rows(CHARTS)
    cpus = len(os.sched_getaffinity(0))
    one = charts_per_second(inputs, 1)
    print(f"batch, 1 worker       {one:9.0f} charts/s")
    for workers in sorted({2, cpus}):
        rate = charts_per_second(inputs, workers)
        print(f"batch, {workers} workers      {rate:9.0f} charts/s  "
              f"({rate / one:.2f}x one worker; {cpus} CPUs usable)")


if __name__ == "__main__":
    run()
