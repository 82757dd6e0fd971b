#!/usr/bin/env python3
"""Writes (or checks) the one-page cheatsheet of Kestrel: every function of
the public headers, by module and header, with its signature and the first
sentence of its text; each type with its member and static functions.

    python3 cheatsheet.py INCLUDE_DIR --write cheatsheet.md
    python3 cheatsheet.py INCLUDE_DIR --check cheatsheet.md

INCLUDE_DIR is a build's staged include folder (<build>/include for the
toolkit alone, <build>/toolkit/include in the repository's build): exactly
the installed public headers. The headers are read by Doxygen (XML output,
every entry extracted, through the same input filter as the reference).
--check exits 1 and prints a diff when the file is not what the headers
give."""

import difflib
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))

# Modules in the order of the guide's module map; a header's module is its
# folder below kestrel/.
MODULES = [
    ("core", "core: objects, errors, lists, exit handlers, the application"),
    ("system", "system: start-up, events, input, timers, random numbers"),
    ("system/sdl", "system/sdl: the SDL system driver, joysticks, termination"),
    ("resources", "resources: streams, embedded files, pixmaps"),
    ("graphics", "graphics: windows, drawing, images, fonts"),
    ("audio", "audio: samples, sounds, channels, drivers"),
    ("audio/sdl", "audio/sdl: the SDL sound services"),
    ("sdl", "sdl: the one start-up call"),
    ("", "top level"),
]


def run_doxygen(include_dir, out_dir):
    config = open(os.path.join(HERE, "Doxyfile")).read()
    config += "\n".join([
        "", "INPUT = " + include_dir, "USE_MDFILE_AS_MAINPAGE =",
        "EXTRACT_ALL = YES", "GENERATE_HTML = NO", "GENERATE_XML = YES",
        "XML_OUTPUT = xml", "XML_PROGRAMLISTING = NO", "WARN_IF_UNDOCUMENTED = NO",
        "WARN_AS_ERROR = NO", "WARNINGS = NO", "QUIET = YES", ""])
    env = dict(os.environ, KESTREL_DOC_INPUT=include_dir, KESTREL_DOC_OUTPUT=out_dir,
               KESTREL_DOC_DIR=HERE, KESTREL_DOC_FILTER=os.path.join(HERE, "doxygen_filter.sh"))
    subprocess.run([os.environ.get("DOXYGEN", "doxygen"), "-"], input=config.encode(), env=env, check=True,
                   stdout=subprocess.DEVNULL)
    return os.path.join(out_dir, "xml")


def text(node):
    return "" if node is None else " ".join("".join(node.itertext()).split())


def first_sentence(member):
    brief = text(member.find("briefdescription")) or text(member.find("detaileddescription"))
    end = brief.find(". ")
    brief = brief if end < 0 else brief[:end + 1]
    return brief.replace("|", "\\|")


def signature(member, scope=""):
    kind = member.get("kind")
    name = text(member.find("name"))
    if kind == "function":
        result = text(member.find("type"))
        args = text(member.find("argsstring"))
        static = "static " if member.get("static") == "yes" and scope else ""
        sig = f"{static}{result + ' ' if result else ''}{scope}{name}{args}"
        sig = sig.replace("< ", "<").replace(" >", ">")
        sig = re.sub(r"([\w>]) ([&*]+) ", r"\1\2 ", sig)
        sig = re.sub(r" ([&*]+)(\w)", r"\1 \2", sig)
        return re.sub(r" ([&*]+)([,)]|$)", r"\1\2", sig)
    return name


def listed(member, class_name):
    """Member functions worth a line: not the special members (construction,
    copying, destruction) and not overrides (listed with their base)."""
    name = text(member.find("name"))
    args = text(member.find("argsstring"))
    if name in (class_name, "~" + class_name) or name.startswith("operator="):
        return False
    return not args.rstrip().endswith(("override", "=default", "=delete"))


def load(xml_dir, refid):
    return ET.parse(os.path.join(xml_dir, refid + ".xml")).getroot().find("compounddef")


