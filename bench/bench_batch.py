"""Many charts: compute_chart_batch on one worker and on two, compute_chart_table, a Dask
LocalCluster, and how late a Python timer thread fires during a long get_transits call.

Run through `make bench`, or alone with the module importable:
    PYTHONPATH=build/dev .venv/bin/python bench/bench_batch.py
Each rate is the best of several runs of the same charts; the ratios compare rates measured in
this run, so a busy machine moves them less than the rates themselves.
"""

import logging
import os
import pathlib
import random
import subprocess
import sys
import tempfile
import threading
import time

import zodiakit as zk
from timing import best_rate

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parent
CHARTS = 2000
DASK_CHARTS = 40000
DASK_PARTITION = 5000
TIMER_PERIOD = 0.1  # seconds between the timer thread's ticks
TRANSIT_SECONDS = 10.0  # the get_transits call the timer runs beside lasts about this long


def rows(count, seed=7):
    rng = random.Random(seed)
    return [(rng.randint(1900, 2100), rng.randint(1, 12), rng.randint(1, 28), rng.randint(0, 23),
             rng.randint(0, 59), rng.randint(0, 59), rng.uniform(-60, 60),
             rng.uniform(-180, 180), 0.0) for _ in range(count)]


def call_and_free(fn, repeats=3):
    """(fastest call, fastest freeing of what it returned) of `repeats` runs, in seconds."""
    call = free = float("inf")
    for _ in range(repeats):
        started = time.perf_counter()
        result = fn()
        returned = time.perf_counter()
        del result
        call = min(call, returned - started)
        free = min(free, time.perf_counter() - returned)
    return call, free


def batch_rates(inputs, workers_list, rounds=5):
    """{workers: (charts per second of the call itself, of the call plus freeing its charts,
    CPU seconds of the call in the calling thread, in the workers)}. The worker counts take
    turns, round after round, so that a passing load on a shared machine weighs on each
    alike; each keeps its fastest round. The charts are freed in the caller's thread, with
    the interpreter lock, whatever the number of workers."""
    best = {}
    for _ in range(rounds):
        for workers in workers_list:
            started, cpu, own_cpu = time.perf_counter(), time.process_time(), time.thread_time()
            charts = zk.compute_chart_batch(inputs, workers=workers)
            returned = time.perf_counter()
            calling = time.thread_time() - own_cpu
            others = time.process_time() - cpu - calling
            del charts
            freed = time.perf_counter()
            times = (returned - started, freed - started, calling, others)
            best[workers] = tuple(map(min, zip(best.get(workers, times), times)))
    return {workers: (len(inputs) / call, len(inputs) / total, calling, others)
            for workers, (call, total, calling, others) in best.items()}


def on_free_cores(cpu_one, calling, others, workers):
    """The ratio of `workers` to one worker on as many free cores, from CPU times: the calling
    thread's time plus the workers' time spread evenly over them."""
    return cpu_one / (calling + others / workers)


def dask_rate(workers):
    """Charts per second of examples/dask_charts.py on a running LocalCluster of `workers`
    single-threaded processes, Parquet files included; None without dask.distributed."""
    try:
        from dask.distributed import LocalCluster
    except ImportError:
        return None
    sys.path.insert(0, str(ROOT / "examples"))
    import dask_charts

    # Quiet logs: the workers' last heartbeats as the cluster closes are no news.
    cluster = LocalCluster(n_workers=workers, threads_per_worker=1, processes=True,
                           dashboard_address=None, silence_logs=logging.CRITICAL)
    try:
        with tempfile.TemporaryDirectory() as out:
            def run():
                return dask_charts.run(DASK_CHARTS, out, scheduler=cluster.scheduler_address,
                                       per_partition=DASK_PARTITION, show_progress=False)

            run()  # the workers import the module and pyarrow once
            return best_rate(run, DASK_CHARTS)
    finally:
        cluster.close()


