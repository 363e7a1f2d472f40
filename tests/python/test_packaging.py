"""The package around the compiled core: layout, exported symbols, the stub against the
runtime, where ephemeris data and time zones are read from."""
import ast
import importlib.metadata
import json
import os
import pathlib
import shutil
import subprocess
import sys

import pytest

import zodiakit

PACKAGE = pathlib.Path(zodiakit.__file__).parent
ROOT = pathlib.Path(__file__).resolve().parents[2]
STUB = PACKAGE / "__init__.pyi"
DEBIAN_EPHE = "/usr/share/libswe/ephe"


def run_python(code, *, cwd=None, env=None, path=PACKAGE.parent):
    """Runs code in a new interpreter that imports the zodiakit under test (from `path`)."""
    environment = {k: v for k, v in os.environ.items()
                   if k not in ("TZDIR", "ZODIAKIT_EPHE_PATH", "SE_EPHE_PATH")}
    environment["PYTHONPATH"] = str(path)
    environment.update(env or {})
    done = subprocess.run([sys.executable, "-c", code], cwd=cwd, env=environment,
                          capture_output=True, text=True, timeout=120)
    assert done.returncode == 0, done.stderr
    return done.stdout


def test_layout_and_version():
    core = sys.modules["zodiakit._core"]
    assert pathlib.Path(core.__file__).name == "_core.abi3.so"
    assert pathlib.Path(core.__file__).parent == PACKAGE
    assert {"__init__.py", "__init__.pyi", "py.typed"} <= {p.name for p in PACKAGE.iterdir()}
    assert zodiakit.__version__ == importlib.metadata.version("zodiakit")
    assert zodiakit.__all__ == [n for n in vars(zodiakit) if not n.startswith("_")]
    assert zodiakit._core is core  # also after the core left the package's namespace


def test_the_core_exports_only_its_init_function():
    core = sys.modules["zodiakit._core"].__file__
    out = subprocess.run(["nm", "-D", "--defined-only", core], capture_output=True, text=True,
                         check=True).stdout
    assert [line.split()[-1] for line in out.splitlines()] == ["PyInit__core"]


# ---------------------------------------------------------------- the stub

def stub_typed_dicts():
    """TypedDict name -> its keys in order, read from the stub."""
    tree = ast.parse(STUB.read_text())
    return {node.name: [s.target.id for s in node.body if isinstance(s, ast.AnnAssign)]
            for node in tree.body
            if isinstance(node, ast.ClassDef) and any(
                isinstance(b, ast.Name) and b.id == "TypedDict" for b in node.bases)}


def runtime_dicts():
    chart = zodiakit.Chart.from_local("1990-05-15", "10:15:00", "Asia/Kathmandu", 27.7, 85.3)
    document = chart.to_dict()
    custom = zodiakit.Chart.from_utc(2000, 1, 1, 0, 0, 0, 10.0, 10.0, ayanamsa="custom:23.5")
    day = zodiakit.get_panchanga(2024, 1, 15, 6, 0, 0, 27.7, 85.3)
    [calendar_day] = zodiakit.get_panchanga_calendar("2024-01-15", "2024-01-15", "Asia/Kolkata",
                                                     28.6, 77.2)
    return {
        "ChartMetadata": chart.metadata(),
        "HouseCusp": chart.houses()[0],
        "Aspect": chart.aspects()[0],
        "Ashtakavarga": chart.ashtakavarga(),
        "Explanation": chart.explain(),
        "Shadbala": chart.planets()["Sun"].shadbala,
        "Dignities": zodiakit.compute_dignities("sun", "aries", 10.0),
        "ChartDict": document,
        "ChartLocation": document["location"],
        "CustomAyanamsa": custom.to_dict()["ayanamsa"],
        "PlanetDict": document["planets"][0],
        "ShadbalaScore": document["planets"][0]["shadbala"],
        "HouseDict": document["houses"][0],
        "DashaPeriodDict": next(iter(document["dasha"].values()))[0],
        "VargaDict": next(iter(document["divisional_charts"].values()))[0],
        "YogaDict": document["yogas"][0],
        "Vara": day["vara"],
        "PanchangaElement": day["karana"],
        "Tithi": day["tithi"],
        "NakshatraElement": day["nakshatra"],
        "PanchangaMetadata": day["metadata"],
        "PanchangaDict": day,
        "SunMoon": day["sun_moon"],
        "DaySpan": day["day_divisions"]["rahu_kalam"],
        "DayDivisions": day["day_divisions"],
        "LunarMonth": day["lunar_calendar"]["masa_amanta"],
        "LunarCalendar": day["lunar_calendar"],
        "TithiDay": calendar_day["tithi_day"],
        "Sankranti": calendar_day["tithi_day"]["sankranti"],
        "Transit": zodiakit.get_transits("2024-01-01", "2024-01-05")[0],
    }


def test_every_typed_dict_of_the_stub_has_the_runtime_keys_in_order():
    typed, runtime = stub_typed_dicts(), runtime_dicts()
    assert sorted(typed) == sorted(runtime)
    for name, keys in typed.items():
        assert list(runtime[name]) == keys, name
    assert "dict[str, Any]" not in STUB.read_text()


