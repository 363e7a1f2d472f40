"""Adversarial calls of every public entry point of zodiakit, and the checks of what comes back.

Every call must either return a sound result (right types, no NaN or infinity anywhere,
longitudes in [0, 360), signs that agree with them, ingresses between neighbouring signs)
or raise ValueError, TypeError, OverflowError or MemoryError with a non-empty message.
An exception raised by one of the driver's own argument objects (their __index__,
__float__ or __len__ raise HookError) may come back unchanged. Anything else is a fault:
a crash, SystemError, PanicException, a bare Exception, KeyboardInterrupt without a
signal, or a valid answer that changes after failed calls.

The entry points are discovered with dir(): a new function, class, method or property is
called as soon as it exists, and a parameter name the driver does not know fails loudly.
Arguments come from a Source, so one generator serves hypothesis (the bounded suite in
test_fuzz.py) and a seeded random.Random (`make fuzz`):

    .venv/bin/python tests/python/fuzz_driver.py --calls 1000000 [--seed 7]
"""
import argparse
import collections
import datetime as dt
import inspect
import json
import math
import re
import sys
import time
import warnings
from decimal import Decimal
from fractions import Fraction

import zodiakit

SIGNS = ["Aries", "Taurus", "Gemini", "Cancer", "Leo", "Virgo", "Libra", "Scorpio",
         "Sagittarius", "Capricorn", "Aquarius", "Pisces"]
PLANETS = ["Sun", "Moon", "Mars", "Mercury", "Jupiter", "Venus", "Saturn", "Rahu", "Ketu"]
AYANAMSAS = ["lahiri", "raman", "kp", "true_chitra", "true_pushya", "custom:23.5", "custom:0",
             "custom:-12.25", "LAHIRI", "Raman", "custom:360", "custom:1e-9"]
HOUSES = ["equal", "placidus", "koch", "whole_sign", "EQUAL", "Whole_Sign"]
VARGAS = [1, 2, 3, 4, 7, 9, 10, 12, 16, 20, 24, 27, 30, 40, 45, 60]
ZONES = ["UTC", "Asia/Kathmandu", "Asia/Kolkata", "America/New_York", "Europe/London",
         "Australia/Lord_Howe", "Pacific/Chatham", "Pacific/Kiritimati", "Pacific/Apia",
         "America/St_Johns", "Antarctica/Troll", "Etc/GMT+12", "Europe/Oslo"]
LOCALES = ["en", "hi_IN", "ne_NP", "fr", "", "HI_IN"]
MODES = ["civil_day", "sunrise_day", "SUNRISE_DAY"]

# What a call may raise; subclasses count (UnicodeEncodeError is a ValueError).
DOCUMENTED = (ValueError, TypeError, OverflowError, MemoryError)

# Faults already reported and awaiting their fix: the driver counts them apart so that the
# suite stays green until then. Remove an entry together with the strict xfail mark of its
# test when the fault is fixed.
KNOWN_FAULTS: dict[str, str] = {}
# Known faults that show only in an unsound result (a sound one is fine).
FAULTY_ONLY_WHEN_UNSOUND: set[str] = set()


# ----------------------------------------------------------------------- argument objects

class HookError(Exception):
    """Raised by the driver's own argument objects; may propagate unchanged."""


class Odd:
    """An argument object whose conversion hooks misbehave; repr names it for reproducers."""

    def __repr__(self):
        return f"{type(self).__name__}()"


class IndexRaises(Odd):
    def __index__(self):
        raise HookError("__index__ refused")


class IndexReturnsFloat(Odd):
    def __index__(self):
        return 1.5


class IntSub(int):
    def __repr__(self):
        return f"IntSub({int(self)})"


class IndexReturnsIntSub(Odd):
    def __index__(self):
        return IntSub(5)


class IntSubHooksRaise(int):
    """An int whose hooks all raise: the value inside is what counts."""

    def __index__(self):
        raise HookError("__index__ refused")

    def __int__(self):
        raise HookError("__int__ refused")

    def __float__(self):
        raise HookError("__float__ refused")

    def __repr__(self):
        return f"IntSubHooksRaise({int.__repr__(self)})"


class FloatRaises(Odd):
    def __float__(self):
        raise HookError("__float__ refused")


class FloatReturnsStr(Odd):
    def __float__(self):
        return "1.0"


class FloatSub(float):
    def __repr__(self):
        return f"FloatSub({float.__repr__(self)})"


class FloatReturnsSub(Odd):
    def __float__(self):
        return FloatSub(1.0)


class FloatSubHooksRaise(float):
    def __float__(self):
        raise HookError("__float__ refused")

    def __index__(self):
        raise HookError("__index__ refused")

    def __repr__(self):
        return f"FloatSubHooksRaise({float.__repr__(self)})"


class IndexOnly(Odd):
    def __index__(self):
        return 7


class Reentrant(Odd):
    """Converts fine, but calls the module with another ayanamsa while converting."""

    def __index__(self):
        zodiakit.calc_planet_longitude(2451545.0, "moon", "raman")
        return 3

    def __float__(self):
        zodiakit.Chart.from_utc(1990, 5, 15, 4, 30, 0, 10.0, 10.0, 0.0, "kp", "koch")
        return 3.0


class StrSub(str):
    def __str__(self):
        raise HookError("__str__ refused")

    def __repr__(self):
        return f"StrSub({str.__repr__(self)})"


class FakeRows(Odd):
    """A sequence that claims `length` rows and holds `rows` (IndexError past them)."""

    def __init__(self, length, rows):
        self.length, self.rows = length, rows

    def __len__(self):
        return self.length

    def __getitem__(self, i):
        if i < len(self.rows):
            return self.rows[i]
        raise IndexError(i)

    def __repr__(self):
        return f"FakeRows({self.length}, {short_repr(self.rows)})"


class LenRaises(FakeRows):
    def __len__(self):
        raise HookError("__len__ refused")


class ItemRaises(FakeRows):
    def __getitem__(self, i):
        raise HookError("__getitem__ refused")


BIG_TEXT = "x" * (10 * 2**20)
BIG_ZONE = "Asia/" + "K" * (10 * 2**20)  # one object, so the zone cache keeps it once
BIG_DATE = "2024-01-01" + "0" * (10 * 2**20)

WRONG_TYPES = [None, b"1", bytearray(b"1"), 1j, [], (), {}, set(), object(), zodiakit,
               zodiakit.Chart, len, Ellipsis, NotImplemented, memoryview(b"12"), range(3),
               HookError("not an argument"), Decimal("1.5"), Fraction(1, 3)]
