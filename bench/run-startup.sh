#!/usr/bin/env bash
# make bench: start-up time of Tabulon against a minimal window (bench/startup.sh).
exec bash "$(dirname "$0")/startup.sh"
