"""Golden outputs: what the module computed for fixed random inputs, kept to prove that a
refactoring or a faster algorithm changes nothing.

    .venv/bin/python tests/python/goldens.py    # writes tests/python/golden/*.json.gz

Run it only when an output is meant to change, and say why in the commit. The inputs come
from seeded generators, so the file holds outputs only (digests where outputs are large).
"""
import gzip
import hashlib
import json
import pathlib
import random

import zodiakit

GOLDEN = pathlib.Path(__file__).resolve().parent / "golden"
AYANAMSAS = ["lahiri", "raman", "kp", "true_chitra", "true_pushya", "custom:23.5"]
HOUSES = ["equal", "placidus", "koch", "whole_sign"]
SIGNS = ["Aries", "Taurus", "Gemini", "Cancer", "Leo", "Virgo", "Libra", "Scorpio",
         "Sagittarius", "Capricorn", "Aquarius", "Pisces"]
ZONES = ["UTC", "Asia/Kathmandu", "Asia/Kolkata", "Europe/Oslo", "America/New_York",
         "Australia/Sydney", "America/Sao_Paulo"]


def instant(rng, first=1800, last=2399):
    return (rng.randint(first, last), rng.randint(1, 12), rng.randint(1, 28),
            rng.randint(0, 23), rng.randint(0, 59), rng.randint(0, 59))


def place(rng, max_lat=60.0):
    return (round(rng.uniform(-max_lat, max_lat), 4), round(rng.uniform(-180, 180), 4))


def chart_cases(n=2000):
    rng = random.Random(20261207)
    for _ in range(n):
        yield (*instant(rng), *place(rng), round(rng.uniform(0, 3000), 1),
               rng.choice(AYANAMSAS), rng.choice(HOUSES), rng.random() < 0.5)


def panchanga_cases(n=10000):
    rng = random.Random(4242)
    for _ in range(n):
        yield (*instant(rng), *place(rng, 66.0), 0.0, rng.choice(AYANAMSAS),
               rng.random() < 0.5)


def local_panchanga_cases(n=300):
    rng = random.Random(300)
    for _ in range(n):
        y, mo, d, h, mi, s = instant(rng, 1900, 2100)
        yield (f"{y:04d}-{mo:02d}-{d:02d}", f"{h:02d}:{mi:02d}:{s:02d}", rng.choice(ZONES),
               *place(rng, 60.0), rng.choice(["civil_day", "sunrise_day"]),
               rng.choice(["en", "hi_IN", "ne_NP"]))


def transit_cases():
    yield ("1950-01-01", "2050-01-01", "lahiri", True)
    rng = random.Random(50)
    for _ in range(49):
        y, mo, d, *_ = instant(rng)
        yield (f"{y:04d}-{mo:02d}-{d:02d}", f"{y + rng.randint(0, 3):04d}-{mo:02d}-{d:02d}",
               rng.choice(AYANAMSAS), rng.random() < 0.5)


def window_cases(n=500):
    rng = random.Random(500)
    for _ in range(n):
        y, mo, d, h, mi, s = instant(rng)
        yield (f"{y:04d}-{mo:02d}-{d:02d}T{h:02d}:{mi:02d}:{s:02d}Z", rng.randint(-2, 2880),
               rng.choice([1, 2, 3, 9, 10, 12, 30, 60]), rng.choice(SIGNS), *place(rng),
               0.0, rng.choice(AYANAMSAS), rng.random() < 0.5)


