"""Memory that stays flat, references that balance, Ctrl-C that stops every long loop,
threads and sub-interpreters that leave the module sound.

The loops are shorter than a soak test would run: each warms up first, then measures the
growth of resident memory over the loop and holds it to the budget of the long run
(5 MB per 100,000 calls), never tighter than the noise of the allocator (1 MB).
ZODIAKIT_MEMORY_FULL=1 runs the long counts (100,000 charts with every result read,
100,000 failing calls of each kind, 10,000 panchangas, 1,000 searches): about ten minutes."""
import functools
import gc
import importlib
import multiprocessing
import os
import signal
import subprocess
import sys
import textwrap
import threading
import time

import pytest

import goldens
import zodiakit
from fuzz_driver import FakeRows
from zodiakit import Chart

PAGE = os.sysconf("SC_PAGE_SIZE")
MB = 2**20
KTM = (27.7172, 85.3240)
FULL = os.environ.get("ZODIAKIT_MEMORY_FULL") == "1"
# Under AddressSanitizer (make sanitize) freed memory waits in a quarantine and every block
# carries red zones: resident memory measures the sanitizer, not the module.
resident_budget = pytest.mark.skipif(
    bool(os.environ.get("ZODIAKIT_SANITIZER")),
    reason="resident memory under a sanitizer is the sanitizer's (freed blocks in quarantine)")


def resident():
    with open("/proc/self/statm") as f:
        return int(f.read().split()[1]) * PAGE


def growth(loop, rounds, warm_up):
    """Bytes of resident memory gained over `rounds` calls of loop(i), after `warm_up`."""
    for i in range(warm_up):
        loop(i)
    gc.collect()
    before = resident()
    for i in range(rounds):
        loop(warm_up + i)
    gc.collect()
    return resident() - before


