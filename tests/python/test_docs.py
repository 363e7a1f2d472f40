"""Docstrings of the public surface, and the walkthrough example."""

import inspect
import pathlib
import re
import runpy

import pytest

import zodiakit

ROOT = pathlib.Path(__file__).resolve().parents[2]


def public_objects():
    """(qualified name, object) of every public name of the module and of its classes."""
    for name in dir(zodiakit):
        if name.startswith("_"):
            continue
        obj = getattr(zodiakit, name)
        yield name, obj
        if isinstance(obj, type):
            for attribute in dir(obj):
                if not attribute.startswith("_"):
                    yield f"{name}.{attribute}", inspect.getattr_static(obj, attribute)


def test_module_and_every_public_name_have_a_docstring():
    assert zodiakit.__doc__ and "Chart" in zodiakit.__doc__
    missing = [name for name, obj in public_objects() if not (obj.__doc__ or "").strip()]
    assert missing == []


# Docstrings whose wording callers already rely on, kept as they were.
FIXED_TEXT = {"Chart.yogas"}


def callables():
    for name, obj in public_objects():
        if name in FIXED_TEXT:
            continue
        if isinstance(obj, staticmethod):
            obj = obj.__func__
        if callable(obj) and not isinstance(obj, type):
            yield name, obj


@pytest.mark.parametrize("name, function", list(callables()))
def test_docstring_names_each_parameter_and_the_result(name, function):
    doc = function.__doc__
    params = [p for p in inspect.signature(function).parameters if p != "self"]
    if params:
        args = doc.split("\nArgs:\n", 1)[1].split("\n\n", 1)[0]
        documented = re.findall(r"^    (\w+): ", args, re.MULTILINE)
        assert documented == params, name
    returns = doc.split("\nReturns:\n", 1)[1].split("\n\n", 1)[0].split("\n")
    # One result: its description goes on in lines indented below the first.
    assert all(line.startswith("        ") for line in returns[1:]), name
    # The Google-style sections the documentation site reads: each header once, in order.
    headers = re.findall(r"^(\w+):$", doc, re.MULTILINE)
    assert headers == [h for h in ("Args", "Returns", "Raises") if h in headers], name


def test_stub_docstrings_are_the_runtime_ones():
    import ast

    tree = ast.parse((ROOT / "python" / "zodiakit" / "__init__.pyi").read_text())
    seen = 0
    for node in tree.body:
        owner = node.name if isinstance(node, ast.ClassDef) else None
        members = node.body if isinstance(node, ast.ClassDef) else [node]
        if owner and not hasattr(zodiakit, owner):
            continue  # the stub's own TypedDicts
        for member in members:
            if not isinstance(member, (ast.FunctionDef, ast.ClassDef)):
                continue
            doc = ast.get_docstring(member, clean=False)
            if doc is None:
                continue
            name = f"{owner}.{member.name}" if owner and member is not node else member.name
            runtime = getattr(zodiakit, name.split(".")[0])
            if "." in name:
                runtime = inspect.getattr_static(runtime, name.split(".")[1])
            runtime = getattr(runtime, "__func__", runtime)
            assert inspect.cleandoc(doc) == inspect.cleandoc(runtime.__doc__), name
            seen += 1
    assert seen > 0


def test_walkthrough_runs_top_to_bottom(tmp_path, monkeypatch, capsys):
    monkeypatch.chdir(tmp_path)
    runpy.run_path(str(ROOT / "examples" / "walkthrough.py"), run_name="__main__")
    out = capsys.readouterr().out
    assert "Ascendant" in out and "Tithi" in out
    assert (tmp_path / "walkthrough_chart.svg").read_text().startswith("<svg")
