"""Computations run without the interpreter lock: threads, Ctrl-C and the parallel batch."""

import datetime as dt
import os
import random
import subprocess
import threading
import time
from concurrent.futures import ThreadPoolExecutor

import pytest

import zodiakit as zk
from goldens import AYANAMSAS, HOUSES

THREADS = 8
# Charts and panchangas per thread: 8 x 1,000 of each, 10 eighteen-month transit scans and 40
# window searches per thread, about 40 s of CPU time; ZODIAKIT_THREAD_CHARTS=200 runs a fifth.
CHARTS_PER_THREAD = int(os.environ.get("ZODIAKIT_THREAD_CHARTS", "1000"))
# Ctrl-C stops a computation within 0.5 s, plus slack for a loaded machine.
INTERRUPT_SLACK = 1.0


def chart_jobs(seed, count):
    rng = random.Random(seed)
    jobs = []
    for _ in range(count):
        row = (rng.randint(1850, 2350), rng.randint(1, 12), rng.randint(1, 28),
               rng.randint(0, 23), rng.randint(0, 59), rng.randint(0, 59),
               rng.uniform(-60, 60), rng.uniform(-180, 180), rng.uniform(0, 3000))
        jobs.append((row, rng.choice(AYANAMSAS), rng.choice(HOUSES),
                     rng.random() < 0.5))
    return jobs


def chart_texts(jobs):
    return [zk.Chart.from_utc(*row, ayanamsa=a, house_system=h, true_nodes=n).to_json()
            for row, a, h, n in jobs]


def concurrently(work, inputs):
    """work(x) for each input, all in their own threads started together."""
    barrier = threading.Barrier(len(inputs))

    def run(x):
        barrier.wait()
        return work(x)

    with ThreadPoolExecutor(len(inputs)) as pool:
        return list(pool.map(run, inputs))


@pytest.mark.slow
def test_threads_with_mixed_settings_give_the_sequential_charts():
    # The ephemeris library keeps its sidereal mode, node choice and files per thread: eight
    # threads switching ayanamsas, houses and nodes at every chart must not see each other's.
    jobs = [chart_jobs(seed, CHARTS_PER_THREAD) for seed in range(THREADS)]
    expected = [chart_texts(j) for j in jobs]
    assert concurrently(chart_texts, jobs) == expected


def panchangas(seed):
    rng = random.Random(seed)
    return [zk.get_panchanga(rng.randint(1900, 2100), rng.randint(1, 12), rng.randint(1, 28),
                             rng.randint(0, 23), 0, 0, rng.uniform(-50, 50), rng.uniform(-180, 180),
                             ayanamsa=rng.choice(AYANAMSAS), true_nodes=rng.random() < 0.5,
                             locale=rng.choice(["en", "hi", "ne"]))
            for _ in range(CHARTS_PER_THREAD)]


