"""Chart.yogas(), Chart.explain() and Chart.compatibility() through real charts."""

import pytest

import zodiakit as zk

KATHMANDU = (27.7, 85.3)

YOGAS_DOC = (
    "Returns a list of classical yogas (planetary combinations) identified in this chart.\n"
    "\n"
    "Each YogaResult includes:\n"
    '- `name`: Classical yoga name (e.g. "Gajakesari Yoga")\n'
    '- `category`: "Raja", "Dhana", "Mahapurusha", or "Other"\n'
    "- `description`: Classical definition with BPHS chapter/verse citation\n"
    "- `planets_involved`: Which planets form this yoga\n"
    "- `is_present`: Always True (absent yogas are not returned)\n"
    "\n"
    "Only yogas with unambiguous classical definitions are included.\n"
    "This does NOT include cancellation rules (Bhanga) \u2014 consult a qualified astrologer."
)


def chart_at(year, month, day, hour):
    return zk.Chart.from_utc(year, month, day, hour, 0, 0, *KATHMANDU)


def moon_of(chart):
    moon = chart.planets()["Moon"]
    return moon.sign, moon.nakshatra


# Instants (UTC, Kathmandu) whose Moons sit well inside the named sign and nakshatra.
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
    for key, chart in charts.items():
        assert moon_of(chart) == key
    return charts


@pytest.fixture(scope="module")
def sample_charts():
    return [chart_at(1990 + i % 30, 1 + i % 12, 1 + (i * 7) % 28, (i * 5) % 24) for i in range(60)]


# ---------------------------------------------------------------- documentation


def test_docstrings_and_signatures():
    assert zk.Chart.yogas.__doc__ == YOGAS_DOC
    assert zk.Chart.yogas.__text_signature__ == "($self)"
    assert zk.Chart.explain.__text_signature__ == "($self)"
    assert zk.Chart.compatibility.__text_signature__ == "($self, other)"
    assert zk.Chart.compatibility.__doc__ == (
        "Compatibility score using Ashtakoota Milan (36 Guna) against another chart.\n"
        "Uses traditional Nakshatra and Sign matching."
    )
    assert zk.YogaResult.__doc__ == (
        "Python wrapper for YogaResult.\n"
        "Each yoga has a name, category, BPHS-cited description, and the planets involved."
    )
    assert zk.KutaResult.__doc__ == "Python wrapper for KutaResult (Ashtakoota compatibility)."


@pytest.mark.parametrize("cls", [zk.YogaResult, zk.KutaResult])
def test_result_classes_have_no_constructor(cls):
    with pytest.raises(TypeError, match=f"No constructor defined for {cls.__name__}"):
        cls()


# ---------------------------------------------------------------- yogas


def test_yoga_results_are_typed_snapshots(sample_charts):
    seen = set()
    for chart in sample_charts:
        for yoga in chart.yogas():
            assert isinstance(yoga, zk.YogaResult)
            assert yoga.category in {"Raja", "Dhana", "Mahapurusha", "Other"}
            assert yoga.is_present is True
            assert yoga.description.startswith("BPHS Ch. ")
            names = yoga.planets_involved
            assert names and all(isinstance(n, str) for n in names)
            assert set(names) <= set(chart.planets())
            names.append("Pluto")  # a copy: the object is unchanged
            assert "Pluto" not in yoga.planets_involved
            quoted = ", ".join(f'"{n}"' for n in yoga.planets_involved)
            assert repr(yoga) == f"<YogaResult '{yoga.name}' [{yoga.category}] planets=[{quoted}]>"
            seen.add(yoga.name)
    # The sample is broad enough to meet the common yogas.
    assert {"Gajakesari Yoga", "Budhaditya Yoga", "Vesi Yoga"} <= seen


def test_moon_based_yogas_agree_with_planet_houses(sample_charts):
    for chart in sample_charts:
        planets = chart.planets()
        moon, jupiter = planets["Moon"].house, planets["Jupiter"].house
        kendra = (jupiter - moon) % 12 in (0, 3, 6, 9)
        names = [y.name for y in chart.yogas()]
        nodes = chart.explain()["nodes"]
        assert ("Gajakesari Yoga" in names) == kendra
        assert ("rule_gaja_kesari" in nodes) == kendra
        if kendra:
            expression = nodes["condition_jup_kendra_moon"]["Condition"]["expression"]
            assert expression == (
                f"House of Jupiter ({jupiter}) is in kendra from House of Moon ({moon})"
            )
            assert nodes[f"house_{jupiter}"] == {"House": {"number": jupiter}}
        same_sign = planets["Sun"].sign == planets["Mercury"].sign
        assert ("Budhaditya Yoga" in names) == same_sign


# ---------------------------------------------------------------- explain


