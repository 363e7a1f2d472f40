"""The self-contained wheel of `make wheel`: what it carries, and that it computes exactly
what the development build computes on a system without libswe, cctz, the ephemeris data
and the time-zone database, and on every CPython from 3.10 on."""
import glob
import json
import os
import pathlib
import re
import shutil
import subprocess
import sys
import zipfile

import pytest

import zodiakit

pytestmark = [
    pytest.mark.slow,
    # The wheel is the release build: under make sanitize there is nothing of it to check,
    # and its installs would run under the sanitizer's runtime for nothing.
    pytest.mark.skipif(bool(os.environ.get("ZODIAKIT_SANITIZER")),
                       reason="the wheel is the release build, not the sanitized one"),
]

ROOT = pathlib.Path(__file__).resolve().parents[2]
WHEELHOUSE = ROOT / "build" / "wheelhouse"
DEBIAN_EPHE = pathlib.Path("/usr/share/libswe/ephe")
EPHE_FILES = ("sepl_18.se1", "semo_18.se1", "seas_18.se1")

RESULTS = """
import json, zodiakit
chart = zodiakit.Chart.from_local("1990-05-15", "10:15:00", "Asia/Kathmandu", 27.7, 85.3)
day = zodiakit.Panchanga.from_local("2024-01-15", "06:00:00", "Asia/Kathmandu", 27.7, 85.3)
print(json.dumps({
    "positions": [zodiakit.calc_planet_longitude(jd, planet)
                  for jd in (2378497.0, 2451545.0, 2488069.5)
                  for planet in ("sun", "moon", "mars", "mercury", "jupiter", "venus", "saturn",
                                 "rahu")],
    "panchanga": day.to_dict(),
    "chart": chart.to_json(),
    "version": zodiakit.__version__,
}))
"""


def results(python, *, env=None, prefix=()):
    environment = {k: v for k, v in os.environ.items()
                   if k not in ("PYTHONPATH", "TZDIR", "ZODIAKIT_EPHE_PATH", "SE_EPHE_PATH")}
    environment.update(env or {})
    done = subprocess.run([*prefix, str(python), "-c", RESULTS], env=environment,
                          capture_output=True, text=True, timeout=120)
    assert done.returncode == 0, done.stderr
    return json.loads(done.stdout)


@pytest.fixture(scope="module")
def wheel():
    found = sorted(WHEELHOUSE.glob("zodiakit-*-manylinux*.whl"))
    if not found:
        pytest.skip("no repaired wheel in build/wheelhouse: `make wheel` builds it")
    assert len(found) == 1, found
    return found[0]


@pytest.fixture(scope="module")
def development():
    """The results of the build under test (the one this pytest imports)."""
    return results(sys.executable, env={"PYTHONPATH": str(pathlib.Path(zodiakit.__file__).parents[1])})


def test_the_wheel_carries_the_libraries_data_stub_and_licence(wheel, tmp_path):
    assert re.fullmatch(r"zodiakit-[\d.]+-cp310-abi3-manylinux_2_\d+_x86_64\.whl", wheel.name)
    with zipfile.ZipFile(wheel) as archive:
        names = set(archive.namelist())
        package = {"__init__.py", "__init__.pyi", "py.typed", "_core.abi3.so",
                   *(f"ephe/{f}" for f in EPHE_FILES)}
        assert {f"zodiakit/{n}" for n in package} <= names
        grafted = sorted(n.split("/")[1].split("-")[0] for n in names
                         if n.startswith("zodiakit.libs/") and not n.endswith("/"))
        assert grafted == ["libcctz", "libswe"]
        info = next(n for n in names if n.endswith(".dist-info/METADATA"))
        assert "Requires-Dist: tzdata" in archive.read(info).decode()
        licence = next(n for n in names if n.endswith(".dist-info/licenses/LICENSE"))
        assert archive.read(licence).decode().lstrip().startswith(
            "GNU AFFERO GENERAL PUBLIC LICENSE")
        if DEBIAN_EPHE.is_dir():
            for f in EPHE_FILES:
                assert archive.read(f"zodiakit/ephe/{f}") == (DEBIAN_EPHE / f).read_bytes()
        core = archive.extract("zodiakit/_core.abi3.so", tmp_path)
    symbols = subprocess.run(["nm", "-D", "--defined-only", core], capture_output=True,
                             text=True, check=True).stdout
    assert [line.split()[-1] for line in symbols.splitlines()] == ["PyInit__core"]


def system_libraries():
    paths = glob.glob("/usr/lib/x86_64-linux-gnu/lib[sc][wc][et]*.so*") + glob.glob(
        "/lib/x86_64-linux-gnu/lib[sc][wc][et]*.so*")
    return sorted({os.path.realpath(p) for p in paths
                   if re.search(r"/lib(swe|cctz)\.so", p)})


def test_the_wheel_needs_no_system_library_data_or_zones(wheel, development, tmp_path):
    if shutil.which("unshare") is None or subprocess.run(
            ["unshare", "-m", "true"], capture_output=True).returncode != 0:
        pytest.skip("unshare -m is not permitted here: cannot hide the system's files")
    venv = tmp_path / "venv"
    subprocess.run([sys.executable, "-m", "venv", "--without-pip", venv], check=True)
    subprocess.run([sys.executable, "-m", "pip", "--python", venv / "bin" / "python", "install",
                    "-q", "--disable-pip-version-check", wheel], check=True, timeout=300)
    empty = tmp_path / "empty"
    empty.write_bytes(b"")
    hide = ["set -e"]
    for folder in ("/usr/share/libswe", "/usr/share/zoneinfo"):
        if os.path.isdir(folder):
            hide.append(f"mount -t tmpfs none {folder}")
    hide += [f"mount --bind {empty} {library}" for library in system_libraries()]
    # Inside: no system copy of either library can be loaded, no data, no zone.
    check = tmp_path / "hidden.py"
    check.write_text(
        "import ctypes, os, sys\n"
        "for name in ('libswe.so.2', 'libcctz.so.2'):\n"
        "    try:\n"
        "        ctypes.CDLL(name)\n"
        "    except OSError:\n"
        "        continue\n"
        "    sys.exit(name + ' is still loadable')\n"
        "for path in ('/usr/share/zoneinfo/Asia/Kathmandu', '/usr/share/libswe/ephe/semo_18.se1'):\n"
        "    assert not os.path.exists(path), path\n")
    hide.append(f'"$0" {check}')
    hide.append('exec "$0" "$@"')
    got = results(venv / "bin" / "python",
                  prefix=("unshare", "-m", "--propagation", "private", "sh", "-c",
                          "\n".join(hide)))
    assert got == development


def test_every_cpython_from_3_10_gives_the_same_results(wheel, development, tmp_path):
    pythons = sorted(glob.glob("/root/.pyenv/versions/3.1[0-3].*/bin/python3"))
    if not pythons:
        pytest.skip("no CPython 3.10-3.13 under /root/.pyenv/versions")
    with zipfile.ZipFile(wheel) as archive:
        archive.extractall(tmp_path)
    for python in pythons:
        assert results(python, env={"PYTHONPATH": str(tmp_path)}) == development, python
