"""Compares freshly computed chart goldens with the stored ones, entry by entry.

Every chart's to_json digest and every 10th chart's to_dict digest must be unchanged; the
drawing digests (to_svg + repr + str) may change only for charts not drawn with whole-sign
houses, or for whole-sign charts with a box so crowded that the old stack of labels ran out
of it (four or more grahas in a corner triangle, seven or more in a diamond). Prints the counts and exits 1 on any other difference.
Run with the module on the path, optionally naming an older goldens file:
    PYTHONPATH=build/dev python scripts/check_chart_goldens.py [old-charts.json.gz]
"""
import gzip
import json
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests" / "python"))
import goldens  # noqa: E402

def crowded(case):
    chart = goldens.zodiakit.Chart.from_utc(*case)
    counts = [0] * 13
    for p in chart.planets().values():
        counts[p.house] += 1
    return any(n >= (7 if house in (1, 4, 7, 10) else 4) for house, n in enumerate(counts))


stored_file = (pathlib.Path(sys.argv[1]) if len(sys.argv) > 1
               else pathlib.Path(goldens.__file__).parent / "golden" / "charts.json.gz")
stored = json.loads(gzip.decompress(stored_file.read_bytes()))
fresh = goldens.compute("charts")
cases = list(goldens.chart_cases())
assert len(stored) == len(fresh) == len(cases)
faults, drawn_changed, whole_sign_drawn = [], 0, 0
for i, (old, new, case) in enumerate(zip(stored, fresh, cases)):
    whole_sign = case[-2].lower().replace("_", "").replace("-", "") in ("wholesign", "w")
    if old[0] != new[0]:
        faults.append(f"chart {i}: to_json changed")
    if len(old) > 1:
        if old[1] != new[1]:
            faults.append(f"chart {i}: to_dict changed")
        if old[2] != new[2]:
            drawn_changed += 1
            if whole_sign and not crowded(case):
                faults.append(f"chart {i}: whole-sign drawing changed")
        whole_sign_drawn += whole_sign
print(f"{len(fresh)} charts: to_json equal; {len(fresh[::10])} to_dict equal; "
      f"{drawn_changed} drawings changed; of {whole_sign_drawn} whole-sign drawings only "
      f"crowded ones changed")
for fault in faults:
    print(fault)
sys.exit(1 if faults else 0)
