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


# Instants whose Moons sit well inside the named sign and nakshatra (checked below).
MOONS = {
    ("Scorpio", "Anuradha"): (2000, 1, 3, 0),
    ("Aries", "Ashwini"): (2000, 1, 15, 0),
    ("Aries", "Bharani"): (2000, 1, 16, 0),
    ("Gemini", "Ardra"): (2000, 1, 19, 12),
    ("Leo", "Magha"): (2000, 1, 23, 0),
    ("Leo", "PurvaPhalguni"): (2000, 1, 24, 0),
}


@pytest.fixture(scope="module")
def moon_charts():
    charts = {key: chart_at(*when) for key, when in MOONS.items()}
    for (sign, nakshatra), chart in charts.items():
        moon = chart.planets()["Moon"]
        assert (moon.sign, moon.nakshatra) == (sign, nakshatra)
    return charts


@pytest.fixture(scope="module")
def sample_charts():
    return [chart_at(1990 + i % 30, 1 + i % 12, 1 + (i * 7) % 28, (i * 5) % 24) for i in range(60)]


def test_docstrings_signatures_and_no_constructors():
    assert zk.Chart.yogas.__doc__ == YOGAS_DOC
    assert zk.Chart.explain.__text_signature__ == "($self)"
    assert zk.Chart.compatibility.__text_signature__ == "($self, other)"
    assert zk.YogaResult.__doc__ == (
        "Python wrapper for YogaResult.\n"
        "Each yoga has a name, category, BPHS-cited description, and the planets involved."
    )
    assert zk.KutaResult.__doc__ == "Python wrapper for KutaResult (Ashtakoota compatibility)."
    for cls in (zk.YogaResult, zk.KutaResult):
        with pytest.raises(TypeError, match=f"No constructor defined for {cls.__name__}"):
            cls()


def test_yogas_agree_with_the_chart(sample_charts):
    seen = set()
    for chart in sample_charts:
        planets = chart.planets()
        yogas = chart.yogas()
        for yoga in yogas:
            assert yoga.category in {"Raja", "Dhana", "Mahapurusha", "Other"}
            assert yoga.is_present is True and yoga.description.startswith("BPHS Ch. ")
            names = yoga.planets_involved
            assert names and set(names) <= set(planets)
            names.append("Pluto")  # a copy: the object is unchanged
            quoted = ", ".join(f'"{n}"' for n in yoga.planets_involved)
            assert repr(yoga) == f"<YogaResult '{yoga.name}' [{yoga.category}] planets=[{quoted}]>"
            seen.add(yoga.name)
        # The yoga list and the explanation agree with the planets' houses and signs.
        moon, jupiter = planets["Moon"].house, planets["Jupiter"].house
        kendra = (jupiter - moon) % 12 in (0, 3, 6, 9)
        names = [y.name for y in yogas]
        graph = chart.explain()
        assert list(graph) == ["nodes", "edges"] and chart.explain() == graph
        nodes = graph["nodes"]
        assert ("Gajakesari Yoga" in names) == kendra == ("rule_gaja_kesari" in nodes)
        if kendra:
            assert nodes["condition_jup_kendra_moon"]["Condition"]["expression"] == (
                f"House of Jupiter ({jupiter}) is in kendra from House of Moon ({moon})"
            )
            assert nodes[f"house_{jupiter}"] == {"House": {"number": jupiter}}
            assert type(nodes[f"house_{jupiter}"]["House"]["number"]) is int
        same_sign = planets["Sun"].sign == planets["Mercury"].sign
        assert ("Budhaditya Yoga" in names) == same_sign
    assert {"Gajakesari Yoga", "Budhaditya Yoga", "Vesi Yoga"} <= seen


def test_explain_merges_gaja_kesari_and_hamsa():
    # Jupiter exalted in Cancer in house 1, the Moon in house 7.
    chart = chart_at(2003, 1, 3, 12)
    jupiter = chart.planets()["Jupiter"]
    assert (jupiter.sign, jupiter.house, chart.planets()["Moon"].house) == ("Cancer", 1, 7)
    graph = chart.explain()
    located = ["planet_jupiter", "house_1", "LocatedIn"]
    edges = graph["edges"]
    assert edges.count(located) == 2 and edges[0] == located and edges[6] == located
    assert edges[5] == ["rule_gaja_kesari", "source_bphs_36", "Cites"]
    assert edges[7] == ["rule_hamsa_yoga", "cond_rule_hamsa_yoga", "DependsOn"]
    assert graph["nodes"]["planet_jupiter"] == {"Planet": {"name": "Jupiter", "id": "planet_jupiter"}}


@pytest.mark.parametrize(
    "self_moon, other_moon, expected",
    [
        (("Leo", "Magha"), ("Leo", "Magha"), [1, 2, 3, 4, 5, 6, 7, 0, 28]),
        (("Leo", "Magha"), ("Scorpio", "Anuradha"), [0, 1, 1.5, 2, 5, 5, 7, 8, 29.5]),
        (("Scorpio", "Anuradha"), ("Leo", "Magha"), [1, 1, 1.5, 2, 5, 5, 7, 8, 30.5]),
        (("Aries", "Bharani"), ("Leo", "PurvaPhalguni"), [1, 1, 3, 2, 5, 6, 0, 0, 18]),
        (("Aries", "Ashwini"), ("Gemini", "Ardra"), [1, 1, 1.5, 2, 0, 5, 7, 0, 17.5]),
    ],
)
def test_kuta_scores_of_real_charts(moon_charts, self_moon, other_moon, expected):
    r = moon_charts[self_moon].compatibility(other=moon_charts[other_moon])
    got = [r.varna, r.vasya, r.tara, r.yoni, r.graha_maitri, r.gana, r.bhakut, r.nadi,
           r.total_score]
    assert got == expected and all(type(v) is float for v in got)
    total = expected[-1]
    assert r.max_score == 36.0 and r.is_compatible is (total >= 18.0)
    flag = "true" if total >= 18.0 else "false"
    assert repr(r) == f"<KutaResult score={total:.1f}/36.0 compatible={flag}>"


def test_compatibility_rejects_non_charts(moon_charts):
    chart = moon_charts[("Leo", "Magha")]
    for bad, type_name in [(3, "int"), (None, "NoneType"), ("chart", "str")]:
        with pytest.raises(TypeError) as info:
            chart.compatibility(bad)
        message = f"'{type_name}' object cannot be converted to 'Chart'"
        assert str(info.value) == f"argument 'other': {message}"
        assert type(info.value.__cause__) is TypeError and str(info.value.__cause__) == message
    with pytest.raises(TypeError, match="missing"):
        chart.compatibility()
    with pytest.raises(TypeError, match="unexpected keyword argument"):
        chart.compatibility(partner=chart)