INT_EDGES = [0, -1, 1, 2, 12, 13, 23, 24, 59, 60, 61, 29, 30, 31, 32, 366, 10000, -10000,
             2**31 - 1, 2**31, -2**31, -2**31 - 1, 2**32 - 1, 2**32, 2**63 - 1, 2**64,
             -2**63 - 1, 10**100, -10**100, True, False, IntSub(7), IntSub(2**40),
             IntSubHooksRaise(4), IndexRaises(), IndexReturnsFloat(), IndexReturnsIntSub(),
             IndexOnly(), Reentrant(), 1.0, 2.5, float("nan"), "7", Decimal("7")]
FLOAT_EDGES = [float("nan"), -float("nan"), float("inf"), -float("inf"), 0.0, -0.0, 1e308,
               -1e308, 5e-324, -5e-324, 2.2250738585072014e-308, 2**64, -2**63 - 1, 10**400,
               90.0, -90.0, 90.0000001, -90.0000001, 180.0, -180.0, 180.0000001, 360.0, 720.0,
               -500.0, -500.1, 10000.0, 10000.1, 1e-7, True, False, IntSub(45),
               FloatSub(12.5), FloatSub(float("nan")), FloatSubHooksRaise(1.0),
               IntSubHooksRaise(1), FloatRaises(), FloatReturnsStr(), FloatReturnsSub(),
               IndexOnly(), IndexRaises(), Reentrant(), Decimal("sNaN"), Decimal("nan"),
               Decimal("1e999"), Fraction(10**400, 3), "1.0"]
STRING_NOISE = ["", " ", "\0", "\t", "\n", "\u00e9", "\u0130", "\u0131", "\ud800", "\udfff",
                "\U0001f600", "\uff11", "\u0661", "-", ":", "+", "T", "Z", ".", "/", "9", "0"]
TEXT_EDGES = ["", " ", "\0", "\ud800", "\U0001f600" * 3, "a\0b", "\u00e9", "none", "None",
              "x" * 1000, BIG_TEXT, StrSub("lahiri"), StrSub(""), b"lahiri", 0, 1.5, None]


def short_repr(value, limit=160):
    if isinstance(value, str) and len(value) > limit:
        return f"{value[:40]!r} + ... ({len(value)} characters)"
    text = repr(value)
    return text if len(text) <= limit else text[:limit] + f"... ({len(text)} characters)"


# ------------------------------------------------------------------------------- sources

class RandomSource:
    """Choices from a seeded random.Random."""

    def __init__(self, rng):
        self.rng = rng

    def choice(self, items):
        return items[self.rng.randrange(len(items))]

    def integer(self, lo, hi):
        return self.rng.randint(lo, hi)

    def chance(self, p):
        return self.rng.random() < p

    def real(self, lo, hi):
        return self.rng.uniform(lo, hi)

    def for_call(self):
        return self


class HypothesisSource:
    """Choices drawn from hypothesis (st.data()), so that failures shrink. A draw costs
    tens of microseconds, so a call draws its entry point and a seed for the rest."""

    def __init__(self, data):
        from hypothesis import strategies as st
        self.data, self.st = data, st

    def choice(self, items):
        return items[self.data.draw(self.st.integers(0, len(items) - 1))]

    def integer(self, lo, hi):
        return self.data.draw(self.st.integers(lo, hi))

    def chance(self, p):
        return self.data.draw(self.st.integers(0, 999)) < p * 1000

    def real(self, lo, hi):
        return self.data.draw(self.st.floats(lo, hi))

    def for_call(self):
        import random
        return RandomSource(random.Random(self.integer(0, 2**32 - 1)))


# --------------------------------------------------------------------------- entry points

class Entry:
    """One public callable: a module function, a static constructor, a method, a property
    or a slot (repr, str) of a class."""

    def __init__(self, name, kind, owner, attr, params):
        self.name, self.kind, self.owner, self.attr = name, kind, owner, attr
        self.params = params  # [(name, has_default)]

    def __repr__(self):
        return f"<entry {self.name}>"


def discover():
    """Every public entry point, found with dir()."""
    entries = []
    for name in dir(zodiakit):
        if name.startswith("_"):
            continue
        obj = getattr(zodiakit, name)
        if isinstance(obj, type):
            for attr in dir(obj):
                raw = inspect.getattr_static(obj, attr)
                if attr in ("__repr__", "__str__") and attr in vars(obj):
                    entries.append(Entry(f"{name}.{attr}", "slot", obj, attr, []))
                elif attr.startswith("_"):
                    continue
                elif isinstance(raw, staticmethod):
                    entries.append(Entry(f"{name}.{attr}", "static", obj, attr,
                                         parameters_of(getattr(obj, attr))))
                elif inspect.isdatadescriptor(raw):
                    entries.append(Entry(f"{name}.{attr}", "property", obj, attr, []))
                elif callable(raw):
                    entries.append(Entry(f"{name}.{attr}", "method", obj, attr,
                                         parameters_of(raw)[1:]))  # without self
                else:
                    raise AssertionError(f"{name}.{attr}: unknown kind of attribute {raw!r}")
        elif callable(obj):
            entries.append(Entry(name, "function", None, name, parameters_of(obj)))
    for entry in entries:
        for param, _ in entry.params:
            kind_of(entry, param)  # raises for a parameter the driver cannot fill
    return entries


def parameters_of(function):
    return [(p.name, p.default is not inspect.Parameter.empty)
            for p in inspect.signature(function).parameters.values()]


# Parameter name -> kind. A kind names the valid values and the adversarial pool.
PARAM_KINDS = {
    "year": "int", "month": "int", "day": "int", "hour": "int", "minute": "int",
    "second": "int", "bs_year": "int", "bs_month": "int", "bs_day": "int",
    "latitude": "float", "longitude": "float", "altitude": "float", "lat": "float",
    "lon": "float", "alt": "float", "jd": "float", "jd_ut": "float",
    "ayanamsa": "ayanamsa", "house_system": "house", "true_nodes": "bool", "locale": "locale",
    "mode": "mode", "date": "date", "time": "time", "timezone": "zone", "tz_str": "zone",
    "from_date": "instant", "to_date": "instant", "base_date": "instant",
    "window_minutes": "minutes", "varga": "varga", "target_sign": "sign", "planet": "planet",
    "planet_str": "planet", "sign_str": "sign", "inputs": "batch", "other": "chart",
    "style": "style", "details": "bool", "size": "size", "theme": "theme", "chart": "drawing",
    "workers": "workers", "sunrise": "sunrise", "start_date": "day", "end_date": "day",
}


def kind_of(entry, param):
    if param not in PARAM_KINDS:
        raise AssertionError(f"{entry.name}: the driver has no values for parameter {param!r}")
    return PARAM_KINDS[param]


# ------------------------------------------------------------------------- valid values

def days_in_month(year, month):
    if month == 2:
        return 29 if year % 4 == 0 and (year % 100 != 0 or year % 400 == 0) else 28
    return 30 if month in (4, 6, 9, 11) else 31


