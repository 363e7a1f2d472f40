"""Runs every benchmark in this folder and reports ratios to the ephemeris floor.

The floor is the cost of the raw Swiss Ephemeris calls one chart cannot avoid (2 house
calls + 9 position calls), measured by the native `ephemeris_floor` program in this run.
A ratio of 1.3x means a chart costs 1.3 times those raw calls.
"""
import importlib
import pathlib
import subprocess
import sys

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parent


def floor_rate():
    exe = ROOT / "build" / "tests" / "ephemeris_floor"
    out = subprocess.run([str(exe), "2000"], check=True, capture_output=True, text=True)
    return float(out.stdout.strip())


def main():
    sys.path.insert(0, str(HERE))
    rate = floor_rate()
    print(f"ephemeris floor       {rate:9.0f} instants/s  (2 house + 9 position calls each)")
    for path in sorted(HERE.glob("bench_*.py")):
        module = importlib.import_module(path.stem)
        print(f"-- {path.stem}")
        module.run(rate)


if __name__ == "__main__":
    main()
