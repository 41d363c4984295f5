#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora (fuzz/seeds/TARGET/) from the stock
boards, the examples and the texts the tests use. Existing seeds are kept;
a seed is named by its content's SHA-1, so running this again adds nothing new."""
import hashlib
import pathlib
import re

ROOT = pathlib.Path(__file__).resolve().parent.parent
SEEDS = ROOT / "fuzz" / "seeds"
# The stock boards fuzz_orbex_ini picks from with its first byte (modulo 10),
# in its order, and its tests (the byte's tenth, modulo 21).
ORBEX_INI_BOARDS = ["reference", "windows98", "pal-tuner", "no-board-tables", "invalid-mmtable-fields",
                    "wrong-mask", "missing-inf-entry", "old-tuner-driver", "missing-database", "bad-hwtable"]
ORBEX_INI_TESTS = ["tc5000", "tc5001", "tc5002", "tc5005", "tc5006", "tc5007", "tc5008", "tc5009", "tc5010",
                   "tc5011", "tc5012", "tc5013", "tc5014", "tc6900", "tc6901", "tc6902", "tc6903", "tc6904",
                   "tc6905", "tc6907", "tc1100"]
# The devices fuzz_board_profile picks with its first byte, in its order.
BOARD_PROFILE_DEVICES = ["decoder", "tuner", "crossbar", "captions", "streams"]


def add(target, data):
    if isinstance(data, str):
        data = data.encode("latin-1", "replace")
    folder = SEEDS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / hashlib.sha1(data).hexdigest()).write_bytes(data)


def text(path):
    return path.read_text(encoding="latin-1")


def c_literals(source):
    """The string literals of a C++ source, adjacent ones joined, escapes undone."""
    out = []
    for m in re.finditer(r'((?:"(?:[^"\\\n]|\\.)*"\s*)+)', source):
        parts = re.findall(r'"((?:[^"\\\n]|\\.)*)"', m.group(1))
        raw = "".join(parts)
        try:
            out.append(raw.encode("latin-1").decode("unicode_escape"))
        except (UnicodeDecodeError, UnicodeEncodeError):
            pass
    return out


def main():
    boards = sorted((ROOT / "boards").glob("*.ini"))
    examples_ini = text(ROOT / "examples" / "orbex.ini")
    graph = text(ROOT / "examples" / "default.gf")
    tests = {p.name: text(p) for p in (ROOT / "tests").glob("*.cpp")}
    literals = [s for src in tests.values() for s in c_literals(src)]

    # The INI engine: every INI text of the project.
    for b in boards:
        add("fuzz_ini", text(b))
    add("fuzz_ini", examples_ini)
    add("fuzz_ini", graph)
    for s in literals:
        if s.lstrip().startswith("[") and "\n" in s:
            add("fuzz_ini", s)

    # Board profiles: the stock boards on each device (the target adds Base=reference on top).
    for b in boards:
        for device, _ in enumerate(BOARD_PROFILE_DEVICES):
            add("fuzz_board_profile", bytes([device]) + text(b).encode("latin-1"))

    # Graph files: the example and the tests' graph texts.
    add("fuzz_graph_file", graph)
    for s in literals:
        if "[Filter" in s or "[Graph" in s or "[Connection" in s:
            add("fuzz_graph_file", s)

    # Command lines: every test id and option line the tests run.
    for src in tests.values():
        for m in re.finditer(r'(?:Run|OrbexEntry)\("((?:[^"\\]|\\.)*)"', src):
            add("fuzz_command_line", m.group(1))

    # orbex.ini: the example on each board and test the target picks, and
    # the tests' databases on the reference board with the first test of
    # each reader (board database, component database, tuner).
    for test, name in enumerate(ORBEX_INI_TESTS):
        first = test * len(ORBEX_INI_BOARDS)
        for i, _ in enumerate(ORBEX_INI_BOARDS):
            add("fuzz_orbex_ini", bytes([first + i]) + examples_ini.encode("latin-1"))
        if name not in ("tc5000", "tc6900", "tc1100"):
            continue
        for s in literals:
            if any(k in s for k in ("[FileInfo]", "[MMTable]", "[MMMask]", "[Tuner]", "[LOGMANAGER]", "[database]")):
                add("fuzz_orbex_ini", bytes([first]) + s.encode("latin-1", "replace"))

    # Board database entries: the example's and the boards' table texts.
    section = None
    for line in examples_ini.splitlines():
        if line.startswith("["):
            section = line
        elif "=" in line and section in ("[MMTable]", "[MMMask]"):
            add("fuzz_mm_entry", line.split("=", 1)[1])
    for b in boards:
        for m in re.finditer(r"^(?:MMTable|HWTable|Mask)=(.*)$", text(b), re.M):
            add("fuzz_mm_entry", m.group(1))

    # Component database readers: first byte 0 a [FileInfo] value, 1 a GUID, 2 an inf line.
    section = None
    for line in examples_ini.splitlines():
        if line.startswith("["):
            section = line
        elif section == "[FileInfo]" and "=" in line:
            add("fuzz_component", "\0" + line.split("=", 1)[1])
        elif line.startswith("GUID"):
            add("fuzz_component", "\1" + line.split("=", 1)[1])
    for b in boards:
        for m in re.finditer(r"^Line=(.*)$", text(b), re.M):
            add("fuzz_component", "\2" + m.group(1) + "\n")


if __name__ == "__main__":
    main()
