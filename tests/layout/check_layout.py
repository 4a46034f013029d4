#!/usr/bin/env python3
"""The README's layout table says which folders each source folder may use; the
folders' CMakeLists.txt and their #include lines say which they do use. A folder uses
another when it links one of its targets or includes one of its headers (a header reached
through a library linked further down is an arrow all the same). The two must agree.

    check_layout.py PROJECT_DIR
"""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1])
folders = {p.parent.name if p.parent.parent.name == "src" else p.parent.name: p
           for p in list(root.glob("src/*/CMakeLists.txt")) + [root / "tools/meter-sim/CMakeLists.txt"]}

# Which folder defines each of our targets.
owner = {}
for name, cmake in folders.items():
    for target in re.findall(r"add_(?:library|executable)\(\s*([\w-]+)", cmake.read_text()):
        owner[target] = name

# What each folder links: the luvir targets named in its target_link_libraries calls.
uses = {}
for name, cmake in folders.items():
    linked = set()
    for call in re.findall(r"target_link_libraries\((.*?)\)", cmake.read_text(), re.S):
        for word in call.split()[1:]:
            if word in owner and owner[word] != name:
                linked.add(owner[word])
    uses[name] = linked

# What each folder includes: "Header.h" of another folder, in its own sources and headers.
holder = {}
for name, cmake in folders.items():
    for header in cmake.parent.glob("*.h"):
        holder.setdefault(header.name, set()).add(name)
for header, names in holder.items():
    if len(names) > 1:
        print(f"FAIL: {header} is in more than one folder: {sorted(names)}")
        sys.exit(1)
includes = {}
for name, cmake in folders.items():
    included = {}
    for source in sorted(list(cmake.parent.glob("*.h")) + list(cmake.parent.glob("*.cpp"))):
        for header in re.findall(r'^\s*#\s*include\s*"([^"]+)"', source.read_text(), re.M):
            for other in holder.get(pathlib.PurePath(header).name, ()):
                if other != name:
                    included.setdefault(other, f"{source.name} includes {header}")
    includes[name] = included
    uses[name] |= set(included)

# What the README says they may use.
readme = (root / "README.md").read_text()
table = readme[readme.index("## Layout"):]
said = {}
for line in table.splitlines():
    m = re.match(r"\| `(?:src/|tools/)([\w-]+)` \|[^|]*\| ([^|]*) \|", line)
    if m:
        words = re.sub(r"\([^)]*\)", "", m.group(2))
        said[m.group(1)] = {w for w in re.findall(r"[\w-]+", words) if w in folders}

failures = []
for name in sorted(folders):
    if name not in said:
        failures.append(f"README's layout table has no row for {name}")
    elif said[name] != uses[name]:
        why = [includes[name][o] for o in sorted(uses[name] - said[name]) if o in includes[name]]
        failures.append(f"{name}: README says it may use {sorted(said[name]) or 'nothing'}, "
                        f"its links and includes use {sorted(uses[name]) or 'nothing'}"
                        + "".join(f"\n      ({w})" for w in why))
for name in sorted(set(said) - set(folders)):
    failures.append(f"README's layout table names {name}, which has no CMakeLists.txt")

for f in failures:
    print("FAIL:", f)
if failures:
    sys.exit(1)
print(f"layout table matches the link lines and includes of {len(folders)} folders")