def pick_year(src, outside=0.1):
    """Mostly the years the ephemeris files cover (fast); sometimes the analytical range."""
    if not src.chance(outside):
        return src.integer(1800, 2399)
    return src.choice([1, 1000, 1582, 1799, 2400, 2999, 3000, src.integer(1, 2998)])


class Context:
    """The coherent valid values of one call: one instant, one place, one span, ..."""

    def __init__(self, src, entry):
        self.src, self.entry, self._cache = src, entry, {}

    def _once(self, key, make):
        if key not in self._cache:
            self._cache[key] = make()
        return self._cache[key]

    def instant(self):
        def make():
            src = self.src
            # A panchanga outside the files' years costs ~80 ms: rarely.
            y = pick_year(src, 0.01 if "anchanga" in self.entry.name else 0.1)
            mo = src.integer(1, 12)
            return (y, mo, src.integer(1, days_in_month(y, mo)), src.integer(0, 23),
                    src.integer(0, 59), src.integer(0, 59))
        return self._once("instant", make)

    def bs_instant(self):
        src = self.src
        return self._once("bs", lambda: (src.integer(2000, 2099), src.integer(1, 12),
                                         src.integer(1, 29), src.integer(0, 23),
                                         src.integer(0, 59), src.integer(0, 59)))

    def place(self):
        src = self.src
        return self._once("place", lambda: (
            src.choice([round(src.real(-66.0, 66.0), 4), 0.0, 89.9, -89.9, 90.0, -90.0]),
            src.choice([round(src.real(-180.0, 180.0), 4), 180.0, -180.0, 0.0]),
            src.choice([0.0, round(src.real(-500.0, 10000.0), 1)])))

    def local(self):
        def make():
            y, mo, d, h, mi, s = self.instant()
            return f"{y:04d}-{mo:02d}-{d:02d}", f"{h:02d}:{mi:02d}:{s:02d}", self.src.choice(ZONES)
        return self._once("local", make)

    def span(self):
        return self._once("span", lambda: instant_span(self.src, self.instant()))

    def value(self, param):
        entry, src = self.entry, self.src
        kind = kind_of(entry, param)
        fields = ["year", "month", "day", "hour", "minute", "second"]
        if param in fields:
            return self.instant()[fields.index(param)]
        if param in ("bs_year", "bs_month", "bs_day"):
            return self.bs_instant()[["bs_year", "bs_month", "bs_day"].index(param)]
        if param in ("jd", "jd_ut"):
            return src.choice([2451545.0, round(src.real(2378496.5, 2597641.5), 5),
                               round(src.real(1721425.5, 2816787.5), 3)])
        if entry.name in ("get_divisional_sign", "get_divisional_longitude",
                          "compute_dignities") and param in ("lon", "longitude"):
            return src.choice([round(src.real(0.0, 360.0), 6), 0.0, 29.999999, 30.0, 359.9999])
        if param in ("latitude", "lat"):
            return self.place()[0]
        if param in ("longitude", "lon"):
            return self.place()[1]
        if param in ("altitude", "alt"):
            return self.place()[2]
        if param == "date":
            return self.local()[0]
        if param == "time":
            return self.local()[1]
        if kind == "zone":
            return self.local()[2]
        if param in ("from_date", "to_date"):
            return self.span()[0 if param == "from_date" else 1]
        if param in ("start_date", "end_date"):  # a calendar of a few days, never years
            y, mo, d, *_ = self.instant()
            first = dt.date(max(y, 1), mo, min(d, 28))
            days = self._once("days", lambda: src.integer(0, 3))
            return (first if param == "start_date" else first + dt.timedelta(days=days)).isoformat()
        if param == "base_date":
            y, mo, d, h, mi, s = self.instant()
            return f"{y:04d}-{mo:02d}-{d:02d}T{h:02d}:{mi:02d}:{s:02d}Z"
        return VALID_BY_KIND[kind](src)


VALID_BY_KIND = {
    "ayanamsa": lambda src: src.choice(AYANAMSAS),
    "house": lambda src: src.choice(HOUSES),
    "bool": lambda src: src.choice([True, False]),
    "locale": lambda src: src.choice(LOCALES),
    "mode": lambda src: src.choice(MODES),
    "minutes": lambda src: src.choice([0, 1, 60, 120, 1440, 2880, -1, -2, src.integer(0, 600)]),
    "varga": lambda src: src.choice(VARGAS),
    "sign": lambda src: src.choice(SIGNS + ["leo", "SCORPIO", "sagittarius"]),
    "planet": lambda src: src.choice(PLANETS + ["sun", "MOON", "rahu"]),
    "batch": lambda src: valid_rows(src, src.integer(0, 6)),
    "chart": lambda src: src.choice(instances()["Chart"]),
    "style": lambda src: src.choice(["north", "south", "SOUTH"]),
    "size": lambda src: src.choice([100, 500, 800]),
    "theme": lambda src: src.choice(["dark", "light"]),
    "drawing": lambda src: src.choice(["rasi", "bhava"]),
    "workers": lambda src: src.choice([None, 1, 2]),
    "sunrise": lambda src: src.choice(["upper_limb", "disc_center", "DISC_CENTER"]),
}


def valid_rows(src, n):
    rows = []
    for _ in range(n):
        y, mo = pick_year(src), src.integer(1, 12)
        rows.append((y, mo, src.integer(1, days_in_month(y, mo)), src.integer(0, 23),
                     src.integer(0, 59), src.integer(0, 59), round(src.real(-66, 66), 3),
                     round(src.real(-180, 180), 3), src.choice([0.0, 1400.0])))
    return rows


def instant_span(src, instant):
    """(from, to) texts a short time apart, in the forms a search accepts."""
    y, mo, d, h, mi, s = instant
    y = min(max(y, 1), 9990)
    start = dt.datetime(y, mo, d, h, mi, s, tzinfo=dt.timezone.utc)
    in_files = 1800 <= y <= 2399
    seconds = src.choice([0, 1, 3600, 86400, int(2.9 * 86400), int(3.5 * 86400)]
                         + ([10 * 86400, 30 * 86400] if in_files else []))
    end = start + dt.timedelta(seconds=seconds)
    if src.chance(0.05):
        start, end = end, start  # backwards: an empty or refused span
    return instant_text(src, start), instant_text(src, end)


def instant_text(src, moment):
    zulu = moment.isoformat()[:19] + "Z"  # isoformat pads years below 1000, strftime not
    form = src.integer(0, 4)
    if form == 0:
        return zulu[:10] if moment.time() == dt.time() else zulu
    if form == 1:
        return zulu
    offset = dt.timedelta(minutes=src.choice([0, 345, -570, 840, -720, 1439, -1439]))
    try:
        local = (moment + offset).replace(tzinfo=dt.timezone(offset))
    except OverflowError:
        return zulu
    text = local.isoformat()
    if form == 3:  # date, space, time, offset without colon
        return text.replace("T", " ")[:-3] + text[-2:]
    if form == 4:
        return text[:19] + ".5" + text[19:]
    return text


