#!/usr/bin/env bash
# Fails when a text the user reads is written outside base/Texts.h and
# base/Texts.cpp: a Chinese string literal anywhere else in the program's
# source (comments may quote them). One place for the texts lets a translator
# or a reviewer read them all, and keeps the toolkit free of the program's words.
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C.UTF-8
dirs=$(for d in app base codec compose desktop platform png ui; do [ -d $d ] && echo $d; done)
hits=$(grep -rnP --include='*.cpp' --include='*.h' --include='*.inc' \
  '"(?:[^"\\]|\\.)*[\x{4e00}-\x{9fff}]' $dirs |
  grep -vP '^[^:]+:\d+:\s*//' | grep -vE '^base/Texts\.(h|cpp):' || true)
if [ -n "$hits" ]; then
  echo "texts outside base/Texts.h and base/Texts.cpp:"; echo "$hits"; exit 1
fi
echo "every text a user reads is in base/Texts.h and base/Texts.cpp"
