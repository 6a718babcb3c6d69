#!/usr/bin/env bash
# The tuned command-line reader beside readNewest100: kcat reads the newest SHARE messages of every
# partition of TOPIC and exits at the partitions' ends, asking the broker to hold an empty fetch
# for at most 10 ms. Prints the wall time in milliseconds (process start to exit, connecting
# included) and the number of messages read.
#
#   bench/kafka/kcat-newest.sh BOOTSTRAP TOPIC SHARE
#
# readNewest100 runs it on its own mock cluster when kcat is on the PATH (Debian package kcat).
set -euo pipefail
bootstrap=$1 topic=$2 share=$3
start=$(date +%s%N)
count=$(kcat -C -b "$bootstrap" -t "$topic" -o "-$share" -e -q -f '%o\n' -X fetch.wait.max.ms=10 | wc -l)
end=$(date +%s%N)
echo "$(( (end - start) / 1000 )) $count" | awk '{ printf "%.1f %d\n", $1 / 1000, $2 }'
