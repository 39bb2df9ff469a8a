#!/bin/sh
# Link script stand-in: notes the time of each run.
date +%s.%N >> /tmp/hsdpa_runs
echo "HSDPA.sh: link script run at $(date +%T)" >&2