def transits(seed):
    # Eighteen months each, at 1 per 100 charts.
    return [zk.get_transits(f"{1800 + 37 * seed + 2 * i}-01-01", f"{1801 + 37 * seed + 2 * i}-06-01",
                            ayanamsa=AYANAMSAS[(seed + i) % len(AYANAMSAS)], true_nodes=i % 2 == 0)
            for i in range(max(1, CHARTS_PER_THREAD // 100))]


def windows(seed):
    # A day's ascendant windows in the D1 and D9, at 1 per 25 charts.
    rng = random.Random(seed)
    return [zk.find_time_windows(f"{rng.randint(1900, 2100)}-03-0{rng.randint(1, 9)}T00:00:00Z",
                                 1440, rng.choice([1, 9]), rng.choice(["Leo", "Aries", "Pisces"]),
                                 rng.uniform(-60, 60), rng.uniform(-180, 180),
                                 ayanamsa=rng.choice(AYANAMSAS))
            for _ in range(max(4, CHARTS_PER_THREAD // 25))]


def calendars(seed):
    # Seventy days each, in two parts on native threads of their own, at 1 per 200 charts.
    rng = random.Random(seed)
    places = [("Asia/Kolkata", 28.6, 77.2), ("Europe/Oslo", 69.6, 19.0),
              ("America/New_York", 40.7, -74.0)]
    out = []
    for _ in range(max(1, CHARTS_PER_THREAD // 200)):
        zone, lat, lon = rng.choice(places)
        first = f"{rng.randint(1900, 2100)}-0{rng.randint(1, 9)}-1{rng.randint(0, 9)}"
        last = str(dt.date.fromisoformat(first) + dt.timedelta(days=69))
        out.append(zk.get_panchanga_calendar(first, last, zone, lat, lon,
                                             ayanamsa=rng.choice(AYANAMSAS), workers=2))
    return out


@pytest.mark.slow
@pytest.mark.parametrize("work", [panchangas, transits, windows, calendars])
def test_threads_give_the_sequential_panchangas_transits_and_windows(work):
    seeds = list(range(THREADS))
    expected = [work(s) for s in seeds]
    assert concurrently(work, seeds) == expected


def test_threads_that_end_close_their_ephemeris_files():
    def one_thread():
        t = threading.Thread(target=zk.calc_planet_longitude, args=(2451545.0, "moon"))
        t.start()
        t.join()

    def open_files():
        return len(os.listdir("/proc/self/fd"))

    one_thread()
    before = open_files()
    for _ in range(50):
        one_thread()
    # join() returns before the thread's own destructors have closed its files: the last
    # threads may take a moment (long under a sanitizer). A leak would stay at 100 and more.
    settled = time.monotonic() + 5
    while open_files() > before + 2 and time.monotonic() < settled:
        time.sleep(0.01)
    assert open_files() <= before + 2


LONG_LOOPS = {
    "get_transits": lambda: zk.get_transits("0001-01-01", "9999-12-31"),
    "find_time_windows": lambda: zk.find_time_windows("2000-01-01T00:00:00Z", 2**31 - 1, 60,
                                                      "Leo", 27.7, 85.3),
    "compute_chart_batch": lambda: zk.compute_chart_batch(
        [(2000, 1, 1, 0, 0, 0, 27.7, 85.3, 0.0)] * 200_000, workers=1),
}


@pytest.mark.parametrize("loop", LONG_LOOPS.values(), ids=LONG_LOOPS.keys())
def test_other_threads_run_during_a_long_loop_which_still_stops_on_ctrl_c(loop):
    fired = []
    started = time.monotonic()
    timer = threading.Timer(0.2, lambda: fired.append(time.monotonic() - started))
    timer.start()
    # The signal is sent well after the timer was due, from another process.
    sender = subprocess.Popen(["sh", "-c", f"sleep 1; kill -INT {os.getpid()}"])
    try:
        with pytest.raises(KeyboardInterrupt):
            loop()
        stopped = time.monotonic() - started
    finally:
        sender.wait()
        timer.cancel()
    # Holding the interpreter lock, the loop would let the timer fire only once it stopped.
    assert fired and fired[0] < 1, f"the timer fired at {fired} s"
    assert stopped < 1 + INTERRUPT_SLACK, f"interrupted after {stopped:.2f} s"


def test_a_parallel_batch_stops_on_ctrl_c():
    rows = [row for row, *_ in chart_jobs(1, 300)] * 300
    started = time.monotonic()
    sender = subprocess.Popen(["sh", "-c", f"sleep 0.5; kill -INT {os.getpid()}"])
    try:
        with pytest.raises(KeyboardInterrupt):
            zk.compute_chart_batch(rows, workers=2)
        stopped = time.monotonic() - started
    finally:
        sender.wait()
    assert stopped < 0.5 + INTERRUPT_SLACK, f"interrupted after {stopped:.2f} s"


def test_the_parallel_batch_equals_the_sequential_one():
    rows = [row for row, *_ in chart_jobs(2, 250)]
    for options in ({}, {"ayanamsa": "raman", "house_system": "placidus", "true_nodes": False}):
        expected = [c.to_json() for c in zk.compute_chart_batch(rows, workers=1, **options)]
        for workers in (2, 7, None):
            got = zk.compute_chart_batch(rows, workers=workers, **options)
            assert [c.to_json() for c in got] == expected
    assert zk.compute_chart_batch([], workers=4) == []


def test_a_parallel_batch_fails_as_the_sequential_one_at_its_lowest_failing_row():
    rows = [row for row, *_ in chart_jobs(3, 400)]
    bad_date = (2001, 2, 30, 0, 0, 0, 10.0, 10.0, 0.0)
    bad_place = (2001, 2, 3, 0, 0, 0, 91.0, 10.0, 0.0)
    cases = [(5, bad_date, 300, bad_place), (5, bad_place, 300, bad_date),
             (250, bad_date, 399, bad_place), (399, bad_place, None, None)]
    for first, first_row, second, second_row in cases:
        broken = list(rows)
        broken[first] = first_row
        if second is not None:
            broken[second] = second_row
        messages = []
        for workers in (1, 2, 5):
            with pytest.raises(ValueError) as error:
                zk.compute_chart_batch(broken, workers=workers)
            messages.append(str(error.value))
        assert messages == [messages[0]] * 3
    with pytest.raises(ValueError, match="Unknown house_system"):
        zk.compute_chart_batch([bad_date], house_system="nope", workers=2)


@pytest.mark.parametrize("workers", [0, -1, 1.5, "2", True, 2**70])
def test_workers_must_be_a_positive_int(workers):
    with pytest.raises(ValueError, match="workers must be"):
        zk.compute_chart_batch([], workers=workers)