# --------------------------------------------------------------------- adversarial values

def mutate(src, text):
    """A near miss of a valid text: one character inserted, deleted or replaced."""
    if not isinstance(text, str) or len(text) > 10000:
        return text
    pos = src.integer(0, len(text))
    op = src.integer(0, 3)
    noise = src.choice(STRING_NOISE)
    if op == 0:
        return text[:pos] + noise + text[pos:]
    if op == 1:
        return text[:pos] + text[pos + 1:]
    if op == 2:
        return text[:pos] + noise + text[pos + 1:]
    return src.choice([text.upper(), text.lower(), " " + text, text + " ", text + "\0",
                       text.swapcase(), text * 2])


ADVERSARIAL_TEXTS = {
    "ayanamsa": ["custom:nan", "custom:inf", "custom:-inf", "custom:1e400", "custom:-1e400",
                 "custom:infinity", "custom:NaN", "custom:1e308", "custom:-1e308", "custom:",
                 "custom: 1", "custom:1_0", "custom:0x10", "custom:\u0661", "custom:5.",
                 "custom:.5", "custom:+5", "custom:-0", "custom:1e-400", "custom:" + "9" * 400,
                 "custom:23.5\0", "custom", "fagan", "lahiri\0", "custom:23.5 "],
    "house": ["porphyry", "placidus\0", "equal ", "whole sign", "wholesign", "W"],
    "locale": ["hi", "hi-IN", "ne_np", "en_US", "\0"],
    "mode": ["lunar", "civil", "sunrise", "civil_day\0", "sunrise-day"],
    "style": ["east", "north ", "\0"], "theme": ["blue", "Dark\0"], "drawing": ["chalit"],
    "sunrise": ["hindu", "disc", "upper limb", "upper_limb\0"],
    "sign": ["Ophiuchus", "Aries\0", "aries ", "Sag", "\u0130"],
    "planet": ["pluto", "uranus", "sun\0", "sun ", "node", "asc", "Ketu\u0131"],
    "zone": ["Fixed/UTC+05:45:00", "Fixed/UTC-24:00:00", "Fixed/UTC+24:00:00",
             "Fixed/UTC+25:00:00", "Fixed/UTC", "posix/Asia/Kathmandu", "posixrules", "utc",
             "localtime", "/etc/localtime", "../../etc/passwd", "Asia/Kathmandu/",
             "Asia//Kathmandu", "right/UTC", "zone.tab", "+VERSION", "Asia", "Etc/GMT+13",
             "Etc/GMT-15", "EST5EDT", "Factory", "file:UTC", BIG_ZONE, "Mars/Olympus"],
    "date": ["2024-02-30", "2023-02-29", "2024-13-01", "2024-00-10", "2024-01-00", "0000-01-01",
             "-001-01-01", "10000-01-01", "9999-12-31", "0001-01-01", "2024-1-1", "2024/01/01",
             "20240101", "2024-01-01T00:00:00", "\uff12\uff10\uff12\uff14-01-01", BIG_DATE,
             "2011-12-30", "2024-03-10", "2024-11-03"],
    "time": ["23:59:60", "24:00:00", "00:00:60", "12:60:00", "-1:00:00", "1:00:00", "12:00",
             "12:00:00.5", "12:00:00Z", "02:30:00", "01:30:00", "00:00:00", "23:59:59"],
    "instant": ["0000-01-01", "9999-12-31T23:59:59Z", "2024-01-01T23:59:60Z",
                "2024-01-01T24:00:00Z", "2024-02-30", "2024-01-01T00:00:00+99:99",
                "2024-01-01T00:00:00+24:00", "2024-01-01T00:00:00-23:59",
                "2024-01-01T00:00:00." + "9" * 400 + "Z", "2024-01-01T00:00:00.Z",
                "+2024-01-01", "-001-01-01", "2024-01-01\0", " 2024-01-01", "2024-01-01 ",
                "2024-01-01T00:00:00z", "2024-01-01t00:00:00Z", "2024-01-01 00:00:00+05:45",
                "2024-01-01T00:00:00", "yesterday", "3003-04-28", "5000-01-01", BIG_DATE],
}

# Whole argument lists that have been seen to go wrong, or sit on an edge.
EDGE_CALLS = {
    "get_transits": [("3003-04-20", "3003-05-01"), ("3003-04-28T22:00:00Z", "3003-04-29"),
                     ("5000-01-01", "5000-01-05"), ("2999-12-30", "3000-01-02"),
                     ("0000-01-01", "0000-01-02"), ("9999-12-29", "9999-12-31T23:59:59Z"),
                     ("2024-01-01", "2024-01-05", "custom:nan"),
                     ("2024-01-01", "2024-01-05", "custom:inf")],
    "find_time_windows": [("2024-01-01T00:00:00Z", 600, 1, "Aries", 0.0, 0.0, 0.0,
                           "custom:nan"),
                          ("9999-12-31T23:59:59Z", 2880, 60, "Leo", 0.0, 0.0),
                          ("0000-01-01T00:00:00Z", 2880, 9, "Leo", 0.0, 0.0)],
    "local_to_utc": [(2024, 3, 10, 2, 30, 0, "America/New_York"),
                     (2024, 11, 3, 1, 30, 0, "America/New_York"),
                     (2011, 12, 30, 12, 0, 0, "Pacific/Apia"),
                     (2024, 1, 1, 0, 0, 0, "Fixed/UTC+05:45:00"),
                     (2024, 1, 1, 0, 0, 0, "posix/Asia/Kathmandu"),
                     (0, 1, 1, 0, 0, 0, "UTC"), (-1, 12, 31, 23, 59, 59, "UTC"),
                     (10000, 1, 1, 0, 0, 0, "UTC"), (2024, 6, 30, 23, 59, 60, "UTC")],
    "compute_chart_batch": [(range(10**18),), (FakeRows(10**12, ["bad"]),),
                            (FakeRows(2**62, [(2000,) * 9]),), (range(0),)],
    "get_divisional_longitude": [(float("nan"), 9), (float("inf"), 60), (-float("inf"), 1)],
}


