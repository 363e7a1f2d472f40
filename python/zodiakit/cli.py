"""The zodiakit command line: charts, panchangas, transits, ascendant windows and batches.

    zodiakit chart 1990-05-15 10:15 Asia/Kathmandu 27.7 85.3 [--json | --svg FILE]
    zodiakit panchanga 2024-01-15 06:00 Asia/Kathmandu 27.7 85.3
    zodiakit transits 2024-01-01 2024-12-31
    zodiakit windows 2024-01-01T00:00:00Z 60 9 Aries 27.7 85.3
    zodiakit batch births.csv > charts.jsonl

A module error prints its exact message on stderr and exits with status 2.
"""
import argparse
import csv
import importlib
import io
import json
import re
import sys

import zodiakit

SIGNS = ["Aries", "Taurus", "Gemini", "Cancer", "Leo", "Virgo", "Libra", "Scorpio",
         "Sagittarius", "Capricorn", "Aquarius", "Pisces"]


class Failure(Exception):
    """An error of the command's own (a bad input file), reported like the module's."""


def clock(text):
    """HH:MM or HH:MM:SS as the module's HH:MM:SS."""
    if re.fullmatch(r"\d{1,2}:\d{2}", text):
        return f"{text}:00"
    return text


def degrees(longitude):
    minutes = int(longitude % 30 * 60)
    return f"{minutes // 60:2d}\u00b0{minutes % 60:02d}'"


def add_place(p):
    p.add_argument("latitude", type=float)
    p.add_argument("longitude", type=float)
    p.add_argument("--altitude", type=float, default=0.0, help="metres (default 0)")


def add_ayanamsa(p):
    p.add_argument("--ayanamsa", default="lahiri", help="lahiri (default), raman, ..., custom:x")
    p.add_argument("--mean-nodes", action="store_true", help="mean instead of true nodes")


def add_chart_options(p):
    p.add_argument("--houses", default="equal", help="equal (default), placidus, koch, "
                                                     "whole_sign")
    add_ayanamsa(p)


def parser():
    top = argparse.ArgumentParser(prog="zodiakit", description="Vedic astrology on the Swiss "
                                  "Ephemeris.")
    sub = top.add_subparsers(dest="command", required=True)

    p = sub.add_parser("chart", help="a birth chart from local civil time")
    p.add_argument("date", help="YYYY-MM-DD")
    p.add_argument("time", help="HH:MM or HH:MM:SS")
    p.add_argument("timezone", help="IANA zone, e.g. Asia/Kathmandu")
    add_place(p)
    add_chart_options(p)
    out = p.add_mutually_exclusive_group()
    out.add_argument("--json", action="store_true", help="print the chart's JSON")
    out.add_argument("--svg", metavar="FILE", help="write the drawing to FILE ('-': stdout)")
    p.add_argument("--style", default="north", help="north (default) or south")
    p.add_argument("--varga", type=int, default=1, help="draw a varga (default 1)")
    p.add_argument("--details", action="store_true", help="degrees, R, Asc and a title")
    p.add_argument("--size", type=int, default=500, help="picture size in pixels")
    p.add_argument("--theme", default="dark", help="dark (default) or light")
    p.add_argument("--bhava", action="store_true", help="draw grahas by house")

    p = sub.add_parser("panchanga", help="the panchanga of a local instant")
    p.add_argument("date")
    p.add_argument("time")
    p.add_argument("timezone")
    add_place(p)
    add_ayanamsa(p)
    p.add_argument("--mode", default="civil_day", help="civil_day (default) or sunrise_day")
    p.add_argument("--json", action="store_true")

    p = sub.add_parser("transits", help="sign ingresses between two dates")
    p.add_argument("start", help="YYYY-MM-DD")
    p.add_argument("end", help="YYYY-MM-DD")
    add_ayanamsa(p)
    p.add_argument("--json", action="store_true")

    p = sub.add_parser("windows", help="when a varga ascendant stands in a sign")
    p.add_argument("base", help="start instant, e.g. 2024-01-01T00:00:00Z")
    p.add_argument("minutes", type=int, help="length of the search, minutes")
    p.add_argument("varga", type=int)
    p.add_argument("sign")
    add_place(p)
    add_ayanamsa(p)
    p.add_argument("--json", action="store_true")

    p = sub.add_parser("batch", help="many charts: CSV or JSON Lines in, JSON Lines out",
                       description="Each input row has date, time, timezone, latitude, "
                       "longitude and optionally altitude (CSV with a header row, or one "
                       "JSON object a line). Output: one chart JSON a line, or Parquet "
                       "(column 'chart') when the output file ends in .parquet and pyarrow "
                       "is installed.")
    p.add_argument("input", nargs="?", default="-", help="file, or '-' for stdin (default)")
    p.add_argument("--output", "-o", default="-", help="file, or '-' for stdout (default)")
    add_chart_options(p)
    return top


def chart_of(a):
    return zodiakit.Chart.from_local(a.date, clock(a.time), a.timezone, a.latitude, a.longitude,
                                     a.altitude, a.ayanamsa, a.houses, not a.mean_nodes)


