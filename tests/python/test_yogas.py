"""Chart.yogas(), Chart.explain() and Chart.compatibility() through real charts."""

import pytest

import zodiakit as zk

YOGAS_DOC = (
    "Returns a list of classical yogas (planetary combinations) identified in this chart.\n\n"
    "Each YogaResult includes:\n"
    '- `name`: Classical yoga name (e.g. "Gajakesari Yoga")\n'
    '- `category`: "Raja", "Dhana", "Mahapurusha", or "Other"\n'
    "- `description`: Classical definition with BPHS chapter/verse citation\n"
    "- `planets_involved`: Which planets form this yoga\n"
    "- `is_present`: Always True (absent yogas are not returned)\n\n"
    "Only yogas with unambiguous classical definitions are included.\n"
    "This does NOT include cancellation rules (Bhanga) \u2014 consult a qualified astrologer."
)


def chart_at(year, month, day, hour):
    return zk.Chart.from_utc(year, month, day, hour, 0, 0, 27.7, 85.3)


def test_the_yogas_docstring_callers_rely_on():
    # The class docstring is pinned with the others in test_module.py.
    assert zk.Chart.yogas.__doc__ == YOGAS_DOC


def test_yogas_and_explanation_agree_with_the_chart():
    seen = set()
    for i in range(100):
        chart = chart_at(1990 + i % 30, 1 + i % 12, 1 + (i * 7) % 28, (i * 5) % 24)
        planets = chart.planets()
        yogas = chart.yogas()
        for yoga in yogas:
            assert yoga.is_present is True and yoga.description.startswith("BPHS Ch. ")
            assert yoga.planets_involved and set(yoga.planets_involved) <= set(planets)
        names = [yoga.name for yoga in yogas]
        seen.update(names)
        moon, jupiter = planets["Moon"].house, planets["Jupiter"].house
        kendra = (jupiter - moon) % 12 in (0, 3, 6, 9)
        nodes = chart.explain()["nodes"]
        assert ("Gajakesari Yoga" in names) == kendra == ("rule_gaja_kesari" in nodes)
        if kendra:
            assert nodes["condition_jup_kendra_moon"]["Condition"]["expression"] == (
                f"House of Jupiter ({jupiter}) is in kendra from House of Moon ({moon})")
        assert ("Budhaditya Yoga" in names) == (planets["Sun"].sign == planets["Mercury"].sign)
    assert {"Gajakesari Yoga", "Budhaditya Yoga", "Vesi Yoga"} <= seen


# Instants whose Moons sit well inside the named sign and nakshatra.
MOONS = {
    ("Scorpio", "Anuradha"): (2000, 1, 3, 0),
    ("Aries", "Ashwini"): (2000, 1, 15, 0),
    ("Aries", "Bharani"): (2000, 1, 16, 0),
    ("Gemini", "Ardra"): (2000, 1, 19, 12),
    ("Leo", "Magha"): (2000, 1, 23, 0),
    ("Leo", "PurvaPhalguni"): (2000, 1, 24, 0),
}


@pytest.mark.parametrize("self_moon, other_moon, expected", [
    (("Leo", "Magha"), ("Leo", "Magha"), [1, 2, 3, 4, 5, 6, 7, 0, 28]),
    (("Leo", "Magha"), ("Scorpio", "Anuradha"), [0, 1, 1.5, 2, 5, 5, 7, 8, 29.5]),
    (("Scorpio", "Anuradha"), ("Leo", "Magha"), [1, 1, 1.5, 2, 5, 5, 7, 8, 30.5]),
    (("Aries", "Bharani"), ("Leo", "PurvaPhalguni"), [1, 1, 3, 2, 5, 6, 0, 0, 18]),
    (("Aries", "Ashwini"), ("Gemini", "Ardra"), [1, 1, 1.5, 2, 0, 5, 7, 0, 17.5]),
])
def test_kuta_scores_of_real_charts(self_moon, other_moon, expected):
    charts = [chart_at(*MOONS[key]) for key in (self_moon, other_moon)]
    moons = [c.planets()["Moon"] for c in charts]
    assert [(m.sign, m.nakshatra) for m in moons] == [self_moon, other_moon]
    r = charts[0].compatibility(other=charts[1])
    got = [r.varna, r.vasya, r.tara, r.yoni, r.graha_maitri, r.gana, r.bhakut, r.nadi,
           r.total_score]
    assert got == expected and all(type(v) is float for v in got)
    total = expected[-1]
    assert r.max_score == 36.0 and r.is_compatible is (total >= 18.0)
    assert repr(r) == f"<KutaResult score={total:.1f}/36.0 compatible={str(total >= 18).lower()}>"