def run_mypy(*args):
    pytest.importorskip("mypy", reason="mypy is installed by scripts/setup.sh")
    env = dict(os.environ)
    if PACKAGE.parent.name != "site-packages":  # a build folder on PYTHONPATH
        env["MYPYPATH"] = str(PACKAGE.parent)
        env["PYTHONPATH"] = str(PACKAGE.parent)
    return subprocess.run([sys.executable, "-m", *args], cwd=ROOT, env=env, capture_output=True,
                          text=True, timeout=300)


def test_user_code_type_checks_strictly_and_mistakes_are_caught(tmp_path):
    cache = ("--cache-dir", str(tmp_path))
    good = run_mypy("mypy", "--strict", *cache, "tests/typing/user_script.py")
    assert good.returncode == 0, good.stdout
    bad = run_mypy("mypy", "--strict", *cache, "tests/typing/misuse.py")
    assert 'TypedDict "ChartMetadata" has no key "timezon"' in bad.stdout
    assert 'TypedDict "Tithi" has no key "pada"' in bad.stdout
    assert "Found 3 errors" in bad.stdout, bad.stdout


def test_stub_matches_the_runtime():
    done = run_mypy("mypy.stubtest", "zodiakit")
    assert done.returncode == 0, done.stdout + done.stderr


# ---------------------------------------------------------------- data the module reads

POSITIONS = """
import json, os, threading, zodiakit
def positions():
    return [zodiakit.calc_planet_longitude(jd, p) for jd in (2378497.0, 2451545.0, 2488069.5)
            for p in ("moon", "sun", "mars", "saturn")]
out = {"main": positions()}
thread = threading.Thread(target=lambda: out.update(thread=positions()))
thread.start(); thread.join()
reader, writer = os.pipe()
if os.fork() == 0:
    os.write(writer, json.dumps(positions()).encode()); os._exit(0)
os.close(writer)
out["child"] = json.loads(os.read(reader, 1 << 16))
print(json.dumps(out))
"""


def test_files_in_the_working_directory_are_never_read(tmp_path):
    # The library's default search starts in the working directory, and each thread (and
    # each forked child after closing its files) starts with the default again.
    reference = json.loads(run_python(POSITIONS))
    for name in ("semo_18.se1", "sepl_18.se1", "sedeltat.txt"):
        (tmp_path / name).write_bytes(b"junk " * 4096)
    planted = json.loads(run_python(POSITIONS, cwd=tmp_path))
    assert planted == reference
    assert reference["main"] == reference["thread"] == reference["child"]


def test_zodiakit_ephe_path_names_the_data_folder(tmp_path):
    code = ("import zodiakit; print(repr(zodiakit.calc_planet_longitude(2451545.0, 'moon')),"
            " zodiakit.Chart.from_utc(1990, 5, 15, 4, 30, 0, 27.7, 85.3).metadata()['ephemeris'])")
    default = run_python(code)
    for f in ("sepl_18.se1", "semo_18.se1", "seas_18.se1"):
        if not (PACKAGE / "ephe" / f).exists() and not pathlib.Path(DEBIAN_EPHE, f).exists():
            pytest.skip("no ephemeris data files here")
        source = PACKAGE / "ephe" / f
        (tmp_path / f).symlink_to(source if source.exists() else pathlib.Path(DEBIAN_EPHE, f))
    assert run_python(code, env={"ZODIAKIT_EPHE_PATH": str(tmp_path)}) == default
    # Without the files the library computes analytically: close, but not the same.
    empty = tmp_path / "empty"
    empty.mkdir()
    analytical = run_python(code, env={"ZODIAKIT_EPHE_PATH": str(empty)})
    (moon, label), (analytical_moon, analytical_label) = (
        text.rstrip("\n").split(" ", 1) for text in (default, analytical))
    assert (label, analytical_label) == ("Swiss Ephemeris", "Swiss Ephemeris (analytical)")
    assert moon != analytical_moon and abs(float(analytical_moon) - float(moon)) < 0.01


ZONES = """
import zodiakit
for zone in ("Asia/Kathmandu", "UTC", "Mars/Olympus"):
    try:
        print(zodiakit.local_to_utc(2000, 1, 1, 5, 45, 0, zone))
    except ValueError as e:
        print(e)
"""


def test_a_missing_time_zone_database_is_its_own_error(tmp_path):
    system = run_python(ZONES).splitlines()
    assert system == ["2000-01-01T00:00:00+00:00", "2000-01-01T05:45:00+00:00",
                      "Unknown timezone: Mars/Olympus"]
    # A copy of the package with no tzdata package beside it, and no system database.
    shutil.copytree(PACKAGE, tmp_path / "zodiakit", ignore=shutil.ignore_patterns("ephe"))
    missing = tmp_path / "no-zoneinfo"
    lost = run_python(ZONES, env={"TZDIR": str(missing)}, path=tmp_path).splitlines()
    message = f"time-zone database not found (looked in {missing} and {tmp_path}/tzdata/zoneinfo)"
    assert lost == [message, "2000-01-01T05:45:00+00:00", message]
    # The tzdata package beside the module stands in for the system database.
    if (PACKAGE.parent / "tzdata" / "zoneinfo").is_dir():
        assert run_python(ZONES, env={"TZDIR": str(missing)}).splitlines() == system