def test_explain_is_plain_data_and_repeatable(sample_charts):
    kinds = {"Planet", "Sign", "House", "Rule", "Condition", "TextSource"}
    edge_kinds = {"LocatedIn", "HasSign", "InHouse", "TriggersRule", "ProvesCondition",
                  "DependsOn", "Cites"}
    for chart in sample_charts[:20]:
        graph = chart.explain()
        assert list(graph) == ["nodes", "edges"]
        for node_id, node in graph["nodes"].items():
            ((kind, fields),) = node.items()
            assert kind in kinds
            if kind == "House":
                assert type(fields["number"]) is int and node_id == f"house_{fields['number']}"
            else:
                assert all(isinstance(v, str) for v in fields.values())
        for edge in graph["edges"]:
            assert isinstance(edge, list) and len(edge) == 3 and edge[2] in edge_kinds
        assert chart.explain() == graph


def test_explain_merges_gaja_kesari_and_hamsa():
    # Jupiter exalted in Cancer in house 1, the Moon in house 7: both rules name Jupiter
    # and its house.
    chart = chart_at(2003, 1, 3, 12)
    jupiter = chart.planets()["Jupiter"]
    assert (jupiter.sign, jupiter.house, chart.planets()["Moon"].house) == ("Cancer", 1, 7)
    graph = chart.explain()
    edges = graph["edges"]
    house = f"house_{chart.planets()['Jupiter'].house}"
    located = ["planet_jupiter", house, "LocatedIn"]
    assert edges.count(located) == 2
    assert edges[0] == located
    assert edges[5] == ["rule_gaja_kesari", "source_bphs_36", "Cites"]
    assert edges[6] == located
    assert edges[7] == ["rule_hamsa_yoga", "cond_rule_hamsa_yoga", "DependsOn"]
    assert graph["nodes"]["planet_jupiter"] == {
        "Planet": {"name": "Jupiter", "id": "planet_jupiter"}
    }


# ---------------------------------------------------------------- compatibility


def scores(result):
    return [result.varna, result.vasya, result.tara, result.yoni, result.graha_maitri,
            result.gana, result.bhakut, result.nadi]


@pytest.mark.parametrize(
    "self_moon, other_moon, expected, total",
    [
        (("Leo", "Magha"), ("Leo", "Magha"), [1, 2, 3, 4, 5, 6, 7, 0], 28.0),
        (("Leo", "Magha"), ("Scorpio", "Anuradha"), [0, 1, 1.5, 2, 5, 5, 7, 8], 29.5),
        (("Scorpio", "Anuradha"), ("Leo", "Magha"), [1, 1, 1.5, 2, 5, 5, 7, 8], 30.5),
        (("Aries", "Bharani"), ("Leo", "PurvaPhalguni"), [1, 1, 3, 2, 5, 6, 0, 0], 18.0),
        (("Aries", "Ashwini"), ("Gemini", "Ardra"), [1, 1, 1.5, 2, 0, 5, 7, 0], 17.5),
    ],
)
def test_kuta_scores_of_real_charts(moon_charts, self_moon, other_moon, expected, total):
    result = moon_charts[self_moon].compatibility(moon_charts[other_moon])
    assert isinstance(result, zk.KutaResult)
    assert scores(result) == expected
    assert all(type(v) is float for v in scores(result))
    assert result.total_score == total
    assert result.max_score == 36.0
    assert result.is_compatible is (total >= 18.0)
    flag = "true" if total >= 18.0 else "false"
    assert repr(result) == f"<KutaResult score={total:.1f}/36.0 compatible={flag}>"


def test_compatibility_accepts_keyword_and_leaves_charts_alone(moon_charts):
    a, b = moon_charts[("Leo", "Magha")], moon_charts[("Scorpio", "Anuradha")]
    before = (a.planets()["Moon"].longitude, [y.name for y in a.yogas()])
    assert a.compatibility(other=b).total_score == 29.5
    assert (a.planets()["Moon"].longitude, [y.name for y in a.yogas()]) == before


def test_compatibility_rejects_non_charts(moon_charts):
    chart = moon_charts[("Leo", "Magha")]
    for bad, type_name in [(3, "int"), (None, "NoneType"), ("chart", "str")]:
        with pytest.raises(TypeError) as info:
            chart.compatibility(bad)
        assert str(info.value) == (
            f"argument 'other': '{type_name}' object cannot be converted to 'Chart'"
        )
        assert isinstance(info.value.__cause__, TypeError)
        assert str(info.value.__cause__) == f"'{type_name}' object cannot be converted to 'Chart'"
    with pytest.raises(TypeError, match="missing"):
        chart.compatibility()
    with pytest.raises(TypeError, match="unexpected keyword argument"):
        chart.compatibility(partner=chart)
