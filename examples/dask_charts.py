"""Many charts on a dask.distributed cluster, written as Parquet.

    python examples/dask_charts.py                          # 1,000,000 charts, a LocalCluster
    python examples/dask_charts.py --charts 20000 --workers 2 --out /tmp/charts
    python examples/dask_charts.py --scheduler tcp://host:8786   # an existing cluster

The inputs are split into partitions; each task makes its partition's inputs (the same
ones for the same --seed), computes them with zodiakit.compute_chart_table and writes one
Parquet file, part-NNNNN.parquet, into --out. The scheduler shows progress as the tasks end.
Needs the optional extras: pip install "zodiakit[dask]" (dask[distributed], pyarrow, pandas).
"""

import argparse
import os
import pathlib
import random
import time

import zodiakit

ROWS_PER_PARTITION = 20000


def partition_inputs(seed, partition, count):
    """The inputs of one partition: UTC birth instants of 1900-2099 and places on land and sea."""
    rng = random.Random(f"{seed}:{partition}")
    return [(rng.randint(1900, 2099), rng.randint(1, 12), rng.randint(1, 28),
             rng.randint(0, 23), rng.randint(0, 59), rng.randint(0, 59),
             round(rng.uniform(-60.0, 60.0), 4), round(rng.uniform(-180.0, 180.0), 4), 0.0)
            for _ in range(count)]


def partitions(charts, per_partition):
    """(partition number, row count) of each partition, in order."""
    return [(i, min(per_partition, charts - start))
            for i, start in enumerate(range(0, charts, per_partition))]


def all_inputs(charts, seed=0, per_partition=ROWS_PER_PARTITION):
    """Every input row, in partition order (what the Parquet files hold, in file order)."""
    return [row for number, count in partitions(charts, per_partition)
            for row in partition_inputs(seed, number, count)]


def compute_partition(part, seed, out, options):
    """Computes one partition and writes it; returns its row count."""
    import pyarrow
    import pyarrow.parquet

    number, count = part
    table = zodiakit.compute_chart_table(partition_inputs(seed, number, count), workers=1,
                                         **options)
    path = pathlib.Path(out) / f"part-{number:05d}.parquet"
    pyarrow.parquet.write_table(pyarrow.table(table), path)
    return count


def run(charts, out, scheduler=None, workers=None, seed=0, per_partition=ROWS_PER_PARTITION,
        options=None, show_progress=True):
    """Computes the charts on the cluster; returns the number of rows written."""
    from dask.distributed import Client, LocalCluster, progress

    pathlib.Path(out).mkdir(parents=True, exist_ok=True)
    cluster = None
    if scheduler is None:
        # One single-threaded worker process per CPU: each task computes on one thread.
        cluster = LocalCluster(n_workers=workers or len(os.sched_getaffinity(0)),
                               threads_per_worker=1, processes=True, dashboard_address=None)
    try:
        with Client(scheduler or cluster) as client:
            futures = client.map(compute_partition, partitions(charts, per_partition),
                                 seed=seed, out=str(out), options=options or {}, pure=False)
            if show_progress:
                progress(futures)
                print()
            return sum(client.gather(futures))
    finally:
        if cluster is not None:
            cluster.close()


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--charts", type=int, default=1_000_000)
    parser.add_argument("--scheduler", help="address of a running scheduler (default: a LocalCluster)")
    parser.add_argument("--workers", type=int, help="LocalCluster worker processes (default: CPUs)")
    parser.add_argument("--per-partition", type=int, default=ROWS_PER_PARTITION)
    parser.add_argument("--seed", type=int, default=0)
    parser.add_argument("--ayanamsa", default="lahiri")
    parser.add_argument("--house-system", default="equal")
    parser.add_argument("--out", default="charts-parquet")
    args = parser.parse_args(argv)
    started = time.perf_counter()
    written = run(args.charts, args.out, args.scheduler, args.workers, args.seed,
                  args.per_partition,
                  {"ayanamsa": args.ayanamsa, "house_system": args.house_system})
    elapsed = time.perf_counter() - started
    print(f"{written} charts in {elapsed:.1f} s ({written / elapsed:.0f} charts/s), "
          f"Parquet files in {args.out}")


if __name__ == "__main__":
    main()
