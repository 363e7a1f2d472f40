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

AYANAMSAS = ["lahiri", "raman", "kp", "true_chitra", "true_pushya", "custom:23.45"]
HOUSE_SYSTEMS = ["equal", "whole_sign", "placidus", "koch"]


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
        return {"ayanamsa": rng.choice(AYANAMSAS), "house_system": rng.choice(HOUSE_SYSTEMS),
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


def test_copies_of_every_class_are_the_immutable_object_itself():
    chart = zk.Chart.from_utc(2000, 1, 1, 12, 0, 0, 27.7, 85.3)
    objects = [chart, chart.planets()["Moon"], chart.vargas(9)[0],
               chart.dasha()["vimshottari"][0], chart.compatibility(chart),
               zk.Panchanga.from_local("2024-01-15", "06:00:00", "Asia/Kathmandu", 27.7, 85.3)]
    objects += chart.yogas()[:1]
    for obj in objects:
        assert copy.copy(obj) is obj and copy.deepcopy(obj) is obj
    assert copy.deepcopy({"charts": [chart]})["charts"][0] == chart


@pytest.mark.parametrize("bad", [(), (1,) * 16, ("x",) * 16, "state"])
def test_a_damaged_state_is_refused(bad):
    restore, _ = zk.Chart.from_utc(2000, 1, 1, 0, 0, 0, 0.0, 0.0).__reduce__()
    with pytest.raises(ValueError, match="not the state of a pickled Chart"):
        restore(bad)


def charts_of_seed(seed):
    return random_charts(seed, 25)


@pytest.mark.parametrize("method", ["fork", "spawn"])
def test_charts_come_back_from_worker_processes(method):
    context = multiprocessing.get_context(method)
    with ProcessPoolExecutor(2, mp_context=context) as pool:
        got = [c for part in pool.map(charts_of_seed, [10, 11]) for c in part]
    expected = charts_of_seed(10) + charts_of_seed(11)
    assert got == expected
    assert [digest(c) for c in got] == [digest(c) for c in expected]
