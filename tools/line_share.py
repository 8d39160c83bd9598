#!/usr/bin/env python3
"""Prints the non-blank, non-comment lines of the tests against the other code.

Code is C++ (.cpp, .h), Python (.py), shell (.sh and the scripts/ programs) and
CMake (CMakeLists.txt, .cmake) that git tracks. Tests are everything under
tests/ (fakes, fixtures and helpers included); the other code is src/, app/,
bench/, tools/, scripts/ and the top-level CMakeLists.txt. Data files (CSV
tables, resources) are not code. A comment line is one that starts with // or
# after spaces, or lies inside /* */.
"""
import pathlib
import subprocess
import sys

root = pathlib.Path(__file__).resolve().parent.parent
CPP = {".cpp", ".h"}
HASH = {".py", ".sh", ".cmake"}


def kind(path):
    if path.suffix in CPP:
        return "cpp"
    if path.suffix in HASH or path.name == "CMakeLists.txt":
        return "hash"
    if path.parts[0] == "scripts" and not path.suffix:
        return "hash"
    return None


def count(path, style):
    lines, in_block = 0, False
    for raw in (root / path).read_text(errors="replace").splitlines():
        line = raw.strip()
        if not line:
            continue
        if style == "cpp":
            if in_block:
                if "*/" in line:
                    in_block = False
                    if line.split("*/", 1)[1].strip():
                        lines += 1
                continue
            if line.startswith("//"):
                continue
            if line.startswith("/*"):
                if "*/" not in line:
                    in_block = True
                elif line.split("*/", 1)[1].strip():
                    lines += 1
                continue
        elif line.startswith("#"):
            continue
        lines += 1
    return lines


files = subprocess.run(["git", "-C", str(root), "ls-files"], capture_output=True,
                       text=True, check=True).stdout.split()
tests = other = 0
per_file = []
for name in files:
    path = pathlib.Path(name)
    style = kind(path)
    if style is None or not (root / path).is_file():
        continue
    top = path.parts[0]
    if top == "tests":
        n = count(path, style)
        tests += n
        per_file.append((n, name))
    elif top in {"src", "app", "bench", "tools", "scripts"} or name == "CMakeLists.txt":
        other += count(path, style)
print(f"tests {tests}  other code {other}  share {100.0 * tests / other:.1f}%")
if "--files" in sys.argv:
    for n, name in sorted(per_file, reverse=True):
        print(f"{n:6} {name}")