def budget(rounds):
    """The growth allowed over `rounds` calls: 5 MB per 100,000, at least 1 MB."""
    return max(1 * MB, 5 * MB * rounds // 100_000)


@functools.cache
def public_attributes(cls):
    return [a for a in dir(cls) if not a.startswith("_")]


def read_everything(chart, i):
    """Every result a chart offers, every attribute of every object in it."""
    def attributes(obj):
        return [getattr(obj, a) for a in public_attributes(type(obj))] + [repr(obj)]

    def periods(ps):
        for p in ps:
            attributes(p)
            periods(p.sub_periods)

    for p in chart.planets().values():
        attributes(p)
    for y in chart.yogas():
        attributes(y)
    for ps in chart.dasha().values():
        periods(ps)
    for varga in (2, 9, 60):
        for v in chart.divisional_chart(varga):
            attributes(v)
    attributes(chart.compatibility(chart))
    for method in ("houses", "ascendant", "aspects", "karakas", "ashtakavarga", "settings",
                   "metadata", "warnings", "explain", "to_svg", "to_json"):
        getattr(chart, method)()
    chart.vargas(10)
    repr(chart), str(chart)
    if i % 10 == 0:  # a parse of the whole JSON document: slow, so one chart in ten
        chart.to_dict()


@resident_budget
def test_charts_with_every_result_read_do_not_grow_memory():
    def one_chart(i):
        chart = Chart.from_utc(1900 + i % 200, 1 + i % 12, 1 + i % 28, i % 24, i % 60, i % 59,
                               -60.0 + i % 120, -180.0 + i % 360, 0.0,
                               ["lahiri", "raman", "kp", "custom:23.5"][i % 4],
                               ["equal", "placidus", "koch", "whole_sign"][i % 4], i % 2 == 0)
        read_everything(chart, i)

    rounds = 100_000 if FULL else 3000
    grown = growth(one_chart, rounds, warm_up=200)
    print(f"{rounds} charts: {grown / 1024:.0f} KB")
    assert grown < budget(rounds)


@resident_budget
def test_failing_calls_of_every_kind_do_not_grow_memory():
    for name, call in goldens.bad_calls():
        def fail(_):
            try:
                call()
            except (ValueError, TypeError, OverflowError):
                pass

        started = time.process_time()
        for i in range(100):
            fail(i)
        cost = (time.process_time() - started) / 100
        # Short of the full run, the slow kinds get fewer rounds.
        rounds = 100_000 if FULL else int(min(20_000, 0.1 / max(cost, 1e-9)))
        grown = growth(fail, rounds, warm_up=0)
        assert grown < budget(rounds), f"{name}: {grown / 1024:.0f} KB over {rounds} calls"


@resident_budget
def test_panchangas_and_searches_do_not_grow_memory():
    locales = ["en", "hi_IN", "ne_NP"]

    def panchanga(i):
        zodiakit.get_panchanga(1950 + i % 100, 1 + i % 12, 1 + i % 28, i % 24, 0, 0, *KTM,
                               locale=locales[i % 3])
        if i % 10 == 0:
            p = zodiakit.Panchanga.from_local("2024-01-15", "03:00:00", "Asia/Kolkata", *KTM,
                                              mode="sunrise_day")
            p.to_dict(), p.tithi, p.metadata(), p.warnings()

    def search(i):
        zodiakit.get_transits(f"{1900 + i % 400}-0{1 + i % 9}-01",
                              f"{1900 + i % 400}-0{1 + i % 9}-04")
        zodiakit.find_time_windows(f"{1900 + i % 400}-01-01T00:00:00Z", 60, 9, "Leo", *KTM)

    for loop, rounds in [(panchanga, 10_000 if FULL else 1000), (search, 1000)]:
        grown = growth(loop, rounds, warm_up=100)
        print(f"{rounds} {loop.__name__}: {grown / 1024:.0f} KB")
        assert grown < budget(rounds), loop.__name__


def extra_references(value, seen=0):
    """References to the objects inside a result beyond those the result itself holds."""
    # Calibrated on a plain Python structure: container + the `items` list + the
    # comprehension's variable + getrefcount's argument.
    items = list(value.values()) if isinstance(value, dict) else list(value)
    extra = [sys.getrefcount(x) - 4 for x in items
             if not isinstance(x, (int, str, type(None)))]
    return sum(extra) + sum(extra_references(x) for x in items if isinstance(x, (list, dict,
                                                                                  tuple)))


def test_arguments_and_results_keep_balanced_reference_counts():
    assert extra_references({"a": [float("1.5"), {"b": float("2")}], "c": (float("3"),)}) == 0
    lat, lon = float("27.7172"), float("85.3240")  # fresh objects, not constants
    zone = "".join(["Asia/", "Kathmandu"])
    bad_zone = "".join(["Mars/", "Olympus"])
    day, from_date, to_date = ("-".join(["2024", "01", d]) for d in ("15", "01", "05"))
    row = (2000, 1, 1, 12, 0, 0, lat, lon, float("0"))
    rows = [row, row]
    calls = [
        lambda: Chart.from_local(day, "06:00:00", zone, lat, lon),
        lambda: Chart.from_utc(2024, 1, 15, 0, 0, 0, lat, lon),
        lambda: zodiakit.get_panchanga(2024, 1, 15, 0, 0, 0, lat, lon),
        lambda: zodiakit.local_to_utc(2024, 1, 15, 0, 0, 0, zone),
        lambda: zodiakit.local_to_utc(2024, 1, 15, 0, 0, 0, bad_zone),
        lambda: zodiakit.get_transits(from_date, to_date),
        lambda: zodiakit.find_time_windows(day + "T00:00:00Z", 600, 9, "Leo", lat, lon),
        lambda: zodiakit.compute_chart_batch(rows),
        lambda: zodiakit.compute_chart_batch([row, (row,)]),
        lambda: Chart.from_utc(2024, 1, 15, 0, 0, 0, lat, lon, 0.0, zone),
        lambda: zodiakit.calc_planet_longitude(lat, zone),
    ]
    watched = [lat, lon, zone, bad_zone, day, from_date, to_date, row, rows]
    before = [sys.getrefcount(x) for x in watched]
    for call in calls:
        for _ in range(3):
            try:
                result = call()
            except (ValueError, TypeError):
                continue
            assert sys.getrefcount(result) == 2
            if isinstance(result, (list, dict, tuple)):
                assert extra_references(result) == 0
            if isinstance(result, Chart):
                planets = result.planets()
                assert sys.getrefcount(result) == 2 and extra_references(planets) == 0
                assert extra_references(result.to_dict()) == 0
            del result
    assert [sys.getrefcount(x) for x in watched] == before


def in_child(function, *args):
    """function(*args) in a forked process: what it leaks or peaks stays there."""
    with multiprocessing.get_context("fork").Pool(1) as pool:
        return pool.apply(function, args)


def peak_resident():
    with open("/proc/self/status") as f:
        return next(int(line.split()[1]) for line in f if line.startswith("VmHWM")) * 1024


def cost_of_a_bad_batch(claimed):
    rows, before, started = FakeRows(claimed, ["not a row"]), peak_resident(), time.monotonic()
    try:
        zodiakit.compute_chart_batch(rows)
    except BaseException as error:  # noqa: BLE001 - PanicException is a BaseException
        return type(error).__name__, str(error), time.monotonic() - started, \
            peak_resident() - before
    return "nothing", "", time.monotonic() - started, peak_resident() - before


@resident_budget
@pytest.mark.parametrize("claimed", [10**12, 3 * 10**6])
def test_a_batch_is_checked_before_room_is_made_for_it(claimed):
    kind, message, seconds, peak = in_child(cost_of_a_bad_batch, claimed)
    assert (kind, bool(message)) == ("TypeError", True), f"{kind}: {message!r}"
    assert seconds < 0.2 and peak < 20 * MB, f"{seconds:.2f} s, {peak / MB:.0f} MB"


def unknown_zones_growth(rounds):
    def unknown_zone(i):
        try:
            zodiakit.local_to_utc(2024, 1, 1, 0, 0, 0, f"Nowhere/{i:08d}".ljust(1000, "x"))
        except ValueError:
            pass

    return growth(unknown_zone, rounds, warm_up=500)


@resident_budget
def test_unknown_zone_names_are_not_kept():
    rounds = 20_000
    grown = in_child(unknown_zones_growth, rounds)
    assert grown < budget(rounds), f"{grown / MB:.1f} MB over {rounds} names of 1,000 bytes"


def threads_leftovers(n):
    def work():
        Chart.from_utc(2000, 1, 1, 0, 0, 0, *KTM).planets()

    def threads(count):
        for _ in range(count):
            t = threading.Thread(target=work)
            t.start()
            t.join()

    threads(20)
    fds, rss = len(os.listdir("/proc/self/fd")), resident()
    threads(n)
    return len(os.listdir("/proc/self/fd")) - fds, resident() - rss


@resident_budget
def test_threads_that_compute_leave_nothing_behind():
    fds, grown = in_child(threads_leftovers, 200)
    assert fds <= 2, f"{fds} more file descriptors after 200 threads"
    assert grown < 1 * MB, f"{grown / MB:.1f} MB more after 200 threads"


# ---------------------------------------------------------------------------------- signals

LONG_LOOPS = {
    "compute_chart_batch": "zodiakit.compute_chart_batch([(2000, 1, 1, 0, 0, 0, 27.7, 85.3, "
                           "0.0)] * 200000)",
    "get_transits": 'zodiakit.get_transits("0001-01-01", "9999-12-31")',
    "find_time_windows": 'zodiakit.find_time_windows("2000-01-01T00:00:00Z", 2**31 - 1, 60, '
                         '"Leo", 27.7, 85.3)',
}
SHORT_CALLS = {  # the same entry points over a short span: answers before and after Ctrl-C
    "compute_chart_batch": "[c.to_json() for c in zodiakit.compute_chart_batch("
                           "[(2000, 1, 1, 0, 0, 0, 27.7, 85.3, 0.0)] * 3)]",
    "get_transits": 'zodiakit.get_transits("2024-01-01", "2024-02-01", "raman")',
    "find_time_windows": 'zodiakit.find_time_windows("2024-01-15T06:00:00Z", 1440, 9, "Leo", '
                         '27.7, 85.3)',
}
CHILD = """
import sys, time, zodiakit
short = lambda: {short}
expected = short()
print("ready", flush=True)
try:
    {long}
    print("finished")
except KeyboardInterrupt:
    caught = time.monotonic()
    print(caught, short() == expected, flush=True)
"""


def interrupt_latency(name):
    """Seconds from a SIGINT sent by this process to the KeyboardInterrupt in a child that
    runs the long loop; the child also checks that the module works afterwards."""
    child = subprocess.Popen(
        [sys.executable, "-c", CHILD.format(short=SHORT_CALLS[name], long=LONG_LOOPS[name])],
        stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    try:
        assert child.stdout.readline() == "ready\n", child.stderr.read()
        time.sleep(0.3)  # well inside the loop
        sent = time.monotonic()
        child.send_signal(signal.SIGINT)
        out, err = child.communicate(timeout=10)
    except subprocess.TimeoutExpired:
        child.kill()
        child.communicate()
        pytest.fail(f"{name} did not stop within 10 s of SIGINT")
    assert child.returncode == 0, err
    caught, works = out.split()
    assert works == "True", f"{name}: different answers after the interrupt"
    return float(caught) - sent


@pytest.mark.parametrize("name", LONG_LOOPS)
def test_ctrl_c_stops_every_loop_the_caller_sizes(name):
    # A loaded machine can delay the child: the best of three tries counts.
    latencies = []
    for _ in range(3):
        latencies.append(interrupt_latency(name))
        if latencies[-1] < 0.5:
            break
    print(f"{name}: stopped {', '.join(f'{s * 1000:.0f}' for s in latencies)} ms after SIGINT")
    assert min(latencies) < 0.5


@pytest.mark.parametrize("search", [
    lambda: zodiakit.get_transits("2000-01-01", "2001-01-01"),
    lambda: zodiakit.find_time_windows("2024-01-01T00:00:00Z", 300 * 60, 1, "Aries", *KTM),
], ids=["get_transits", "find_time_windows"])
def test_a_signal_handler_using_the_module_does_not_change_a_search(search):
    quiet = search()
    calls = []

    def handler(signum, frame):
        calls.append(zodiakit.calc_planet_longitude(2451545.0, "sun", "raman"))

    previous = signal.signal(signal.SIGALRM, handler)
    try:
        signal.setitimer(signal.ITIMER_REAL, 0.0005, 0.0005)
        noisy = search()
    finally:
        signal.setitimer(signal.ITIMER_REAL, 0)
        signal.signal(signal.SIGALRM, previous)
    assert calls, "the handler never ran"
    differing = sum(a != b for a, b in zip(quiet, noisy)) + abs(len(quiet) - len(noisy))
    assert noisy == quiet, \
        f"{differing} of {len(quiet)} results differ ({len(calls)} handler calls)"


# --------------------------------------------------------------------------- sub-interpreters

USE = """
def use(zodiakit):
    print("longitude", zodiakit.calc_planet_longitude(2451545.0, "moon"))
    print("chart", len(zodiakit.Chart.from_utc(2000, 1, 1, 0, 0, 0, 27.7, 85.3).to_json()))
"""
SUB = f"""
try:
    import zodiakit
except ImportError as error:
    print("ImportError", error)
else:
{textwrap.indent(USE, "    ")}
    use(zodiakit)
"""
STEPS = {
    "main": "import zodiakit; use(zodiakit)",
    "sub": "i = interpreters.create(); interpreters.run_string(i, SUB); interpreters.destroy(i)",
}


def run_interpreters(*steps):
    """Runs the steps ("main" or "sub") in a fresh process; its return code and output."""
    script = "\n".join([
        "try:\n    import _xxsubinterpreters as interpreters\n"
        "except ImportError:\n    import _interpreters as interpreters",
        USE, f"SUB = {SUB!r}", *(STEPS[s] for s in steps)])
    out = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True,
                         timeout=60)
    return out.returncode, out.stdout, out.stderr


def interpreters_module():
    for name in ("_xxsubinterpreters", "_interpreters"):
        try:
            return importlib.import_module(name)
        except ImportError:
            pass
    return None


needs_subinterpreters = pytest.mark.skipif(
    interpreters_module() is None, reason="this CPython has no sub-interpreter module")


@needs_subinterpreters
@pytest.mark.parametrize("steps", [("sub",), ("main", "sub", "sub")], ids=["alone", "after main"])
def test_a_sub_interpreter_imports_the_module_or_refuses_cleanly(steps):
    code, out, err = run_interpreters(*steps)
    assert code == 0, f"exit {code}: {err[-2000:]}"
    lines, main = out.splitlines(), run_interpreters("main")[1].splitlines()
    while lines:  # each interpreter either refused the import or got the main's answers
        if lines[0].startswith("ImportError"):
            lines = lines[1:]
        else:
            assert lines[:2] == main, out
            lines = lines[2:]


@needs_subinterpreters
def test_the_module_survives_the_sub_interpreter_that_imported_it_first():
    code, out, err = run_interpreters("sub", "main")
    assert code == 0, f"exit {code}: {err[-300:]}"
    # The sub-interpreter either refused the import (one line) or answered (two lines).
    lines = out.splitlines()
    assert lines[1 if lines[0].startswith("ImportError") else 2:] == \
        run_interpreters("main")[1].splitlines()