def bad_calls():
    """Calls that fail, each as (name, thunk); the golden is the exception's type and text."""
    Chart, P = zodiakit.Chart, zodiakit.Panchanga
    row = (2000, 1, 1, 12, 0, 0, 27.7, 85.3)
    return [
        ("lat 91", lambda: Chart.from_utc(2000, 1, 1, 0, 0, 0, 91.0, 0.0)),
        ("lon nan", lambda: Chart.from_utc(2000, 1, 1, 0, 0, 0, 0.0, float("nan"))),
        ("month 13", lambda: Chart.from_utc(2000, 13, 1, 0, 0, 0, 0.0, 0.0)),
        ("feb 30", lambda: Chart.from_utc(2001, 2, 30, 0, 0, 0, 0.0, 0.0)),
        ("ayanamsa", lambda: Chart.from_utc(*row, 0.0, "fagan")),
        ("custom text", lambda: Chart.from_utc(*row, 0.0, "custom:abc")),
        ("house system", lambda: Chart.from_utc(*row, 0.0, "lahiri", "porphyry")),
        ("polar placidus", lambda: Chart.from_utc(2000, 6, 21, 0, 0, 0, 80.0, 0.0, 0.0,
                                                  "lahiri", "placidus")),
        ("zone", lambda: Chart.from_local("2000-01-01", "00:00:00", "Mars/Olympus", 0, 0)),
        ("zone path", lambda: Chart.from_local("2000-01-01", "00:00:00", "/etc/localtime", 0, 0)),
        ("date text", lambda: Chart.from_local("2000-1-01", "00:00:00", "UTC", 0, 0)),
        ("time text", lambda: Chart.from_local("2000-01-01", "25:00:00", "UTC", 0, 0)),
        ("skipped", lambda: Chart.from_local("2024-03-10", "02:30:00", "America/New_York", 0, 0)),
        ("repeated", lambda: Chart.from_local("2024-11-03", "01:30:00", "America/New_York", 0, 0)),
        ("jd nan", lambda: Chart.from_julian_day(float("nan"), 0.0, 0.0)),
        ("jd huge", lambda: Chart.from_julian_day(1e300, 0.0, 0.0)),
        ("bs month", lambda: Chart.compute_bs(2080, 13, 1, 0, 0, 0, 0.0, 0.0)),
        ("bs day 0", lambda: Chart.compute_bs(2080, 1, 0, 0, 0, 0, 0.0, 0.0)),
        ("bs year", lambda: zodiakit.compute_chart_bs(1999, 1, 1, 0, 0, 0, 0.0, 0.0)),
        ("arg type", lambda: Chart.from_utc("2000", 1, 1, 0, 0, 0, 0.0, 0.0)),
        ("arg count", lambda: Chart.from_utc(2000, 1, 1)),
        ("kwarg", lambda: Chart.from_utc(*row, bogus=1)),
        ("batch item", lambda: zodiakit.compute_chart_batch([(2000, 1, 1)])),
        ("batch type", lambda: zodiakit.compute_chart_batch(5)),
        ("panchanga lat", lambda: zodiakit.get_panchanga(2000, 1, 1, 0, 0, 0, 95.0, 0.0)),
        ("panchanga mode", lambda: P.from_local("2000-01-01", "00:00:00", "UTC", 0, 0,
                                                mode="lunar")),
        ("sun always up", lambda: P.from_local("2024-06-21", "12:00:00", "Arctic/Longyearbyen",
                                               78.22, 15.65, mode="sunrise_day")),
        ("transit dates", lambda: zodiakit.get_transits("2000-01-01", "1999-01-01")),
        ("transit text", lambda: zodiakit.get_transits("yesterday", "2000-01-01")),
        ("window sign", lambda: zodiakit.find_time_windows("2024-01-01T00:00:00Z", 60, 9,
                                                           "Ophiuchus", 0.0, 0.0)),
        ("window date", lambda: zodiakit.find_time_windows("2024-01-01", 60, 9, "Aries", 0, 0)),
        ("planet name", lambda: zodiakit.calc_planet_longitude(2451545.0, "pluto")),
        ("planet jd", lambda: zodiakit.calc_planet_longitude(float("inf"), "sun")),
        ("dignity", lambda: zodiakit.compute_dignities("Sun", "Ophiuchus", 10.0)),
        ("local_to_utc", lambda: zodiakit.local_to_utc(2000, 1, 1, 0, 0, 0, "Nowhere/City")),
        ("varga type", lambda: zodiakit.get_divisional_sign(10.0, -1)),
        ("compat type", lambda: Chart.from_utc(*row).compatibility(5)),
    ]


# The keys a panchanga's dict had when its goldens were written; later keys follow them.
PANCHANGA_KEYS = ["tithi", "nakshatra", "yoga", "karana", "vara", "metadata", "warnings"]


def first_keys(panchanga):
    assert list(panchanga)[:len(PANCHANGA_KEYS)] == PANCHANGA_KEYS
    return {k: panchanga[k] for k in PANCHANGA_KEYS}


def digest(text):
    return hashlib.sha256(text.encode()).hexdigest()[:24]


def compute(kind):
    """The golden content of one kind, as plain JSON values."""
    if kind == "charts":
        out = []
        for i, case in enumerate(chart_cases()):
            chart = zodiakit.Chart.from_utc(*case)
            entry = [digest(chart.to_json())]
            if i % 10 == 0:
                entry.append(digest(json.dumps(chart.to_dict(), ensure_ascii=False)))
                entry.append(digest(chart.to_svg() + repr(chart) + str(chart)))
            out.append(entry)
        return out
    if kind == "panchanga":
        keys = ["tithi", "nakshatra", "yoga", "karana"]
        return [[[d[k]["index"], d[k]["start_time_utc"], d[k]["end_time_utc"]] for k in keys]
                + [d["vara"]["index"]]
                for d in (zodiakit.get_panchanga(*case) for case in panchanga_cases())]
    if kind == "panchanga_local":
        out = []
        for *args, mode, locale in local_panchanga_cases():
            try:
                p = zodiakit.Panchanga.from_local(*args, mode=mode)
                out.append(digest(json.dumps(first_keys(p.to_dict()), ensure_ascii=False)) + digest(
                    json.dumps(first_keys(zodiakit.get_panchanga(2000, 1, 1, 0, 0, 0, *args[3:5],
                                                                 locale=locale)),
                               ensure_ascii=False)))
            except ValueError as error:
                out.append(str(error))
        return out
    if kind == "transits":
        return [[[t["planet"], t["from_sign"], t["to_sign"], t["ingress_time"],
                  t["is_retrograde"]] for t in zodiakit.get_transits(*case)]
                for case in transit_cases()]
    if kind == "windows":
        return [[list(w) for w in zodiakit.find_time_windows(*case)] for case in window_cases()]
    if kind == "errors":
        out = {}
        for name, call in bad_calls():
            try:
                call()
                out[name] = "no error"
            except Exception as error:  # noqa: BLE001 - the golden records any failure
                out[name] = f"{type(error).__name__}: {error}"
        return out
    raise KeyError(kind)


KINDS = ["charts", "panchanga", "panchanga_local", "transits", "windows", "errors"]


def load(kind):
    with gzip.open(GOLDEN / f"{kind}.json.gz", "rt", encoding="utf-8") as f:
        return json.load(f)


def main():
    GOLDEN.mkdir(exist_ok=True)
    for kind in KINDS:
        with gzip.GzipFile(GOLDEN / f"{kind}.json.gz", "wb", mtime=0) as f:
            f.write(json.dumps(compute(kind), ensure_ascii=False).encode())
        print("wrote", kind)


if __name__ == "__main__":
    main()
