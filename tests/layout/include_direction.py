#!/usr/bin/env python3
"""Includes under src/ run one way: logic -> interfaces <- adapters.

Each folder may include only the folders listed for it; src/app/ wires
adapters to logic and may include anything.  Prints every include that
breaks the rule and exits 1, else prints the count checked and exits 0.
Usage: include_direction.py [SRC_DIR]
"""
import pathlib
import re
import sys

BASE = {"qtcompat"}  # spellings of Qt itself, usable everywhere
ALLOWED = {
    "interfaces": {"interfaces"},
    "diagdata": {"diagdata"},
    "qtcompat": set(),
    "link": {"link", "interfaces", "messages"},
    "commands": {"commands", "link", "interfaces"},
    "messages": {"messages", "interfaces"},
    "workstation": {"workstation", "commands", "link", "messages", "interfaces", "diagdata"},
    "platform": {"platform", "interfaces"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/')


def findings(src):
    checked, broken = 0, []
    for folder, allowed in ALLOWED.items():
        for path in sorted((src / folder).rglob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                checked += 1
                if match.group(1) not in allowed | BASE:
                    broken.append(f"{path.relative_to(src)}:{number}: {folder}/ includes {match.group(1)}/")
    return checked, broken


def main():
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parents[2] / "src")
    checked, broken = findings(src)
    for line in broken:
        print(line)
    print(f"{checked} includes checked, {len(broken)} against the direction")
    return 1 if broken or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
