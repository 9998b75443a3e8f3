#!/bin/sh
# The core stays toolkit-independent: no Qt header, directly or by path.
set -eu
core=$1
if grep -rn -E '#\s*include\s*[<"](Q[A-Za-z]+|qt[a-z]*/|Qt[A-Za-z]*/|Qmtb)' "$core"; then
    echo "src/Core includes toolkit headers"
    exit 1
fi
echo "src/Core includes no toolkit header"
