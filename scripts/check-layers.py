#!/usr/bin/env python3
"""check-layers.py [REPOSITORY]: fails when an include in src/ runs against the module
directions of docs/ARCHITECTURE.md, or when code outside app/platform includes SDL."""

import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)
SOURCE_SUFFIXES = {".h", ".cpp", ".in"}


def read_directions(architecture):
    """{module: set of modules it may include}, from the ```layers block."""
    text = architecture.read_text(encoding="utf-8")
    block = re.search(r"```layers\n(.*?)```", text, re.DOTALL)
    if block is None:
        sys.exit(f"{architecture}: no ```layers block")
    directions = {}
    for line in block.group(1).splitlines():
        if line.strip():
            module, _, below = line.partition(":")
            directions[module.strip()] = set(below.split())
    return directions


def module_of(path):
    """The module of a path relative to src/ ('game/screens/X.h' -> 'screens')."""
    parts = pathlib.PurePosixPath(path).parts
    if len(parts) < 2:
        return None
    if parts[0] == "game" and parts[1] == "screens":
        return "screens"
    return parts[0]


def problems_in(src, directions):
    for path in sorted(src.rglob("*")):
        if path.suffix not in SOURCE_SUFFIXES or not path.is_file():
            continue
        relative = path.relative_to(src).as_posix()
        own = module_of(relative)
        if own is None:
            continue
        text = path.read_text(encoding="utf-8", errors="replace")
        for match in INCLUDE.finditer(text):
            quote, target = match.groups()
            line = text.count("\n", 0, match.start()) + 1
            where = f"src/{relative}:{line}"
            if quote == "<":
                if target.startswith("SDL") and not relative.startswith("app/platform/"):
                    yield f"{where}: <{target}> outside app/platform"
                continue
            other = module_of(target)
            if other is None or other == own or other not in directions:
                continue
            if own not in directions:
                yield f"{where}: module '{own}' is not in the layers table"
            elif other not in directions[own]:
                yield f"{where}: {own} may not include {target} ({other} is not below {own})"


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent)
    directions = read_directions(root / "docs" / "ARCHITECTURE.md")
    problems = list(problems_in(root / "src", directions))
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include(s) against the module directions of docs/ARCHITECTURE.md")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
