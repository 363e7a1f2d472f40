"""Timing shared by the benchmarks and the peer timings (which run in their own venv)."""
import time


def best_rate(fn, count, repeats=3):
    """`count` divided by the fastest of `repeats` runs of `fn`: items per second."""
    best = 0.0
    for _ in range(repeats):
        start = time.perf_counter()
        fn()
        best = max(best, count / (time.perf_counter() - start))
    return best
