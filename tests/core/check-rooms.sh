#!/bin/sh
# Holds the core's rooms to their dependencies: text includes only text, the filter only text
# and itself, the table no io, and only io reaches the operating system (files, descriptors,
# signals, processes). Prints every include that breaks this, and fails when there is one.
cd "$1/core" || exit 2
broken=$(
  grep -n '#include "core/\(filter\|table\|io\)/' text/* /dev/null
  grep -n '#include "core/\(table\|io\)/' filter/* /dev/null
  grep -n '#include "core/io/' table/* /dev/null
  grep -nE '#include <(unistd\.h|fcntl\.h|sys/.*|signal\.h|csignal|dirent\.h|filesystem|fstream|windows\.h|acl/.*|attr/.*)>' \
    text/* filter/* table/* /dev/null
)
[ -z "$broken" ] && exit 0
echo "includes that break the core's rooms:"
echo "$broken"
exit 1
