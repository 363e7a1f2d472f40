"""The module's surface: names, signatures, docstrings, argument binding. The stub is held
to the runtime by stubtest (test_packaging.py)."""

import inspect
import tracemalloc

import pytest

import zodiakit

CLASSES = {
    "Chart": "Python wrapper for Chart",
    "PlanetPosition": "Python wrapper for PlanetPosition",
    "VargaPosition": "Divisional (varga) position \u2014 "
    "`display_longitude` is for chart drawing only.",
    "Panchanga": "The panchanga of a place and moment: tithi, nakshatra, yoga, karana and "
    "vara, each\nwith its start and end times. Made by Panchanga.from_local.",
    "DashaPeriod": "Python wrapper for DashaPeriod",
    "YogaResult": "Python wrapper for YogaResult.\n"
    "Each yoga has a name, category, BPHS-cited description, and the planets involved.",
    "KutaResult": "Python wrapper for KutaResult (Ashtakoota compatibility).",
    "ChartTable": "Charts as columns, one row per chart (compute_chart_table). pyarrow.table(t), "
    "polars.DataFrame(t) and pandas (through pyarrow) read it without copying per chart.",
}

OPTS = 'ayanamsa="lahiri", house_system="equal", true_nodes=True)'
FUNCTIONS = {  # name -> text signature
    "get_panchanga": '(year, month, day, hour, minute, second, latitude, longitude, '
    'altitude=0.0, ayanamsa="lahiri", true_nodes=True, locale="en", sunrise="upper_limb")',
    "compute_chart_bs": "(bs_year, bs_month, bs_day, hour, minute, second, latitude, longitude, "
    "altitude=0.0, " + OPTS,
    "compute_chart_batch": "(inputs, " + OPTS[:-1] + ", workers=None)",
    "compute_chart_table": "(inputs, " + OPTS[:-1] + ", workers=None)",
    "local_to_utc": "(year, month, day, hour, minute, second, tz_str)",
    "compute_dignities": "(planet_str, sign_str, longitude)",
    "get_transits": '(from_date, to_date, ayanamsa="lahiri", true_nodes=True)',
    "find_time_windows": '(base_date, window_minutes, varga, target_sign, lat, lon, alt=0.0, '
    'ayanamsa="lahiri", true_nodes=True)',
    "get_divisional_sign": "(lon, varga)",
    "get_divisional_longitude": "(lon, varga)",
    "calc_planet_longitude": '(jd, planet, ayanamsa="lahiri")',
    "get_panchanga_calendar": '(start_date, end_date, timezone, latitude, longitude, '
    'altitude=0.0, ayanamsa="lahiri", true_nodes=True, locale="en", sunrise="upper_limb", '
    "workers=None)",
}

# Static methods bind their arguments like the functions do.
STATIC_METHODS = ["Chart.from_utc", "Chart.compute", "Chart.from_local", "Chart.from_julian_day",
                  "Chart.compute_bs", "Panchanga.from_local"]


def parameters_of(text_signature):
    """(name, default) pairs of a text signature; defaults evaluated as Python literals."""
    pairs = [part.partition("=") for part in text_signature.strip("()").split(", ")]
    return [(name, eval(default) if default else inspect.Parameter.empty)
            for name, _, default in pairs]


def test_public_names_in_registration_order():
    assert sorted(n for n in dir(zodiakit) if not n.startswith("__")) == sorted(
        [*CLASSES, *FUNCTIONS])
    assert [n for n in vars(zodiakit) if not n.startswith("__")] == [*CLASSES, *FUNCTIONS]


@pytest.mark.parametrize("name", FUNCTIONS)
def test_function_signature_and_docstring(name):
    text_signature = FUNCTIONS[name]
    function = getattr(zodiakit, name)
    assert function.__text_signature__ == text_signature
    assert function.__doc__  # after the signature line, which __text_signature__ holds
    assert function.__module__ == "zodiakit"
    params = inspect.signature(function).parameters.values()
    assert [(p.name, p.default) for p in params] == parameters_of(text_signature)
    assert all(p.kind is p.POSITIONAL_OR_KEYWORD for p in params)


