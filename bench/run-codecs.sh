#!/usr/bin/env bash
# Codec throughput (called by bench/run.sh after the build).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/build/bench/bench/codec_bench"
