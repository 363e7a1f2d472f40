"""Adversarial calls of every entry point (fuzz_driver.py), and the faults found so far, each
pinned by its smallest reproducer. A fault found and not yet fixed is listed in
fuzz_driver.KNOWN_FAULTS and its reproducer marked xfail(strict) until the fix lands."""
import os
import zoneinfo

import pytest
from hypothesis import HealthCheck, given, settings
from hypothesis import strategies as st

import fuzz_driver as fz
import zodiakit
from zodiakit import Chart, Panchanga

CALLS = int(os.environ.get("ZK_FUZZ_CALLS", "20000"))
DOCUMENTED = fz.DOCUMENTED


def outcome(call):
    """The exception a call raises (any BaseException), or its result."""
    try:
        return call()
    except BaseException as error:  # noqa: BLE001 - PanicException is a BaseException
        return error


def assert_documented_error(error, types=DOCUMENTED):
    assert isinstance(error, types), f"{type(error).__name__}: {error!r}"
    assert str(error), f"{type(error).__name__} without a message"


def test_adversarial_calls_of_every_entry_point():
    driver = fz.Driver()

    @settings(max_examples=CALLS // 4, deadline=None, derandomize=True, database=None,
              suppress_health_check=list(HealthCheck))
    @given(st.data())
    def short_sequence(data):
        # A few calls in a row: a failed call must not change the answers of the next ones.
        src = fz.HypothesisSource(data)
        before = len(driver.report.faults)
        for _ in range(src.integer(1, 7)):
            driver.step(src)
        new = driver.report.faults[before:]
        assert not new, "\n".join(f"{text}\n    {call}" for text, call in new)

    short_sequence()
    driver.check_references(None)
    report = driver.report
    print(report.summary())
    assert not report.faults
    assert report.calls >= CALLS * 0.8
    never = {e.name for e in driver.entries} - set(report.by_entry)
    assert not never, f"never called: {sorted(never)}"
    assert report.outcomes["returned"] > report.calls // 3


@pytest.mark.parametrize("inputs", [range(10**18), fz.FakeRows(2**62, [(2000,) * 9])],
                         ids=["range(10**18)", "claims 2**62 rows"])
def test_a_batch_too_large_to_hold_is_refused_with_a_documented_error(inputs):
    error = outcome(lambda: zodiakit.compute_chart_batch(inputs))
    assert_documented_error(error)


NONFINITE = ["custom:nan", "custom:inf", "custom:1e400"]
AYANAMSA_TAKERS = {
    "calc_planet_longitude": lambda a: zodiakit.calc_planet_longitude(2451545.0, "sun", a),
    "get_transits": lambda a: zodiakit.get_transits("2024-01-01", "2024-01-10", a),
    "find_time_windows": lambda a: zodiakit.find_time_windows(
        "2024-01-01T00:00:00Z", 600, 1, "Aries", 0.0, 0.0, 0.0, a),
    "Chart.from_utc": lambda a: Chart.from_utc(2000, 1, 1, 0, 0, 0, 0.0, 0.0, 0.0, a),
    "get_panchanga": lambda a: zodiakit.get_panchanga(2000, 1, 1, 0, 0, 0, 0.0, 0.0, 0.0, a),
}


@pytest.mark.parametrize("taker", AYANAMSA_TAKERS)
@pytest.mark.parametrize("ayanamsa", NONFINITE)
def test_a_custom_ayanamsa_must_be_finite(ayanamsa, taker):
    error = outcome(lambda: AYANAMSA_TAKERS[taker](ayanamsa))
    assert isinstance(error, ValueError), f"returned {fz.short_repr(error)}"
    assert "ayanamsa" in str(error).lower(), f"not the ayanamsa error: {error}"


ZONE_TAKERS = {
    "local_to_utc": lambda z: zodiakit.local_to_utc(2024, 1, 1, 12, 0, 0, z),
    "Chart.from_local": lambda z: Chart.from_local("2024-01-01", "12:00:00", z, 0.0, 0.0),
    "Panchanga.from_local": lambda z: Panchanga.from_local("2024-01-01", "12:00:00", z, 0, 0),
}


def assert_unknown_zone(zone, taker):
    error = outcome(lambda: ZONE_TAKERS[taker](zone))
    assert isinstance(error, ValueError), f"{zone!r} accepted: {fz.short_repr(error)}"
    assert str(error) == f"Unknown timezone: {zone}"


@pytest.mark.parametrize("taker", ZONE_TAKERS)
@pytest.mark.parametrize("zone", ["Fixed/UTC+05:45:00", "Fixed/UTC-24:00:00",
                                  "Fixed/UTC+00:00:00"])
def test_fixed_offset_names_are_not_zones(zone, taker):
    assert_unknown_zone(zone, taker)


@pytest.mark.parametrize("taker", ZONE_TAKERS)
@pytest.mark.parametrize("zone", ["posix/Asia/Kathmandu", "posixrules"])
def test_zoneinfo_files_that_are_not_iana_names_are_not_zones(zone, taker):
    assert_unknown_zone(zone, taker)


def test_every_iana_name_is_a_zone_and_near_misses_are_not():
    names = zoneinfo.available_timezones() - {"localtime"}  # the machine's zone, refused
    refused = [n for n in sorted(names)
               if isinstance(outcome(lambda: ZONE_TAKERS["local_to_utc"](n)), BaseException)]
    assert not refused
    for zone in ["utc", "Fixed/UTC", "Asia/Kathmandu ", "Asia//Kathmandu", "Etc/../UTC",
                 "right/UTC", "zone.tab", "Asia", "UTC\0", "/usr/share/zoneinfo/UTC"]:
        assert_unknown_zone(zone, "local_to_utc")


@pytest.mark.parametrize("span", [("3003-01-01", "3004-01-01"), ("5000-01-01", "5000-02-01")])
def test_a_failed_position_stops_a_transit_search_with_an_error(span):
    # Beyond the ephemeris a position fails: the search reports it, never a 0 degree sign.
    found = outcome(lambda: zodiakit.get_transits(*span))
    if not isinstance(found, BaseException):
        jumps = [r for r in found if (fz.SIGNS.index(r["to_sign"]) -
                                      fz.SIGNS.index(r["from_sign"])) % 12 not in (1, 11)]
        assert not jumps, f"{len(jumps)} of {len(found)} ingresses jump, e.g. {jumps[:1]}"
        return
    assert isinstance(found, ValueError) and str(found)


@pytest.mark.parametrize("lon", [float("nan"), float("inf"), -float("inf")])
def test_divisional_longitude_of_a_non_finite_longitude(lon):
    got = outcome(lambda: zodiakit.get_divisional_longitude(lon, 9))
    assert isinstance(got, ValueError) or (isinstance(got, float) and 0.0 <= got < 360.0), \
        f"returned {got!r}"
