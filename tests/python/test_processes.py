"""Worker processes get the same positions as the parent."""
import multiprocessing

import zodiakit

ROUNDS, PER_ROUND = 20, 20000
START_JD = 2415020.5  # 1900-01-01: the Moon file of the 1800-2399 ephemeris


def moon_longitudes(days):
    return [zodiakit.calc_planet_longitude(START_JD + d * 0.37, "moon") for d in days]


def test_forked_workers_do_not_share_the_parents_ephemeris_files():
    # The parent has read the data files before the fork; children reading them at once
    # through shared offsets would get each other's bytes.
    expected = moon_longitudes(range(ROUNDS * PER_ROUND))
    chunks = [range(start, start + PER_ROUND // 4) for start in range(0, ROUNDS * PER_ROUND,
                                                                      PER_ROUND // 4)]
    with multiprocessing.get_context("fork").Pool(2) as pool:
        for r in range(ROUNDS):
            got = [x for part in pool.map(moon_longitudes, chunks[4 * r:4 * r + 4]) for x in part]
            wrong = sum(g != e for g, e in zip(got, expected[r * PER_ROUND:(r + 1) * PER_ROUND]))
            assert wrong == 0, f"round {r}: {wrong} of {PER_ROUND} longitudes differ"
