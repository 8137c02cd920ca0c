#!/usr/bin/env bash
set -euo pipefail
app=$1; device=tablet; out=$2
source "$(dirname "$0")/session.sh"
points="768 1024"
start_app; sleep 1
click 497 971; sleep 1.5
shot list; cp $work/list.png $out/
click 440 602; sleep 1.5
shot reader; cp $work/reader.png $out/
at 384 600; for i in 1 2 3 4 5 6; do xdotool click 5; sleep 0.1; done; sleep 0.5
shot scrolled; cp $work/scrolled.png $out/
key Escape 1
shot escaped; cp $work/escaped.png $out/