@pytest.mark.parametrize("name", CLASSES)
def test_class_docstring_and_no_constructor(name):
    cls = getattr(zodiakit, name)
    assert cls.__doc__ == CLASSES[name]
    assert cls.__module__ == "zodiakit"
    with pytest.raises(TypeError, match=f"^No constructor defined for {name}$"):
        cls(1, year=2000)
    for make_empty in (lambda: cls.__new__(cls), lambda: type("Sub", (cls,), {})):
        with pytest.raises(TypeError):
            make_empty()


def runtime_object(name):
    owner, _, attribute = name.rpartition(".")
    return getattr(getattr(zodiakit, owner) if owner else zodiakit, attribute)


@pytest.mark.parametrize("name", [*FUNCTIONS, *STATIC_METHODS])
def test_binding_errors_match_cpython_and_come_before_conversion(name):
    owner, _, function = name.rpartition(".")
    signature = runtime_object(name).__text_signature__
    code = f"def {function}{signature}: pass"
    if owner:
        code = f"class {owner}:\n    @staticmethod\n    {code}"
    namespace = {}
    exec(code, namespace)  # CPython's own messages
    twin = getattr(namespace[owner], function) if owner else namespace[function]
    params = [p for p, _ in parameters_of(signature)]
    args = tuple(object() for _, default in parameters_of(signature)
                 if default is inspect.Parameter.empty)
    too_many = (object(),) * (len(params) + 1)
    for positional, keywords in [
        ((), {}),
        ((), dict(zip(params[1:], args[1:]))),
        (args, {"bogus": 1}),
        (args, {params[0]: args[0]}),
        (too_many, {}),
        (args, {"a\0b\u00e9": 1}),
    ]:
        try:
            twin(*positional, **keywords)
            continue  # with a single required parameter some of these bind fine
        except TypeError as error:
            expected = str(error)
        with pytest.raises(TypeError) as got:
            runtime_object(name)(*positional, **keywords)
        assert str(got.value) == expected, (positional, keywords)


@pytest.mark.parametrize(
    "kwargs, exc_type, cause_text",
    [
        ({"month": "1"}, TypeError, "'str' object cannot be interpreted as an integer"),
        ({"tz_str": b"UTC"}, TypeError, None),
        ({"month": -1}, OverflowError, None),
        ({"year": 2**31}, OverflowError, None),
        ({"hour": 10**30}, OverflowError, None),
    ],
)
def test_conversion_errors_name_the_argument_before_any_computation(kwargs, exc_type, cause_text):
    # The zone is unknown and the day impossible: conversion must fail first.
    call = dict(year=2024, month=1, day=99, hour=0, minute=0, second=0, tz_str="Nowhere/City")
    call.update(kwargs)
    with pytest.raises(exc_type) as info:
        zodiakit.local_to_utc(**call)
    param = next(iter(kwargs))
    cause = info.value.__cause__
    assert isinstance(cause, exc_type)
    assert str(info.value) == f"argument '{param}': {cause}"
    assert cause_text is None or str(cause) == cause_text


def test_float_and_bool_parameters():
    sun = zodiakit.calc_planet_longitude(2451545.0, "sun")
    assert zodiakit.calc_planet_longitude(2451545, "sun") == sun
    with pytest.raises(TypeError, match="^argument 'true_nodes': "):
        zodiakit.Chart.from_utc(2000, 1, 1, 0, 0, 0, 0.0, 0.0, true_nodes=1)


def test_repeated_calls_do_not_leak():
    def workload(rounds):
        for _ in range(rounds):
            zodiakit.calc_planet_longitude(2451545.0, "KETU", "custom:23.5")
            for function, args, kwargs in [
                (zodiakit.local_to_utc, (2024, 11, 3, 1, 30, 0, "America/New_York"), {}),
                (zodiakit.local_to_utc, (2024, "1", 1, 0, 0, 0, "UTC"), {}),
                (zodiakit.calc_planet_longitude, (2451545.0, "sun", "x"), {}),
                (zodiakit.calc_planet_longitude, (2451545.0, "sun"), {"bogus": 1}),
                (zodiakit.Chart, (), {}),
            ]:
                try:
                    function(*args, **kwargs)
                except (TypeError, ValueError, OverflowError):
                    pass

    workload(200)
    tracemalloc.start()
    before = tracemalloc.get_traced_memory()[0]
    workload(3000)
    grown = tracemalloc.get_traced_memory()[0] - before
    tracemalloc.stop()
    assert grown < 64 * 1024, f"{grown} bytes retained over 3000 rounds"
