"""Shared by the Python suites: the worst error of every reference check, shown at the end.

A test that compares the module with outside reference data (the Swiss Ephemeris tool,
published calendars, an independent computation) records the worst error it saw through
the `report` fixture before it asserts, so the figure is printed whether the test passes
or fails, and drift shows long before a limit is crossed:

    def test_cusps_match_swetest(report):
        worst = ...
        report("cusps vs swetest", worst / ARCSECOND, "arcsec", SWETEST_AGREEMENT / ARCSECOND)
        assert worst <= SWETEST_AGREEMENT
"""
import dataclasses
import signal

import pytest


@dataclasses.dataclass(frozen=True)
class Figure:
    name: str
    worst: float
    unit: str
    limit: float


FIGURES = pytest.StashKey[list]()


def pytest_configure(config):
    config.stash[FIGURES] = []
    # A shell that starts the suite in the background makes it ignore SIGINT, and Python then
    # installs no handler: the tests that send Ctrl-C would wait for the whole computation.
    signal.signal(signal.SIGINT, signal.default_int_handler)


@pytest.fixture
def report(request):
    """report(name, worst, unit, limit): record the worst error of a reference check."""
    figures = request.config.stash[FIGURES]

    def record(name, worst, unit, limit):
        figures.append(Figure(name, worst, unit, limit))

    return record


def pytest_terminal_summary(terminalreporter, config):
    figures = config.stash.get(FIGURES, [])
    if not figures:
        return
    terminalreporter.write_sep("-", "Reference checks \u2014 worst error")
    name_width = max(len(f.name) for f in figures)
    unit_width = max(len(f.unit) for f in figures)
    for f in figures:
        over = "  OVER THE LIMIT" if f.worst > f.limit else ""
        terminalreporter.write_line(
            f"{f.name:<{name_width}}  {f.worst:>8.3g} {f.unit:<{unit_width}}"
            f"  (limit {f.limit:g} {f.unit}){over}")

