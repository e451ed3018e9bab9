#!/usr/bin/python3
"""The help page (and the user guide) name every menu item, shortcut and note
file that README.md documents. The lists come from the README itself: the
table "What the buttons do" for the menu items, the first column of the table
"Without the mouse" for the keys, and the files of "For Windows users".

Usage: check_help_page.py README.md PAGE...   (exit status 1 on any gap)"""
import html
import re
import sys


def section(text, heading):
    """The lines under a Markdown heading, up to the next heading of its level or higher."""
    level = heading.split(" ")[0]
    m = re.search(rf"^{re.escape(heading)}\s*$(.*?)(?=^#{{1,{len(level)}}} |\Z)", text, re.M | re.S)
    return m.group(1) if m else ""


def table_rows(text):
    return [[c.strip() for c in line.strip().strip("|").split(" | ")]
            for line in text.splitlines() if line.startswith("|") and not line.startswith("|---")][1:]


def documented(readme):
    menu = set(re.findall(r"[\u4e00-\u9fff]+[A-Z]?", section(readme, "### What the buttons do")))
    keys = {k for row in table_rows(section(readme, "### Without the mouse")) for k in row[0].split(", ")}
    names = re.findall(r"`([^`]+)`", section(readme, "## For Windows users"))
    files = {n.rstrip("\\").split("\\")[-1] for n in names}
    files = {f for f in files if re.fullmatch(r"[\w.<>-]+\.(ini|bmp|txt|lock)", f)}
    return {"menu item": menu, "shortcut": keys, "file": files}


def mentions(text, thing, kind):
    if kind == "shortcut":  # "Tab" is not found inside "Ctrl+Tab"
        return re.search(rf"(?<![\w+]){re.escape(thing)}(?![\w+])", text)
    # content.<yyyyMMdd-HHmmss>.ini: the placeholder may be said in any words
    parts = re.split(r"<[^<>]*>", thing)
    return re.search(r"<[^<>]*>".join(map(re.escape, parts)), text)


def main(argv):
    readme = open(argv[1], encoding="utf-8").read()
    lists = documented(readme)
    failures = [f"README.md: no {kind} found (headings renamed?)" for kind, v in lists.items() if not v]
    for page in argv[2:]:
        text = open(page, encoding="utf-8").read()
        if page.endswith(".htm"):
            text = html.unescape(re.sub(r"<[^>]+>", " ", text))
        for kind, things in lists.items():
            failures += [f"{page}: the {kind} {t!r} of README.md is missing"
                         for t in sorted(things) if not mentions(text, t, kind)]
    for f in failures:
        print("FAIL", f)
    counts = ", ".join(f"{len(v)} {k}s" for k, v in lists.items())
    print(f"{counts} checked in {len(argv) - 2} page(s): {len(failures)} failure(s)")
    return 1 if failures or len(argv) < 3 else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
