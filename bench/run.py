"""Runs every benchmark in this folder and reports ratios to the ephemeris floor.

The floor is the cost of the raw Swiss Ephemeris calls one chart cannot avoid (2 house
calls + 9 position calls), measured by the native `ephemeris_floor` program in this run.
A ratio of 1.3x means a chart costs 1.3 times those raw calls.
"""
import importlib
import json
import pathlib
import subprocess
import sys

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parent


def floor_rate():
    exe = ROOT / "build" / "tests" / "ephemeris_floor"
    out = subprocess.run([str(exe), "2000"], check=True, capture_output=True, text=True)
    return float(out.stdout.strip())


def peer_rates():
    """The peers' figures from the benchmark environment, or {} when it is not set up."""
    python = ROOT / ".venv-bench" / "bin" / "python"
    if not python.exists():
        return {}
    out = subprocess.run([str(python), str(HERE / "peers.py")], check=True,
                         capture_output=True, text=True)
    return json.loads(out.stdout)


def main():
    sys.path.insert(0, str(HERE))
    rate = floor_rate()
    peers = peer_rates()
    print(f"ephemeris floor       {rate:9.0f} instants/s  (2 house + 9 position calls each)")
    if peers:
        print(f"pyswisseph floor      {peers['pyswisseph_floor']:9.0f} instants/s  "
              f"(the same calls from Python)")
    for path in sorted(HERE.glob("bench_*.py")):
        module = importlib.import_module(path.stem)
        print(f"-- {path.stem}")
        module.run(rate, peers)


if __name__ == "__main__":
    main()