def adversarial(src, kind, valid):
    """A value meant to be refused (or to sit on an edge) for a parameter of `kind`."""
    roll = src.integer(0, 9)
    if roll == 0:
        return src.choice(WRONG_TYPES)
    if kind in ("int", "varga"):
        return src.choice(INT_EDGES)
    if kind in ("workers", "size"):  # never a thread per huge number, nor a giant drawing
        return src.choice([0, -1, 2**64, None, 1.5, "2", True, IndexRaises(), 99999])
    if kind == "minutes":  # a long window is legitimately slow: keep the size bounded
        return src.choice([0, -1, -2, 2880, -2**31, -2**31 - 1, 2**31, 2**64, 10**100, True,
                           IntSub(30), IndexRaises(), IndexReturnsFloat(), Reentrant(), 1.0,
                           float("nan"), "60"])
    if kind == "float":
        return src.choice(FLOAT_EDGES)
    if kind == "bool":
        return src.choice([0, 1, None, "True", 1.0, IntSub(1), FakeRows(0, []), []])
    if kind == "batch":
        return adversarial_batch(src)
    if kind == "chart":
        pool = instances()
        return src.choice([None, 5, zodiakit.Chart, pool["PlanetPosition"][0],
                           pool["Panchanga"][0], pool["KutaResult"][0], pool["Chart"][-1]])
    # text kinds
    if roll <= 3:
        return mutate(src, valid)
    if roll <= 5 and kind in ADVERSARIAL_TEXTS:
        return src.choice(ADVERSARIAL_TEXTS[kind])
    if roll == 6:
        return src.choice(TEXT_EDGES)
    if roll == 7:
        return StrSub(valid) if isinstance(valid, str) else valid
    return mutate(src, mutate(src, valid))


def adversarial_batch(src):
    good = valid_rows(src, 3)
    row = list(good[0])
    bad_row = list(row)
    bad_row[src.integer(0, 8)] = src.choice(INT_EDGES + FLOAT_EDGES[:12] + WRONG_TYPES)
    return src.choice([
        iter(good), (r for r in good), tuple(good), [tuple(bad_row)], [row], [tuple(row[:8])],
        [tuple(row) + (0,)], [good[0], tuple(bad_row)], [(), ()], "abc", b"ab", b"",
        bytearray(b"\x01"), {0: good[0]}, {good[0]}, 5, None, FakeRows(10**12, ["bad"]),
        FakeRows(2**62, ["bad"]), FakeRows(10**18, []), FakeRows(5, good[:2]),
        FakeRows(-1, []), FakeRows(2**63, []), FakeRows(IntSub(2), good),
        LenRaises(3, good), ItemRaises(3, good), [tuple(bad_row)] * 3,
        [tuple(FloatSub(v) if isinstance(v, float) else v for v in row)],
        [tuple(IntSub(v) if isinstance(v, int) else v for v in row)],
        [(IndexRaises(),) + tuple(row[1:])], [(Reentrant(),) + tuple(row[1:])],
        range(3), memoryview(b"abc"), good * 5,
    ])


# ------------------------------------------------------------------------------ instances

_INSTANCES = {}


def instances():
    """Instances of every class, built through the module's own constructors."""
    if not _INSTANCES:
        Chart = zodiakit.Chart
        charts = [Chart.from_utc(1990, 5, 15, 4, 30, 0, 27.7, 85.3),
                  Chart.from_local("2024-03-10", "03:30:00", "America/New_York", 40.7, -74.0,
                                   10.0, "raman", "placidus", False),
                  Chart.from_julian_day(2451545.0, -33.9, 151.2, 0.0, "custom:23.5", "koch"),
                  Chart.compute_bs(2081, 1, 1, 6, 30, 15, 27.7, 85.3, 0.0, "kp", "whole_sign"),
                  Chart.from_utc(1, 1, 1, 0, 0, 0, 89.0, 0.0, 0.0, "raman"),
                  Chart.compute(2999, 12, 31, 23, 59, 59, -66.0, -180.0, 10000.0, "true_chitra",
                                "equal", False)]
        c = charts[0]
        _INSTANCES.update({
            "Chart": charts,
            "PlanetPosition": list(c.planets().values()),
            "VargaPosition": c.divisional_chart(60) + c.vargas(9),
            "DashaPeriod": [p for ps in c.dasha().values() for p in ps[:2]],
            "YogaResult": c.yogas() or [],
            "KutaResult": [c.compatibility(other) for other in charts[:3]],
            "Panchanga": [zodiakit.Panchanga.from_local("2024-01-15", "06:00:00",
                                                        "Asia/Kathmandu", 27.7, 85.3),
                          zodiakit.Panchanga.from_local("2024-01-15", "03:00:00",
                                                        "Asia/Kolkata", 28.6, 77.2,
                                                        mode="sunrise_day",
                                                        ayanamsa="custom:20")],
            "ChartTable": [zodiakit.compute_chart_table([(1990, 5, 15, 4, 30, 0, 27.7, 85.3, 0.0),
                                                         (2024, 1, 1, 0, 0, 0, -33.9, 151.2, 0.0)]),
                           zodiakit.compute_chart_table([])],
        })
        missing = [n for n in dir(zodiakit) if isinstance(getattr(zodiakit, n), type)
                   and not n.startswith("_") and not _INSTANCES.get(n)]
        assert not missing, f"no instances of {missing}: teach instances() to build them"
    return _INSTANCES


# ----------------------------------------------------------------------------- the calls

class Call:
    def __init__(self, entry, target, args, kwargs, mode, allow=()):
        self.entry, self.target, self.args, self.kwargs = entry, target, args, kwargs
        self.mode = mode
        self.allow = allow  # further exception types this misuse may raise

    def __repr__(self):
        parts = [short_repr(a) for a in self.args]
        parts += [f"{k}={short_repr(v)}" for k, v in self.kwargs.items()]
        return f"{self.entry.name}({', '.join(parts)})  [{self.mode}]"

    def values(self):
        return list(self.args) + list(self.kwargs.values())

    def bound(self):
        """Parameter name -> value, as the entry point would bind them (when it can)."""
        names = [p for p, _ in self.entry.params]
        bound = dict(zip(names, self.args))
        bound.update((k, v) for k, v in self.kwargs.items() if type(k) is str)
        return bound

    def set(self, param, value):
        names = [p for p, _ in self.entry.params]
        if param in self.kwargs:
            self.kwargs[param] = value
        elif param in names and names.index(param) < len(self.args):
            args = list(self.args)
            args[names.index(param)] = value
            self.args = tuple(args)


MISUSES = ["missing", "too_many", "duplicate", "unknown_keyword", "odd_keyword"]


