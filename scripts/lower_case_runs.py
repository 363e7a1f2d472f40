"""Prints the lower-case table of src/core/vocab.cpp (kLowerCaseRuns).

Every code point whose lower case is one other code point, as Python's str.lower() gives it
(Python 3.11: Unicode 14.0), grouped in runs of one delta with a stride of 1 or 2. Paste
the output over the table and run clang-format on the file:
    python3 scripts/lower_case_runs.py
"""

import sys
import unicodedata


def lower_deltas():
    """{code point: lower case minus code point} for the single-code-point lower cases."""
    deltas = {}
    for cp in range(sys.maxunicode + 1):
        lower = chr(cp).lower()
        if len(lower) == 1 and lower != chr(cp):
            deltas[cp] = ord(lower) - cp
    return deltas


def runs(deltas):
    """(first, last, delta, stride) runs, in code-point order."""
    points = sorted(deltas)
    out = []
    i = 0
    while i < len(points):
        first, delta, j, stride = points[i], deltas[points[i]], i, 1
        if i + 1 < len(points) and deltas[points[i + 1]] == delta and points[i + 1] - first <= 2:
            stride = points[i + 1] - first
            while (j + 1 < len(points) and points[j + 1] - points[j] == stride
                   and deltas[points[j + 1]] == delta):
                j += 1
        out.append((first, points[j], delta, stride))
        i = j + 1
    return out


def main():
    if unicodedata.unidata_version != "14.0.0":
        sys.exit(f"this Python has Unicode {unicodedata.unidata_version}; the table is 14.0.0")
    print("constexpr LowerCaseRun kLowerCaseRuns[] = {")
    for first, last, delta, stride in runs(lower_deltas()):
        print(f"    {{0x{first:04X}, 0x{last:04X}, {delta}, {stride}}},")
    print("};")


if __name__ == "__main__":
    main()