def transit_span(seconds):
    """(from, to) of a get_transits call lasting about `seconds`, inside the years the
    ephemeris files cover (outside them the analytical fallback is several times slower)."""
    started = time.perf_counter()
    zk.get_transits("1800-01-01", "1820-01-01")
    years = 20 * seconds / (time.perf_counter() - started)
    return "1800-01-01", f"{1800 + min(int(years), 599)}-01-01"


def timer_lateness(seconds):
    """(largest lateness in seconds, ticks, call seconds) of a timer thread ticking every
    TIMER_PERIOD during a get_transits call of about `seconds`."""
    span = transit_span(seconds)
    lateness, stop = [], threading.Event()

    def tick():
        due = time.perf_counter() + TIMER_PERIOD
        while not stop.wait(max(0.0, due - time.perf_counter())):
            lateness.append(time.perf_counter() - due)
            due += TIMER_PERIOD

    ticker = threading.Thread(target=tick)
    started = time.perf_counter()
    ticker.start()
    zk.get_transits(*span)
    took = time.perf_counter() - started
    stop.set()
    ticker.join()
    return max(lateness), len(lateness), took


def floor_from_build():
    """The ephemeris floor of the native program in build/dev (when run alone)."""
    for exe in (ROOT / "build" / "dev" / "ephemeris_floor",
                ROOT / "build" / "tests" / "ephemeris_floor"):
        if exe.exists():
            out = subprocess.run([str(exe), "2000"], check=True, capture_output=True, text=True)
            return float(out.stdout.strip())
    return None


def run(floor_rate=None, peers=None):
    inputs = rows(CHARTS)
    cpus = len(os.sched_getaffinity(0))
    zk.compute_chart_batch(inputs[:50])  # warm the ephemeris files
    rates = batch_rates(inputs, sorted({1, 2, cpus}))
    (one, one_freed, *cpu_one), (two, two_freed, *cpu_two) = rates[1], rates[2]
    print(f"batch, 1 worker       {one:9.0f} charts/s  ({one_freed:.0f} with freeing them)")
    print(f"batch, 2 workers      {two:9.0f} charts/s  ({two_freed:.0f} with freeing them; "
          f"{cpus} CPUs usable)")
    print(f"batch, 2 workers : 1  {two / one:9.2f}x       ({two_freed / one_freed:.2f}x with "
          "freeing them)")
    print(f"  by CPU time, on 2 free cores: {on_free_cores(sum(cpu_one), *cpu_two, 2):.2f}x "
          f"(calling thread {cpu_two[0] * 1000:.0f} ms, workers {cpu_two[1] * 1000:.0f} ms, "
          f"one worker {sum(cpu_one) * 1000:.0f} ms)")
    if cpus > 2:
        many = rates[cpus][0]
        print(f"batch, {cpus} workers     {many:9.0f} charts/s  ({many / one:.2f}x one worker)")
    floor_rate = floor_rate or floor_from_build()
    if floor_rate:
        print(f"batch per chart, 1 worker: {floor_rate / one:.2f}x the floor "
              f"({floor_rate / one_freed:.2f}x with freeing them)")
    # A table frees its charts as it goes: the batch with freeing is its like.
    table = len(inputs) / call_and_free(lambda: zk.compute_chart_table(inputs, workers=1))[0]
    print(f"table, 1 worker       {table:9.0f} rows/s    ({table / one_freed:.2f}x the batch "
          f"with freeing, {table / one:.2f}x without)")
    dask = dask_rate(2)
    if dask is None:
        print("dask                  not installed")
    else:
        print(f"dask LocalCluster, 2  {dask:9.0f} charts/s  ({dask / two:.2f}x the batch on "
              f"2 workers; Parquet files written)")
    late, ticks, took = timer_lateness(TRANSIT_SECONDS)
    print(f"timer thread during a {took:.1f} s get_transits: {ticks} ticks, the latest "
          f"{late * 1000:.1f} ms late")


if __name__ == "__main__":
    run()