def header_sections(xml_dir):
    """{header path below kestrel/: (functions, classes)} in file order."""
    index = ET.parse(os.path.join(xml_dir, "index.xml")).getroot()
    headers = {}
    for compound in index.findall("compound"):
        if compound.get("kind") != "file":
            continue
        c = load(xml_dir, compound.get("refid"))
        path = c.find("location").get("file")
        path = path[len("kestrel/"):] if path.startswith("kestrel/") else path
        functions = []
        classes = []
        for inner in c.findall("innerclass"):
            if inner.get("prot") != "public":
                continue
            k = load(xml_dir, inner.get("refid"))
            classes.append((int(k.find("location").get("line")), k))
        headers[path] = (functions, classes)
    # Free functions are members of their namespace, placed by their file.
    for compound in index.findall("compound"):
        if compound.get("kind") != "namespace":
            continue
        for section in load(xml_dir, compound.get("refid")).findall("sectiondef"):
            for m in section.findall("memberdef"):
                if m.get("kind") != "function":
                    continue
                where = m.find("location")
                path = where.get("file")
                path = path[len("kestrel/"):] if path.startswith("kestrel/") else path
                headers.setdefault(path, ([], []))[0].append((int(where.get("line")), m))
    for functions, classes in headers.values():
        functions.sort(key=lambda x: x[0])
        classes.sort(key=lambda x: x[0])
    return headers


def render(xml_dir):
    headers = header_sections(xml_dir)
    out = ["# Kestrel cheatsheet {#cheatsheet}", "",
           "Every function of the public headers, by module, with its signature;",
           "each type with its functions. Generated from the headers by",
           "`toolkit/docs/cheatsheet.py`: do not edit. Everything is in",
           "`namespace kestrel` (the SDL parts in `kestrel::sdl`); `#include",
           "\"kestrel/kestrel.h\"` brings every header.", ""]
    for folder, title in MODULES:
        paths = [p for p in sorted(headers) if os.path.dirname(p) == folder]
        paths = [p for p in paths if headers[p][0] or headers[p][1]]
        if not paths:
            continue
        out += [f"## {title}", ""]
        for path in paths:
            functions, classes = headers[path]
            out += [f"### kestrel/{path}", ""]
            if functions:
                out.append("| Function | What it does |")
                out.append("|---|---|")
                for _, m in functions:
                    out.append(f"| `{signature(m)}` | {first_sentence(m)} |")
                out.append("")
            for _, k in classes:
                name = text(k.find("compoundname")).split("::")[-1]
                out.append(f"**{name}** — {first_sentence(k)}")
                members = []
                for section in k.findall("sectiondef"):
                    if section.get("kind") not in ("public-func", "public-static-func"):
                        continue
                    for m in section.findall("memberdef"):
                        if listed(m, name):
                            members.append((int(m.find("location").get("line")), m))
                if members:
                    out.append("")
                    for _, m in sorted(members, key=lambda x: x[0]):
                        out.append(f"- `{signature(m, name + '::')}`")
                out.append("")
    return "\n".join(out).rstrip() + "\n"


def main(argv):
    if len(argv) != 4 or argv[2] not in ("--write", "--check"):
        print(__doc__, file=sys.stderr)
        return 2
    include_dir, mode, target = os.path.abspath(argv[1]), argv[2], argv[3]
    with tempfile.TemporaryDirectory() as tmp:
        sheet = render(run_doxygen(include_dir, tmp))
    if mode == "--write":
        with open(target, "w") as f:
            f.write(sheet)
        return 0
    current = open(target).read() if os.path.exists(target) else ""
    if current == sheet:
        print(f"{target} lists what the headers hold")
        return 0
    sys.stdout.writelines(difflib.unified_diff(current.splitlines(True), sheet.splitlines(True),
                                               target, "from the headers"))
    print(f"{target} is out of date: python3 {os.path.relpath(__file__)} {argv[1]} --write {target}")
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
