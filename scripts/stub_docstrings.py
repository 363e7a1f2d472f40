"""Copies the compiled module's docstrings into the type stub.

The docstrings are written once, in the binding's rows; editors and the documentation site
read them from the stub. Run with the module importable (PYTHONPATH=build/dev) after
changing a docstring: python scripts/stub_docstrings.py [path/to/__init__.pyi]
"""

import ast
import inspect
import pathlib
import sys

import zodiakit

STUB = pathlib.Path(__file__).resolve().parents[1] / "python" / "zodiakit" / "__init__.pyi"


def runtime_doc(owner, name):
    """The docstring of zodiakit.<owner>.<name> (or zodiakit.<name>), or None."""
    obj = zodiakit if owner is None else getattr(zodiakit, owner, None)
    if obj is None or not hasattr(obj, name):
        return None
    member = inspect.getattr_static(obj, name)
    member = getattr(member, "__func__", member)
    return member.__doc__


def quoted(doc, indent):
    """The docstring as a triple-quoted literal whose continuation lines are indented."""
    lines = doc.replace("\\", "\\\\").split("\n")
    text = "\n".join((indent + line.rstrip() if line.strip() else "") for line in lines)
    text = text[len(indent):]
    closing = "\n" + indent if len(lines) > 1 or text.endswith('"') else ""
    return '"""' + text + closing + '"""'


def edits_for(tree):
    """(line, column, end line, end column, text) replacements, last first."""
    edits = []

    def visit(node, owner):
        if not isinstance(node, (ast.FunctionDef, ast.ClassDef)):
            return
        doc = runtime_doc(owner, node.name)
        if isinstance(node, ast.ClassDef):
            if owner is None and hasattr(zodiakit, node.name):
                for member in node.body:
                    visit(member, node.name)
            else:
                return  # the stub's own TypedDicts
        if not doc:
            return
        first = node.body[0]
        indent = " " * (node.col_offset + 4)
        has_doc = (isinstance(first, ast.Expr) and isinstance(first.value, ast.Constant)
                   and isinstance(first.value.value, str))
        if has_doc:
            edits.append((first.lineno, first.col_offset, first.end_lineno,
                          first.end_col_offset, quoted(doc, indent)))
        elif isinstance(node, ast.ClassDef):
            # A new first line of the class body, above the first member's decorators.
            line = min([first.lineno] + [d.lineno for d in getattr(first, "decorator_list", [])])
            edits.append((line, 0, line, 0, indent + quoted(doc, indent) + "\n"))
        else:
            # A one-line body `...` becomes the docstring on its own line.
            edits.append((first.lineno, first.col_offset, first.end_lineno,
                          first.end_col_offset, "\n" + indent + quoted(doc, indent)))

    for node in tree.body:
        visit(node, None)
    return sorted(edits, reverse=True)


def main():
    path = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else STUB
    # Columns in the syntax tree count UTF-8 bytes.
    source = path.read_bytes()
    lines = source.split(b"\n")
    for line, column, end_line, end_column, text in edits_for(ast.parse(source)):
        head = lines[line - 1][:column]
        if text.startswith("\n"):
            head = head.rstrip()  # the space before a one-line body
        tail = lines[end_line - 1][end_column:]
        lines[line - 1:end_line] = (head + text.encode() + tail).split(b"\n")
    path.write_bytes(b"\n".join(lines))


if __name__ == "__main__":
    main()
