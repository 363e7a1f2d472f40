"""The ephemeris calls of the searches, as the ephemeris layer counts them: the native
`ephemeris_calls` program (built with the C++ suites, linked to the counting build of the
ephemeris gateway) runs the same panchangas, transits and window search and prints them."""
import functools
import json
import pathlib
import subprocess

ROOT = pathlib.Path(__file__).resolve().parent.parent


@functools.cache
def ephemeris_calls():
    """calls_per_panchanga, calls_per_ingress, house_calls_per_window_sample and
    house_calls_per_window_instant, or {} when the program is not built."""
    exe = ROOT / "build" / "tests" / "ephemeris_calls"
    if not exe.exists():
        return {}
    out = subprocess.run([str(exe)], check=True, capture_output=True, text=True)
    return json.loads(out.stdout)
