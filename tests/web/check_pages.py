#!/usr/bin/python3
"""The built-in pages are valid HTML (html5lib's strict parser, which follows
the WHATWG parsing rules) and reach no host: every link, source and style
address is a page of our own, a fragment or a mailto: address, and no text
names a web address."""
import re
import sys

import html5lib

OWN = {"b90d.htm", "b90a.htm", "b90b.htm"}
failures = []


def check_address(page, where, value):
    v = value.strip()
    low = v.lower()
    if low.startswith("#") or low.startswith("mailto:"):
        return
    if low.split("#")[0] in OWN:
        return
    failures.append(f"{page}: {where} = {value!r} is not a page of ours")


for path in sys.argv[1:]:
    name = path.rsplit("/", 1)[-1]
    raw = open(path, "rb").read()
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError as e:
        failures.append(f"{name}: not UTF-8 ({e})")
        continue
    parser = html5lib.HTMLParser(strict=True, namespaceHTMLElements=False)
    try:
        doc = parser.parse(raw, transport_encoding="utf-8")
    except Exception as e:  # html5lib raises ParseError with the position
        failures.append(f"{name}: not valid HTML: {e}")
        continue
    if not re.match(r"<!DOCTYPE html>", text, re.I):
        failures.append(f"{name}: no <!DOCTYPE html> (the browser would pick an old mode)")
    metas = [m for m in doc.iter("meta") if m.get("http-equiv", "").lower() == "x-ua-compatible"]
    if not any(m.get("content", "").replace(" ", "").lower() == "ie=edge" for m in metas):
        failures.append(f"{name}: no X-UA-Compatible IE=edge (the control would use IE7 mode)")
    for el in doc.iter():
        for attr in ("href", "src", "action", "background", "data", "poster", "srcset"):
            if el.get(attr) is not None:
                check_address(name, f"<{el.tag} {attr}>", el.get(attr))
        if el.tag == "form":
            failures.append(f"{name}: has a form (no server takes it)")
    for m in re.finditer(r"url\(\s*['\"]?([^'\")]*)", text):
        check_address(name, "url()", m.group(1))
    for m in re.finditer(r"(?i)(\b[a-z][a-z0-9+.-]*:)?//[^\s\"'<>]+", text):
        failures.append(f"{name}: names a host: {m.group(0)}")

for f in failures:
    print("FAIL", f)
print(f"{len(sys.argv) - 1} page(s), {len(failures)} failure(s)")
sys.exit(1 if failures or len(sys.argv) < 2 else 0)