def run_chart(a, out):
    chart = chart_of(a)
    if a.json:
        print(chart.to_json(), file=out)
        return
    if a.svg:
        svg = chart.to_svg(style=a.style, varga=a.varga, details=a.details, size=a.size,
                           theme=a.theme, chart="bhava" if a.bhava else "rasi")
        if a.svg == "-":
            print(svg, file=out)
        else:
            with open(a.svg, "w", encoding="utf-8") as f:
                f.write(svg)
        return
    meta = chart.metadata()
    print(f"{meta['utc_datetime']}, {meta['ayanamsa']}, {meta['house_system']} houses",
          file=out)
    print(f"{'':10}{'sign':12}{'degree':>8}  {'nakshatra':17}pada  house", file=out)
    asc = chart.ascendant()
    print(f"{'Ascendant':10}{SIGNS[int(asc // 30)]:12}{degrees(asc):>8}", file=out)
    for name, p in chart.planets().items():
        print(f"{name:10}{p.sign:12}{degrees(p.longitude):>8}  {p.nakshatra:17}{p.pada:4}  "
              f"{p.house:5}{'  R' if p.is_retrograde else ''}", file=out)


def run_panchanga(a, out):
    p = zodiakit.Panchanga.from_local(a.date, clock(a.time), a.timezone, a.latitude,
                                      a.longitude, a.altitude, a.ayanamsa, not a.mean_nodes,
                                      a.mode)
    d = p.to_dict()
    if a.json:
        print(json.dumps(d, ensure_ascii=False), file=out)
        return
    for key in ["tithi", "nakshatra", "yoga", "karana"]:
        e = d[key]
        extra = f" ({e['paksha']})" if key == "tithi" else (
            f" (pada {e['pada']})" if key == "nakshatra" else "")
        print(f"{key.capitalize():10}{e['name'] + extra:28} until {e['end_time_local']}",
              file=out)
    print(f"{'Vara':10}{d['vara']['name']}", file=out)


def run_transits(a, out):
    transits = zodiakit.get_transits(a.start, a.end, a.ayanamsa, not a.mean_nodes)
    for t in transits:
        if a.json:
            print(json.dumps(t, ensure_ascii=False), file=out)
        else:
            print(f"{t['ingress_time']}  {t['planet']:8} {t['from_sign']:12} -> "
                  f"{t['to_sign']:12}{'  R' if t['is_retrograde'] else ''}", file=out)


def run_windows(a, out):
    windows = zodiakit.find_time_windows(a.base, a.minutes, a.varga, a.sign, a.latitude,
                                         a.longitude, a.altitude, a.ayanamsa, not a.mean_nodes)
    for start, end in windows:
        print(json.dumps([start, end]) if a.json else f"{start}  {end}", file=out)


def read_rows(text):
    """The batch input rows as dicts: JSON Lines when the first line is an object, else CSV."""
    first = text.lstrip()[:1]
    if first == "{":
        rows = []
        for n, line in enumerate(text.splitlines(), 1):
            if line.strip():
                try:
                    rows.append(json.loads(line))
                except json.JSONDecodeError as error:
                    raise Failure(f"line {n}: {error}") from None
        return rows
    return list(csv.DictReader(io.StringIO(text)))


def progress(done, total):
    width = 30
    filled = width * done // max(total, 1)
    sys.stderr.write(f"\r[{'#' * filled}{'.' * (width - filled)}] {done}/{total}")
    if done == total:
        sys.stderr.write("\n")
    sys.stderr.flush()


def run_batch(a, out):
    text = sys.stdin.read() if a.input == "-" else open(a.input, encoding="utf-8").read()
    rows = read_rows(text)
    show = sys.stderr.isatty()
    charts = []
    for n, row in enumerate(rows, 1):
        try:
            chart = zodiakit.Chart.from_local(
                str(row["date"]), clock(str(row["time"])), str(row["timezone"]),
                float(row["latitude"]), float(row["longitude"]),
                float(row.get("altitude") or 0.0), a.ayanamsa, a.houses, not a.mean_nodes)
        except KeyError as error:
            raise Failure(f"row {n}: missing {error.args[0]}") from None
        except (TypeError, ValueError) as error:
            raise Failure(f"row {n}: {error}") from None
        charts.append(chart.to_json())
        if show and (n % 100 == 0 or n == len(rows)):
            progress(n, len(rows))
    if a.output.endswith(".parquet"):
        try:  # an optional dependency, looked up at run time
            pyarrow = importlib.import_module("pyarrow")
            parquet = importlib.import_module("pyarrow.parquet")
        except ImportError:
            raise Failure("Parquet output needs pyarrow (pip install pyarrow)") from None
        parquet.write_table(pyarrow.table({"chart": charts}), a.output)
        return
    lines = "".join(c + "\n" for c in charts)
    if a.output == "-":
        out.write(lines)
    else:
        with open(a.output, "w", encoding="utf-8") as f:
            f.write(lines)


COMMANDS = {"chart": run_chart, "panchanga": run_panchanga, "transits": run_transits,
            "windows": run_windows, "batch": run_batch}


def main(argv=None):
    args = parser().parse_args(argv)
    try:
        COMMANDS[args.command](args, sys.stdout)
    except (ValueError, Failure, OSError) as error:
        print(str(error), file=sys.stderr)
        return 2
    except KeyboardInterrupt:
        return 130
    return 0
