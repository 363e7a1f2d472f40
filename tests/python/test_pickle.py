"""Pickles, copies and equality; charts between processes."""

import copy
import hashlib
import inspect
import multiprocessing
import pickle
import random
from concurrent.futures import ProcessPoolExecutor

import pytest

import zodiakit as zk
from goldens import AYANAMSAS, HOUSES



def random_charts(seed, count):
    rng = random.Random(seed)
    makers = [
        lambda: zk.Chart.from_utc(rng.randint(1800, 2399), rng.randint(1, 12), rng.randint(1, 28),
                                  rng.randint(0, 23), rng.randint(0, 59), rng.randint(0, 59),
                                  rng.uniform(-60, 60), rng.uniform(-180, 180),
                                  rng.uniform(0, 4000), **options()),
        lambda: zk.Chart.from_local(f"{rng.randint(1900, 2100)}-0{rng.randint(1, 9)}-1{rng.randint(0, 9)}",
                                    f"{rng.randint(10, 23)}:{rng.randint(10, 59)}:00",
                                    rng.choice(["Asia/Kathmandu", "Europe/Paris", "UTC"]),
                                    rng.uniform(-60, 60), rng.uniform(-180, 180), **options()),
        lambda: zk.Chart.from_julian_day(rng.uniform(2378497, 2597641), rng.uniform(-60, 60),
                                         rng.uniform(-180, 180), **options()),
        lambda: zk.compute_chart_bs(rng.randint(2000, 2090), rng.randint(1, 12), rng.randint(1, 28),
                                    12, 0, 0, 27.7, 85.3, **options()),
    ]

    def options():
        return {"ayanamsa": rng.choice(AYANAMSAS), "house_system": rng.choice(HOUSES),
                "true_nodes": rng.random() < 0.5}

    return [rng.choice(makers)() for _ in range(count)]


def digest(chart):
    return hashlib.sha256(chart.to_json().encode()).hexdigest()


def plain(value):
    """A result with every object of the module replaced by a dict of its attributes."""
    if isinstance(value, dict):
        return {k: plain(v) for k, v in value.items()}
    if isinstance(value, (list, tuple)):
        return [plain(v) for v in value]
    if type(value).__module__ == "zodiakit":
        return {name: plain(getattr(value, name)) for name, attribute in vars(type(value)).items()
                if inspect.isgetsetdescriptor(attribute)}
    return value


def every_view(chart):
    return plain((chart.settings(), chart.metadata(), chart.warnings(), chart.houses(),
            chart.ascendant(), chart.aspects(), chart.karakas(), chart.ashtakavarga(),
            chart.dasha(), chart.explain(), chart.to_dict(), chart.to_svg(), repr(chart),
            str(chart),
            chart.planets(), chart.vargas(9), chart.yogas(), chart.compatibility(chart)))


def test_pickled_charts_are_computed_again_equal():
    charts = random_charts(1, 2000)
    loaded = pickle.loads(pickle.dumps(charts, protocol=pickle.HIGHEST_PROTOCOL))
    assert loaded == charts
    assert [digest(c) for c in loaded] == [digest(c) for c in charts]
    for before, after in list(zip(charts, loaded))[:40]:
        assert every_view(after) == every_view(before)
        assert hash(after) == hash(before)
    # A pickle holds the inputs and settings, not the computed chart.
    assert len(pickle.dumps(charts[0])) < 300


def test_chart_equality_is_that_of_the_inputs():
    a = zk.Chart.from_utc(2000, 1, 1, 12, 0, 0, 27.7, 85.3)
    assert a == zk.Chart.from_utc(2000, 1, 1, 12, 0, 0, 27.7, 85.3)
    assert a != zk.Chart.from_utc(2000, 1, 1, 12, 0, 1, 27.7, 85.3)
    assert a != zk.Chart.from_utc(2000, 1, 1, 12, 0, 0, 27.7, 85.3, ayanamsa="raman")
    assert a != zk.Chart.from_utc(2000, 1, 1, 12, 0, 0, 27.7, 85.3, true_nodes=False)
    # The same instant entered another way is recorded differently.
    assert a != zk.Chart.from_julian_day(2451545.0, 27.7, 85.3)
    assert a != "chart" and len({a, zk.Chart.from_utc(2000, 1, 1, 12, 0, 0, 27.7, 85.3)}) == 1


def records_of(chart, other):
    """Objects of every record class a chart gives."""
    dasha = chart.dasha()["vimshottari"]
    return (list(chart.planets().values()) + chart.vargas(9) + chart.vargas(60) + dasha[:3]
            + dasha[0].sub_periods[:2] + chart.yogas() + [chart.compatibility(other)])


def panchangas():
    return [zk.Panchanga.from_local("2024-01-15", "06:00:00", "Asia/Kathmandu", 27.7, 85.3),
            zk.Panchanga.from_local("2024-01-15", "03:00:00", "Asia/Kolkata", 28.6, 77.2,
                                    mode="sunrise_day", ayanamsa="custom:20",
                                    sunrise="disc_center"),
            # The Sun neither rises nor sets: the day's times and divisions are None.
            zk.Panchanga.from_local("2024-06-21", "12:00:00", "Europe/Oslo", 78.2, 15.6,
                                    true_nodes=False)]


def every_record():
    charts = random_charts(5, 6)
    return [r for a, b in zip(charts, charts[1:]) for r in records_of(a, b)] + panchangas()


def shown(obj):
    """The object's own repr; None for the default one, which shows the address."""
    return repr(obj) if type(obj).__repr__ is not object.__repr__ else None