def make_call(src, entry):
    """One call of `entry`, valid or adversarial."""
    if entry.kind in ("property", "slot"):
        return make_attribute_call(src, entry)
    target = entry_target(src, entry)
    if entry.name in EDGE_CALLS and src.chance(0.03):
        return Call(entry, target, src.choice(EDGE_CALLS[entry.name]), {}, "edge")
    ctx = Context(src, entry)
    names = [p for p, _ in entry.params]
    values = {p: ctx.value(p) for p in names}
    roll = src.integer(0, 99)
    mode = ("valid" if roll < 35 else "one_bad" if roll < 80 else "chaos" if roll < 88
            else "misuse")
    if mode in ("one_bad", "chaos") and names:
        bad = [src.choice(names)] if mode == "one_bad" else \
            [p for p in names if src.chance(0.5)] or [names[0]]
        for p in bad:
            values[p] = adversarial(src, kind_of(entry, p), values[p])
    # Omit some defaults; pass a prefix by position and the rest by keyword.
    omitted = {p for p, has_default in entry.params if has_default and src.chance(0.4)}
    first_gap = next((i for i, p in enumerate(names) if p in omitted), len(names))
    cut = src.integer(0, first_gap)
    args = [values[p] for p in names[:cut]]
    kwargs = {p: values[p] for p in names[cut:] if p not in omitted}
    if mode == "misuse":
        args, kwargs = misuse(src, entry, args, kwargs, values)
    return guard_cost(Call(entry, target, tuple(args), kwargs, mode))


def misuse(src, entry, args, kwargs, values):
    what = src.choice(MISUSES)
    names = [p for p, _ in entry.params]
    if what == "missing" and names:
        drop = src.choice(names)
        args = [values[p] for p in names[:names.index(drop)]]
        kwargs = {p: values[p] for p in names[names.index(drop) + 1:] if src.chance(0.5)}
    elif what == "too_many":
        args = [values[p] for p in names] + [src.choice([0, "x", None])] * src.integer(1, 3)
        kwargs = {}
    elif what == "duplicate" and names:
        args = [values[p] for p in names]
        dup = src.choice(names)
        kwargs = {dup: values[dup]}
    elif what == "unknown_keyword":
        kwargs = dict(kwargs, **{src.choice(["bogus", "Year", "year\0", "y\u00e9ar", "",
                                              "self", "args", "kwargs"]): 1})
    else:  # keyword names that are str subclasses or not encodable
        name = src.choice(names) if names else "x"
        key = src.choice([StrSub(name), "\ud800", name + "\0", name.upper()])
        kwargs = {key: values.get(name, 0)}
        args = []
    return args, kwargs


def entry_target(src, entry):
    """The callable to invoke: the function, or a method bound to an instance."""
    if entry.kind in ("function",):
        return getattr(zodiakit, entry.attr)
    if entry.kind == "static":
        return getattr(entry.owner, entry.attr)
    pool = instances()[entry.owner.__name__]
    if src.chance(0.03):  # the unbound method on something that is not an instance of it
        wrong = src.choice([None, 5, "x", instances()["KutaResult"][0],
                            instances()["PlanetPosition"][0], instances()["Panchanga"][0],
                            instances()["Chart"][0]])
        if not isinstance(wrong, entry.owner):
            method = getattr(entry.owner, entry.attr)
            return lambda *a, **k: method(wrong, *a, **k)
    return getattr(src.choice(pool), entry.attr)


def make_attribute_call(src, entry):
    obj = src.choice(instances()[entry.owner.__name__])
    attr = entry.attr
    if entry.kind == "slot":
        fn = repr if attr == "__repr__" else str
        return Call(entry, lambda: fn(obj), (), {}, "valid")
    roll = src.integer(0, 19)
    if roll == 0:  # properties are read-only
        value = src.choice([None, 1, "x"])
        return Call(entry, lambda: setattr(obj, attr, value), (), {}, "set",
                    allow=(AttributeError,))
    if roll == 1:
        return Call(entry, lambda: delattr(obj, attr), (), {}, "delete",
                    allow=(AttributeError,))
    if roll == 2:  # the descriptor on a foreign object
        wrong = src.choice([5, "x", instances()["Chart"][0], instances()["KutaResult"][0]])
        descriptor = inspect.getattr_static(entry.owner, attr)
        if not isinstance(wrong, entry.owner):
            return Call(entry, lambda: descriptor.__get__(wrong, type(wrong)), (), {}, "foreign")
    return Call(entry, lambda: getattr(obj, attr), (), {}, "valid")


DATE_PREFIX = re.compile(r"(\d{4})-(\d{2})-(\d{2})")


def rough_day(text):
    """A day count that orders the dates a text may name, or None if it has none."""
    if not isinstance(text, str):
        return None
    m = DATE_PREFIX.match(text)
    if not m:
        return None
    y, mo, d = (int(g) for g in m.groups())
    return y * 372 + mo * 31 + d, y


def calendar_day(text):
    """The proleptic Gregorian day number of the date a text starts with, if it has one."""
    m = isinstance(text, str) and DATE_PREFIX.match(text)
    try:
        return dt.date(*(int(g) for g in m.groups())).toordinal() if m else None
    except ValueError:  # year 0, month 13, ...
        return None


def guard_cost(call):
    """Rewrites calls that would be legitimately slow (long searches) into short ones."""
    name, bound = call.entry.name, call.bound()
    if name == "get_transits":
        a, b = rough_day(bound.get("from_date")), rough_day(bound.get("to_date"))
        if a and b:
            in_files = all(1800 <= y <= 2399 for y in (a[1], b[1]))
            if b[0] - a[0] > (32 if in_files else 5):
                call.set("to_date", bound["from_date"])
    if name == "find_time_windows":
        minutes = bound.get("window_minutes")
        if type(minutes) is int and 2880 < minutes < 2**31:
            call.set("window_minutes", minutes % 2881)
    if name == "compute_chart_batch":
        rows = bound.get("inputs")
        if type(rows) is FakeRows and 10**5 < rows.length < 10**12:
            rows.length = 10**12  # fails at once (a modest claim is slow today)
    return call


# ---------------------------------------------------------------------------- the checks

class Unsound(Exception):
    """A result that breaks a property every result must have."""


def check_finite(value, path):
    if isinstance(value, float) and not math.isfinite(value):
        raise Unsound(f"{path} is {value}")


def walk(value, path="result", depth=0):
    """Every value reachable from a result, through containers and the module's objects."""
    if depth > 12:
        raise Unsound(f"{path}: nested more than 12 levels")
    if value is None or isinstance(value, (bool, int)):
        return
    if isinstance(value, float):
        check_finite(value, path)
    elif isinstance(value, str):
        try:
            value.encode("utf-8")
        except UnicodeEncodeError:
            raise Unsound(f"{path}: a string with a lone surrogate") from None
    elif isinstance(value, (list, tuple)):
        for i, item in enumerate(value):
            walk(item, f"{path}[{i}]", depth + 1)
    elif isinstance(value, dict):
        for key, item in value.items():
            walk(key, f"{path} key", depth + 1)
            walk(item, f"{path}[{key!r}]", depth + 1)
    elif type(value).__module__ == "zodiakit":
        walk_object(value, path, depth)
    else:
        raise Unsound(f"{path}: unexpected type {type(value).__name__}")


