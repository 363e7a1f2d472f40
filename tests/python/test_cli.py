"""The command line, run as `python -m zodiakit` in a child process."""
import json
import os
import subprocess
import sys

import pytest

import zodiakit
from zodiakit import Chart

KATHMANDU = ["1990-05-15", "10:15", "Asia/Kathmandu", "27.7", "85.3"]


def run(*args, stdin=""):
    return subprocess.run([sys.executable, "-m", "zodiakit", *args], input=stdin,
                          capture_output=True, text=True, env=os.environ.copy(), timeout=120)


def test_chart_json_svg_and_table(tmp_path):
    chart = Chart.from_local("1990-05-15", "10:15:00", "Asia/Kathmandu", 27.7, 85.3)
    done = run("chart", *KATHMANDU, "--json")
    assert (done.returncode, done.stdout, done.stderr) == (0, chart.to_json() + "\n", "")
    svg = tmp_path / "c.svg"
    done = run("chart", *KATHMANDU, "--svg", str(svg), "--style", "south", "--details",
               "--varga", "9", "--theme", "light", "--size", "300")
    assert done.returncode == 0
    assert svg.read_text() == chart.to_svg(style="south", details=True, varga=9,
                                           theme="light", size=300)
    done = run("chart", *KATHMANDU, "--houses", "placidus", "--svg", "-", "--bhava")
    placidus = Chart.from_local("1990-05-15", "10:15:00", "Asia/Kathmandu", 27.7, 85.3,
                                house_system="placidus")
    assert done.stdout == placidus.to_svg(chart="bhava") + "\n"
    table = run("chart", *KATHMANDU).stdout.splitlines()
    assert len(table) == 2 + 1 + 9 and table[3].split()[:2] == ["Sun", "Taurus"]


def test_errors_print_the_module_message_and_exit_2():
    for args, message in [
            (["chart", "1990-05-15", "10:15", "Asia/Nowhere", "27.7", "85.3"],
             "Unknown timezone: Asia/Nowhere"),
            (["chart", *KATHMANDU, "--svg", "-", "--style", "east"],
             "Unknown style 'east'. Valid options: north, south"),
            (["transits", "yesterday", "2000-01-01"], "Invalid date 'yesterday': invalid characters"),
            (["panchanga", "2024-06-21", "12:00", "Arctic/Longyearbyen", "78.22", "15.65",
              "--mode", "sunrise_day"], None)]:
        done = run(*args)
        assert done.returncode == 2 and done.stdout == ""
        if message is None:  # the module's own text, whatever it is
            try:
                zodiakit.Panchanga.from_local(args[1], args[2] + ":00", args[3],
                                                  float(args[4]), float(args[5]),
                                                  mode="sunrise_day")
            except ValueError as error:
                message = str(error)
        assert done.stderr == message + "\n"


def test_panchanga_transits_and_windows_match_the_module():
    done = run("panchanga", "2024-01-15", "06:00", "Asia/Kathmandu", "27.7", "85.3", "--json")
    p = zodiakit.Panchanga.from_local("2024-01-15", "06:00:00", "Asia/Kathmandu", 27.7, 85.3)
    assert json.loads(done.stdout) == p.to_dict()
    assert "Tithi" in run("panchanga", "2024-01-15", "06:00", "Asia/Kathmandu", "27.7",
                          "85.3").stdout
    done = run("transits", "2024-01-01", "2024-03-01", "--json")
    assert [json.loads(line) for line in done.stdout.splitlines()] == zodiakit.get_transits(
        "2024-01-01", "2024-03-01")
    done = run("windows", "2024-01-01T00:00:00Z", "600", "1", "Aries", "27.7", "85.3",
               "--json")
    assert [tuple(json.loads(line)) for line in done.stdout.splitlines()] == [
        tuple(w) for w in zodiakit.find_time_windows("2024-01-01T00:00:00Z", 600, 1, "Aries",
                                                     27.7, 85.3)]


ROWS = [("1990-05-15", "10:15", "Asia/Kathmandu", 27.7, 85.3, 1300.0),
        ("2001-12-31", "23:59:30", "Europe/London", 51.5, -0.12, 0.0)]


def expected_lines(**options):
    return "".join(Chart.from_local(d, t if t.count(":") == 2 else t + ":00", z, la, lo, al,
                                    **options).to_json() + "\n"
                   for d, t, z, la, lo, al in ROWS)


def test_batch_reads_csv_and_json_lines(tmp_path):
    csv_text = "date,time,timezone,latitude,longitude,altitude\n" + "".join(
        ",".join(map(str, row)) + "\n" for row in ROWS)
    done = run("batch", stdin=csv_text)
    # Piped: no progress bar on stderr.
    assert (done.returncode, done.stdout, done.stderr) == (0, expected_lines(), "")
    keys = ["date", "time", "timezone", "latitude", "longitude", "altitude"]
    jsonl = tmp_path / "in.jsonl"
    jsonl.write_text("".join(json.dumps(dict(zip(keys, row))) + "\n" for row in ROWS))
    out = tmp_path / "out.jsonl"
    done = run("batch", str(jsonl), "-o", str(out), "--houses", "koch")
    assert done.returncode == 0 and out.read_text() == expected_lines(house_system="koch")
    done = run("batch", stdin=csv_text.replace("Asia/Kathmandu", "Asia/Nowhere"))
    assert (done.returncode, done.stderr) == (2, "row 1: Unknown timezone: Asia/Nowhere\n")


def test_batch_writes_parquet(tmp_path):
    pq = pytest.importorskip("pyarrow.parquet")
    csv_text = "date,time,timezone,latitude,longitude\n1990-05-15,10:15,UTC,0,0\n"
    out = tmp_path / "charts.parquet"
    assert run("batch", "-o", str(out), stdin=csv_text).returncode == 0
    chart = Chart.from_local("1990-05-15", "10:15:00", "UTC", 0.0, 0.0)
    assert pq.read_table(out).column("chart").to_pylist() == [chart.to_json()]
