"""Transits and ascendant time windows, from Python."""

import datetime as dt
import os
import subprocess
import time

import pytest

import zodiakit as zk
from goldens import SIGNS
from units import SECOND

KATHMANDU = (27.7172, 85.3240)
UNIX_EPOCH_JD = 2440587.5
SIDEREAL_MONTH = dt.timedelta(days=27.321661)
# The scan bisects the day of an ingress twenty times (to 0.08 s) and gives whole seconds.
INGRESS_AGREEMENT = dt.timedelta(seconds=2)
# Ctrl-C comes 0.5 s into the scan, which must stop within the next 0.5 s (plus slack for a
# loaded machine).
INTERRUPT_DEADLINE = 1.5  # seconds from the start of the scan


def utc(text):
    return dt.datetime.strptime(text, "%Y-%m-%dT%H:%M:%SZ").replace(tzinfo=dt.timezone.utc)


def zulu(moment):
    return moment.strftime("%Y-%m-%dT%H:%M:%SZ")


def test_nodes_change_together_into_opposite_signs_and_empty_ranges():
    found = zk.get_transits("2020-01-01", "2026-01-01")
    rahu, ketu = ([r for r in found if r["planet"] == p] for p in ("Rahu", "Ketu"))
    assert len(rahu) >= 4 and len(rahu) == len(ketu)
    for r, k in zip(rahu, ketu):
        assert r["ingress_time"] == k["ingress_time"]
        assert (SIGNS.index(r["to_sign"]) - SIGNS.index(k["to_sign"])) % 12 == 6
    assert zk.get_transits("2024-01-02", "2024-01-01") == []
    assert zk.get_transits("2024-01-01", "2024-01-01T00:00:00Z") == []


def test_moon_over_a_sidereal_month():
    for offset in range(0, 27 * 24, 53):  # a spread of starting hours
        begin = dt.datetime(2024, 3, 1, tzinfo=dt.timezone.utc) + dt.timedelta(hours=offset)
        found = zk.get_transits(zulu(begin), zulu(begin + SIDEREAL_MONTH))
        moon = [r for r in found if r["planet"] == "Moon"]
        assert len(moon) in (12, 13)


def test_sun_enters_capricorn_when_its_longitude_crosses_270(report):
    # Independent of the scan: bisect the Sun's longitude to the second.
    lo, hi = 1704844800, 1705708800  # 2024-01-10 and 2024-01-20 in Unix seconds
    while hi - lo > 1:
        mid = (lo + hi) // 2
        past = zk.calc_planet_longitude(UNIX_EPOCH_JD + mid * SECOND, "Sun") >= 270.0
        lo, hi = (lo, mid) if past else (mid, hi)
    crossing = dt.datetime.fromtimestamp(hi, dt.timezone.utc)
    sun = [r for r in zk.get_transits("2024-01-01", "2024-02-01") if r["planet"] == "Sun"]
    assert [(r["from_sign"], r["to_sign"]) for r in sun] == [("Sagittarius", "Capricorn")]
    error = abs(dt.datetime.fromisoformat(sun[0]["ingress_time"]) - crossing)
    report("Sun's Capricorn ingress vs bisected longitude", error.total_seconds(), "s",
           INGRESS_AGREEMENT.total_seconds())
    assert error <= INGRESS_AGREEMENT, f"ingress {sun[0]['ingress_time']}, crossing {crossing}"


def test_a_long_transit_scan_stops_on_ctrl_c():
    # The scan holds the interpreter lock throughout, so another process sends the signal.
    started = time.monotonic()
    sender = subprocess.Popen(["sh", "-c", f"sleep 0.5; kill -INT {os.getpid()}"])
    try:
        with pytest.raises(KeyboardInterrupt):
            zk.get_transits("0001-01-01", "9999-12-31")
        elapsed = time.monotonic() - started
    finally:
        sender.wait()
    assert elapsed < INTERRUPT_DEADLINE, f"interrupted after {elapsed:.2f} s"


BASE = "2024-01-15T06:00:00Z"


def windows_by_sign(base, minutes, varga=1):
    return {s: zk.find_time_windows(base, minutes, varga, s, *KATHMANDU) for s in SIGNS}


def test_short_spans_and_sign_names():
    by_sign = windows_by_sign(BASE, 0)
    assert sorted(by_sign.values(), key=len) == [[]] * 11 + [[(BASE, BASE)]]
    assert windows_by_sign(BASE, -1) == by_sign  # half of -1 minutes truncates to 0
    assert windows_by_sign(BASE, -2) == {s: [] for s in SIGNS}
    pieces = sorted(w for found in windows_by_sign(BASE, 24 * 60, 9).values() for w in found)
    assert pieces[0][0] == "2024-01-14T18:00:00Z" and pieces[-1][1] == "2024-01-15T18:00:00Z"
    assert all(a[1] == b[0] for a, b in zip(pieces, pieces[1:]))  # the navamsas tile the day
    same = [zk.find_time_windows(BASE, 1440, 1, n, *KATHMANDU) for n in ("Leo", "LEO", "leo")]
    assert same[0] and same == [same[0]] * 3
    assert zk.find_time_windows(BASE, 600, 1, "Ophiuchus", *KATHMANDU) == []


def test_boundaries_agree_with_charts_cast_every_second():
    day = sorted(w for found in windows_by_sign(BASE, 24 * 60).values() for w in found)
    # Twenty minutes after a change the ascendant keeps one sign over a 20-minute span.
    base = zulu(utc(day[1][0]) + dt.timedelta(minutes=20))
    assert [w for w in windows_by_sign(base, 20).values() if w] == [
        [(zulu(utc(base) - dt.timedelta(minutes=10)), zulu(utc(base) + dt.timedelta(minutes=10)))]]
    start = utc(day[1][0]) - dt.timedelta(minutes=7)
    moments = [start + dt.timedelta(seconds=k) for k in range(14 * 60 + 1)]
    signs = [SIGNS[int(zk.Chart.from_utc(*t.timetuple()[:6], *KATHMANDU).ascendant() // 30)]
             for t in moments]
    assert len(set(signs)) == 2
    for sign in set(signs):
        held = [k for k, s in enumerate(signs) if s == sign]
        assert held == list(range(held[0], held[-1] + 1))
        # A window closes at the first second of the next sign, or at the span's end.
        expected = (zulu(moments[held[0]]), zulu(moments[min(held[-1] + 1, len(moments) - 1)]))
        assert zk.find_time_windows(day[1][0], 14, 1, sign, *KATHMANDU) == [expected]
