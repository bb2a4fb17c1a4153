#!/usr/bin/env python3
"""The manual page against the program: groff finds nothing to warn about;
every command that `quevrin --help` lists has a section under COMMANDS, which
names exactly the long options of `quevrin COMMAND --help`; SYNOPSIS and
OPTIONS together name those of `quevrin --help`; and nowhere does the page
name an option that no help text knows. The page is of the program's version.

usage: man_page.py PAGE QUEVRIN"""
import re
import subprocess
import sys

OPTION = re.compile(r"(?<![\w-])--[a-z][a-z-]*[a-z]")


def run(*args):
    return subprocess.run(args, capture_output=True, text=True, check=False)


def page_sections(page):
    """The page as a reader sees it: {section or subsection title: its text}."""
    text = run("groff", "-man", "-Tascii", "-rLL=200n", "-rHY=0", "-P-cbou", page).stdout
    sections, title = {}, None
    for line in text.splitlines():
        heading = re.fullmatch(r"(\S.*|   \S.*)", line)
        if heading:
            title = line.strip()
            sections[title] = ""
        elif title:
            sections[title] += line + "\n"
    return text, sections


def main(page, quevrin):
    failures = []
    lint = run("groff", "-ww", "-z", "-man", page)
    if lint.returncode != 0 or lint.stderr:
        failures.append(f"groff -ww: {lint.stderr.strip() or lint.returncode}")

    overview = run(quevrin, "--help").stdout
    listed = overview.split("Commands:\n", 1)[-1].split("\n\n", 1)[0]
    commands = sorted({line.split()[0] for line in listed.splitlines() if line.strip()})
    if not commands:
        failures.append("quevrin --help lists no commands")
    text, sections = page_sections(page)
    helps = {("SYNOPSIS", "OPTIONS"): overview}
    helps.update({(command,): run(quevrin, command, "--help").stdout for command in commands})
    for part, help_text in helps.items():
        missing = [title for title in part if title not in sections]
        if missing:
            failures.append(f"the page has no section {missing}")
            continue
        in_help = set(OPTION.findall(help_text))
        in_page = set(OPTION.findall("".join(sections[title] for title in part)))
        if in_help != in_page:
            failures.append(f"{' and '.join(part)}: only in --help {sorted(in_help - in_page)}, "
                            f"only in the page {sorted(in_page - in_help)}")
    version = run(quevrin, "--version").stdout.split()[1].rstrip(",")
    if f"Quevrin {version}" not in text:
        failures.append(f"the page is not of version {version}")
    known = set(OPTION.findall("".join(helps.values())))
    unknown = set(OPTION.findall(text)) - known
    if unknown:
        failures.append(f"the page names options no help knows: {sorted(unknown)}")

    for failure in failures:
        print("FAILED:", failure)
    print(f"{len(helps)} sections compared, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
