#!/bin/sh
# Holds the core's rooms to their dependencies: text includes only text, the filter only text
# and itself, the table no io, and only io reaches the operating system (files, descriptors,
# signals, processes). What a system does its own way lives in io's posix/ or windows/ folder:
# each reaches only its own system, nothing outside io asks which system it is built for, and
# nothing outside io includes those folders (the tests of io aside). Above the core, report/
# (the printers of tables and comparisons) knows nothing of the command line or the window. Prints every include or
# test that breaks this, and fails when there is one.
cd "$1/core" || exit 2
system='unistd\.h|fcntl\.h|sys/.*|signal\.h|csignal|dirent\.h|filesystem|fstream|windows\.h|io\.h|shlobj\.h|iconv\.h|acl/.*|attr/.*'
broken=$(
  grep -rn '#include "core/\(filter\|table\|io\)/' text /dev/null
  grep -rn '#include "core/\(table\|io\)/' filter /dev/null
  grep -rn '#include "core/io/' table /dev/null
  grep -nE "#include <($system)>" text/*.* filter/* table/* /dev/null
  grep -rnE '#include <(windows\.h|io\.h|shlobj\.h)>' io/posix /dev/null
  grep -rnE '#include <(unistd\.h|sys/(wait|mman|xattr|resource)\.h|acl/.*|attr/.*|iconv\.h)>' \
    io/windows /dev/null
  grep -rn '#include "core/io/\(posix\|windows\)/' text filter table ../cli ../comment ../ui \
    /dev/null
  grep -rnE '#if.*_WIN32' text filter table /dev/null
  grep -rn '#include "\(cli\|ui\|comment\)/' ../report /dev/null
)
[ -z "$broken" ] && exit 0
echo "includes that break the core's rooms:"
echo "$broken"
exit 1