_READERS = {}


def readers_of(cls):
    """The public properties and methods without parameters of a class of the module."""
    if cls not in _READERS:
        raw = {a: inspect.getattr_static(cls, a) for a in dir(cls) if not a.startswith("_")}
        _READERS[cls] = ([a for a, r in raw.items() if inspect.isdatadescriptor(r)],
                         [a for a, r in raw.items() if callable(r)
                          and not isinstance(r, staticmethod)
                          and len(parameters_of(r)) == 1])
    return _READERS[cls]


def walk_object(obj, path, depth):
    cls = type(obj)
    if cls is zodiakit.Chart:
        check_chart(obj, full=False)
        return
    walk(repr(obj), f"repr({path})", depth + 1)
    properties, methods = readers_of(cls)
    for attr in properties:
        walk(getattr(obj, attr), f"{path}.{attr}", depth + 1)
    for attr in methods:
        walk(getattr(obj, attr)(), f"{path}.{attr}()", depth + 1)
    if cls is zodiakit.PlanetPosition:
        check_longitude(obj.longitude, f"{path}.longitude")
        if obj.sign is not None and obj.sign != SIGNS[int(obj.longitude // 30)]:
            raise Unsound(f"{path}: sign {obj.sign} at longitude {obj.longitude}")
        if not 1 <= obj.nakshatra_index <= 27 or not 1 <= obj.pada <= 4:
            raise Unsound(f"{path}: nakshatra {obj.nakshatra_index} pada {obj.pada}")


def check_longitude(value, path):
    if not isinstance(value, float) or not 0.0 <= value < 360.0:
        raise Unsound(f"{path} = {value!r}, expected a float in [0, 360)")


def check_chart(chart, full):
    """The cheap properties of every chart; with `full`, everything it can tell."""
    planets = chart.planets()
    if list(planets) != PLANETS:
        raise Unsound(f"planets {list(planets)}")
    for name, p in planets.items():
        walk_object(p, f"planets()[{name!r}]", 1)
    check_longitude(chart.ascendant(), "ascendant()")
    houses = chart.houses()
    if len(houses) != 12:
        raise Unsound(f"{len(houses)} houses")
    walk(houses, "houses()")
    walk(chart.settings(), "settings()")
    if not full:
        return
    for attr in ("metadata", "warnings", "aspects", "karakas", "ashtakavarga", "dasha",
                 "yogas", "explain", "to_dict", "to_svg"):
        walk(getattr(chart, attr)(), f"{attr}()")
    for varga in (1, 9, 60, 5):
        walk(chart.divisional_chart(varga), f"divisional_chart({varga})")
    walk(chart.compatibility(instances()["Chart"][0]), "compatibility()")
    walk([repr(chart), str(chart)], "repr/str")
    json.loads(chart.to_json(), parse_constant=reject_constant)


def reject_constant(name):
    raise Unsound(f"to_json() holds {name}")


INGRESS_KEYS = ["planet", "from_sign", "to_sign", "ingress_time", "is_retrograde"]


def check_result(call, result, full):
    """Raises Unsound when a returned value is not what the entry point promises."""
    name = call.entry.name
    if name == "calc_planet_longitude":
        check_longitude(result, name)
    elif name == "get_divisional_longitude":
        check_finite(result, name)
    elif name == "get_divisional_sign":
        if result not in SIGNS:
            raise Unsound(f"sign {result!r}")
    elif name == "local_to_utc":
        if not re.fullmatch(r"([+-]\d{5,}|-?\d{4})-\d\d-\d\dT\d\d:\d\d:\d\d\+00:00", result):
            raise Unsound(f"UTC text {result!r}")
    elif name == "compute_dignities":
        if len(result) != 4 or not all(type(v) is bool for v in result.values()):
            raise Unsound(f"dignities {result!r}")
    elif name == "get_transits":
        check_transits(call, result)
    elif name == "find_time_windows":
        for w in result:
            if type(w) is not tuple or len(w) != 2 or not time_key(w[0]) <= time_key(w[1]):
                raise Unsound(f"window {w!r}")
    elif isinstance(result, zodiakit.Chart):
        check_chart(result, full)
        return
    elif name == "compute_chart_batch":
        for chart in result[:3]:
            check_chart(chart, full=False)
    elif name in ("get_panchanga", "Panchanga.to_dict"):
        check_panchanga_dict(result)
    elif isinstance(result, zodiakit.Panchanga):
        check_panchanga_dict(result.to_dict())
        walk_object(result, "panchanga", 0)
        return
    walk(result)


def time_key(text):
    """Orders UTC texts across the signs of years: -0002-12-31 comes before -0001-01-01."""
    year, rest = re.fullmatch(r"([+-]?\d+)(-.*)", text).groups()
    return int(year), rest


def check_panchanga_dict(d):
    for key in ("tithi", "nakshatra", "yoga", "karana"):
        element = d[key]
        if not time_key(element["start_time_utc"]) <= time_key(element["end_time_utc"]):
            raise Unsound(f"{key} ends before it starts: {element}")


def check_transits(call, result):
    for r in result:
        if list(r) != INGRESS_KEYS or r["planet"] not in PLANETS:
            raise Unsound(f"ingress {r!r}")
        step = (SIGNS.index(r["to_sign"]) - SIGNS.index(r["from_sign"])) % 12
        if step not in (1, 11):
            raise Unsound(f"{r['planet']} jumps from {r['from_sign']} to {r['to_sign']} "
                          f"at {r['ingress_time']}")
    bound = call.bound()
    a, b = (calendar_day(bound.get(p)) for p in ("from_date", "to_date"))
    # The Moon keeps a sign at most ~2.5 days; a zone offset moves a date by up to a day.
    if a and b and b - a >= 5 and not any(r["planet"] == "Moon" for r in result):
        raise Unsound(f"no Moon ingress from {bound['from_date']} to {bound['to_date']}")


# --------------------------------------------------------------------------- known faults

def known_fault(call, outcome, problem):
    """The KNOWN_FAULTS entry a fault belongs to, or None for a new fault. `outcome` is the
    exception raised, or None when a result came back (`problem` says what is wrong with it,
    None when nothing is)."""
    del call, outcome, problem  # every fault known so far is fixed
    return None


# ------------------------------------------------------------------------------- the run

class Report:
    def __init__(self):
        self.calls = 0
        self.outcomes = collections.Counter()  # "returned", "ValueError", ...
        self.by_entry = collections.Counter()
        self.seconds = collections.Counter()  # per entry point
        self.known = collections.Counter()
        self.faults = []  # (description, call repr)
        self.slow = []  # (seconds, call repr)
        self.started = time.monotonic()

    def fault(self, text, call):
        self.faults.append((text, repr(call)))

    def summary(self):
        elapsed = time.monotonic() - self.started
        lines = [f"calls: {self.calls} in {elapsed:.1f} s "
                 f"({self.calls / max(elapsed, 1e-9):.0f} per second), "
                 f"{len(self.by_entry)} entry points"]
        lines.append("outcomes: " + ", ".join(f"{k} {v}" for k, v in
                                               self.outcomes.most_common()))
        for fault_id, n in sorted(self.known.items()):
            lines.append(f"known fault (awaiting its fix) {fault_id}: {n}")
        lines.append(f"faults: {len(self.faults)}")
        for text, call in self.faults[:20]:
            lines.append(f"  FAULT {text}\n        {call}")
        lines.append("most time: " + ", ".join(
            f"{k} {v:.1f} s" for k, v in self.seconds.most_common(6)))
        for seconds, call in sorted(self.slow, reverse=True)[:5]:
            lines.append(f"  slow ({seconds:.2f} s): {call}")
        return "\n".join(lines)


def reference_calls():
    """Answers computed at the start; later valid calls must give them again."""
    return [
        ("moon lahiri", lambda: zodiakit.calc_planet_longitude(2451545.0, "moon")),
        ("sun raman", lambda: zodiakit.calc_planet_longitude(2460000.5, "sun", "raman")),
        ("local_to_utc", lambda: zodiakit.local_to_utc(2024, 11, 3, 0, 30, 0,
                                                       "America/New_York")),
        ("chart", lambda: zodiakit.Chart.from_utc(1990, 5, 15, 4, 30, 0, 27.7, 85.3, 1400.0,
                                                  "kp", "placidus", False).to_json()),
        ("chart julian day", lambda: repr(zodiakit.Chart.from_julian_day(
            2451545.0, 51.5, -0.1).planets())),
        ("varga", lambda: zodiakit.get_divisional_longitude(123.456, 9)),
        ("windows", lambda: zodiakit.find_time_windows("2024-01-15T06:00:00Z", 300, 9,
                                                       "Leo", 27.7, 85.3)),
        ("transits", lambda: zodiakit.get_transits("2024-01-01", "2024-01-04",
                                                   "custom:23.5")),
        ("panchanga", lambda: zodiakit.get_panchanga(2024, 1, 15, 6, 0, 0, 27.7, 85.3,
                                                     locale="ne_NP")),
    ]


class Driver:
    """Calls entry points with generated arguments and checks every outcome."""

    def __init__(self, full_every=40, check_every=250):
        self.entries = discover()
        # Functions and constructors take the most arguments: they get the most calls.
        self.weighted = [e for e in self.entries
                         for _ in range(6 if e.kind in ("function", "static") else 1)]
        self.references = [(label, fn, fn()) for label, fn in reference_calls()]
        self.report = Report()
        self.full_every, self.check_every = full_every, check_every
        self._returned = 0

    def pick_entry(self, src):
        return src.choice(self.weighted)

    def step(self, src):
        """One generated call and its checks."""
        entry = self.pick_entry(src)
        call = make_call(src.for_call(), entry)
        self.run(call)
        if self.report.calls % self.check_every == 0:
            self.check_references(call)

    def run(self, call):
        report = self.report
        report.calls += 1
        report.by_entry[call.entry.name] += 1
        started = time.perf_counter()
        try:
            with warnings.catch_warnings():
                warnings.simplefilter("ignore", DeprecationWarning)
                result = call.target(*call.args, **call.kwargs)
        except BaseException as error:  # noqa: BLE001 - classifying every outcome is the job
            self.classify_error(call, error)
            self.check_references(call, quick=True)
        else:
            report.outcomes["returned"] += 1
            self._returned += 1
            if call.mode in ("set", "delete"):
                report.fault(f"a read-only attribute allowed {call.mode}", call)
            try:
                check_result(call, result, full=self._returned % self.full_every == 0)
                problem = None
            except Unsound as unsound:
                problem = f"unsound result: {unsound}"
            except KeyboardInterrupt:
                raise  # a real Ctrl-C stops the run
            except BaseException as error:  # noqa: BLE001 - reading a result failed
                problem = f"reading the result raised {type(error).__name__}: {error}"
            known = known_fault(call, None, problem)
            if known and (problem or known not in FAULTY_ONLY_WHEN_UNSOUND):
                report.known[known] += 1
            elif problem:
                report.fault(problem, call)
            del result
        seconds = time.perf_counter() - started
        report.seconds[call.entry.name] += seconds
        if seconds > 1.0:
            report.slow.append((seconds, repr(call)))

    def classify_error(self, call, error):
        report = self.report
        kind = type(error).__name__
        report.outcomes[kind] += 1
        if isinstance(error, HookError):
            return  # an argument object's own exception, propagated
        if isinstance(error, IndexError) and any(isinstance(v, FakeRows) for v in call.values()):
            return  # a sequence that lies about its length
        if isinstance(error, call.allow):
            return
        problem = None
        if isinstance(error, KeyboardInterrupt):
            raise error  # a real Ctrl-C stops the run
        if isinstance(error, SystemError) or not isinstance(error, DOCUMENTED):
            problem = f"{kind}: {error}"
        elif not str(error):
            problem = f"{kind} without a message"
        if problem:
            known = known_fault(call, error, problem)
            if known:
                report.known[known] += 1
            else:
                report.fault(problem, call)

    def check_references(self, after, quick=False):
        refs = self.references[:3] if quick else self.references  # quick: the cheap ones
        for label, fn, expected in refs:
            try:
                got = fn()
            except KeyboardInterrupt:
                raise
            except BaseException as error:  # noqa: BLE001
                got = f"raised {type(error).__name__}: {error}"
            if got != expected:
                self.report.fault(f"reference '{label}' changed to {short_repr(got)}", after)
                return


def run_random(calls, seed, progress=None):
    import random
    driver = Driver()
    src = RandomSource(random.Random(seed))
    last = time.monotonic()
    try:
        for _ in range(calls):
            driver.step(src)
            if progress and time.monotonic() - last > progress:
                last = time.monotonic()
                r = driver.report
                print(f"... {r.calls} calls, {len(r.faults)} faults", file=sys.stderr,
                      flush=True)
    except KeyboardInterrupt:
        print("interrupted", file=sys.stderr)
    driver.check_references(None)
    return driver.report


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--calls", type=int, default=1_000_000)
    parser.add_argument("--seed", type=int, default=int(time.time()))
    args = parser.parse_args()
    print(f"zodiakit from {zodiakit.__file__}, seed {args.seed}", flush=True)
    report = run_random(args.calls, args.seed, progress=30)
    print(report.summary())
    print("by entry point: " + ", ".join(f"{k} {v}" for k, v in sorted(report.by_entry.items())))
    sys.exit(1 if report.faults else 0)


if __name__ == "__main__":
    main()