def test_records_of_every_class_pickle_and_copy_as_equal_objects():
    records = every_record()
    assert {type(r).__name__ for r in records} == {
        "PlanetPosition", "VargaPosition", "DashaPeriod", "YogaResult", "KutaResult", "Panchanga"}
    for protocol in (0, 2, pickle.HIGHEST_PROTOCOL):
        loaded = pickle.loads(pickle.dumps(records, protocol=protocol))
        assert loaded == records
        assert [hash(r) for r in loaded] == [hash(r) for r in records]
        assert plain(loaded) == plain(records)
        assert [shown(r) for r in loaded] == [shown(r) for r in records]
    for before, after in zip(panchangas(), pickle.loads(pickle.dumps(panchangas()))):
        assert (after.to_dict(), after.metadata(), after.warnings(), after._repr_html_()) == (
            before.to_dict(), before.metadata(), before.warnings(), before._repr_html_())
    for obj in records + random_charts(6, 2):
        assert copy.copy(obj) is obj and copy.deepcopy(obj) is obj
    assert copy.deepcopy({"records": records})["records"] == records


def test_records_are_equal_when_their_fields_are():
    first = records_of(*random_charts(7, 2))
    again = records_of(*random_charts(7, 2))  # computed anew
    assert first == again and first is not again
    assert len(set(first)) == len(set(first + again))
    moon, sun = first[1], first[0]
    assert moon != sun and moon != first[9] and moon != "Moon" and not moon == None  # noqa: E711
    shifted = zk.Chart.from_utc(2000, 1, 1, 12, 0, 1, 27.7, 85.3)
    chart = zk.Chart.from_utc(2000, 1, 1, 12, 0, 0, 27.7, 85.3)
    # One second moves the Moon's longitude: the records differ though their signs agree.
    assert chart.planets()["Moon"] != shifted.planets()["Moon"]
    assert chart.planets()["Moon"].sign == shifted.planets()["Moon"].sign
    assert chart.compatibility(chart) == shifted.compatibility(shifted)
    a, b, _ = panchangas()
    assert a != b and a == pickle.loads(pickle.dumps(a)) and (a != a) is False
    with pytest.raises(TypeError):
        moon < sun


def record_state(obj):
    restore, (name, version, fields) = obj.__reduce__()
    return restore, name, version, fields


def leaves(value, path=()):
    """(path, leaf) for every non-tuple value of a nested tuple."""
    if isinstance(value, tuple) and value:
        for i, item in enumerate(value):
            yield from leaves(item, path + (i,))
    else:
        yield path, value


def replaced(value, path, new):
    if not path:
        return new
    items = list(value)
    items[path[0]] = replaced(items[path[0]], path[1:], new)
    return tuple(items)


JUNK = [None, True, -1, 0, 13, 2**63, 1.5, float("nan"), "x", "\ud800", (), (1,), b"b", 10**100]


def test_damaged_record_states_are_refused_or_give_usable_objects():
    rng = random.Random(8)
    samples = every_record()
    for obj in samples:
        restore, name, version, fields = record_state(obj)
        assert restore(name, version, fields) == obj
        for bad in [(name, version + 1, fields), (name, version, fields[:-1]),
                    (name, version, fields + (0,)), (name, version, list(fields)),
                    ("Chart", version, fields), (name, str(version), fields)]:
            with pytest.raises(ValueError, match="not the state of a pickled"):
                restore(*bad)
        paths = [path for path, _ in leaves(fields)]
        for path in rng.sample(paths, min(12, len(paths))):
            damaged = replaced(fields, path, rng.choice(JUNK))
            try:
                got = restore(name, version, damaged)
            except ValueError as error:
                assert str(error) == f"not the state of a pickled {type(obj).__name__}"
                continue
            plain(got), shown(got), hash(got), got == obj  # every view of what it accepts works
            if name == "Panchanga":
                got.to_dict(), got._repr_html_()
    with pytest.raises(ValueError, match="not the state of a pickled zodiakit object"):
        restore("Planet", 1, ())
    with pytest.raises(ValueError, match="not the state of a pickled zodiakit object"):
        restore()


def test_dasha_states_are_bounded_like_computed_periods():
    period = zk.Chart.from_utc(2000, 1, 1, 12, 0, 0, 27.7, 85.3).dasha()["vimshottari"][1]
    restore, name, version, (lord, start, end, subs) = record_state(period)
    for bad in [(lord, start, end, subs + subs[:1]),          # ten sub-periods
                (lord, start, end, ((lord, start, end, (subs[0],)),) * 3),  # four levels deep
                (9, start, end, ()), (lord, 2**43, end, ()), (lord, start, -2**63, ())]:
        with pytest.raises(ValueError, match="pickled DashaPeriod"):
            restore(name, version, bad)


@pytest.mark.parametrize("bad", [(), (1,) * 16, ("x",) * 16, "state"])
def test_a_damaged_state_is_refused(bad):
    restore, _ = zk.Chart.from_utc(2000, 1, 1, 0, 0, 0, 0.0, 0.0).__reduce__()
    with pytest.raises(ValueError, match="not the state of a pickled Chart"):
        restore(bad)


def charts_of_seed(seed):
    charts = random_charts(seed, 25)
    return charts, records_of(charts[0], charts[1]), panchangas()


@pytest.mark.parametrize("method", ["fork", "spawn"])
def test_charts_and_records_come_back_from_worker_processes(method):
    context = multiprocessing.get_context(method)
    with ProcessPoolExecutor(2, mp_context=context) as pool:
        got = list(pool.map(charts_of_seed, [10, 11]))
    expected = [charts_of_seed(10), charts_of_seed(11)]
    assert got == expected
    assert [digest(c) for charts, _, _ in got for c in charts] == [
        digest(c) for charts, _, _ in expected for c in charts]
    assert plain([records for _, records, _ in got]) == plain(
        [records for _, records, _ in expected])
