#!/usr/bin/python3
"""Every menu item, key and note file README.md documents is named by each PAGE
(the help page, the user guide); the lists are read from the README's "What the
buttons do", "Without the mouse" and "For Windows users".
Usage: check_help_page.py README.md PAGE..."""
import html
import re
import sys


def section(text, heading):
    """The lines under a Markdown heading, up to the next heading of its level or higher."""
    level = heading.split(" ")[0]
    m = re.search(rf"^{re.escape(heading)}\s*$(.*?)(?=^#{{1,{len(level)}}} |\Z)", text, re.M | re.S)
    return m.group(1) if m else ""


def documented(readme):
    buttons = re.sub(r'"[^"]*"|“[^”]*”', "", section(readme, "### What the buttons do"))  # not quotes
    menu = set(re.findall(r"[\u4e00-\u9fff]+[A-Z]?", buttons))
    rows = [line.split("|")[1].strip() for line in section(readme, "### Without the mouse").splitlines()
            if line.startswith("|") and not line.startswith("|---")][1:]  # below the header
    keys = {k for row in rows for k in row.split(", ")}
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
    print("".join(f"FAIL {f}\n" for f in failures), end="")
    counts = ", ".join(f"{len(v)} {k}s" for k, v in lists.items())
    print(f"{counts} checked in {len(argv) - 2} page(s): {len(failures)} failure(s)")
    return 1 if failures or len(argv) < 3 else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
