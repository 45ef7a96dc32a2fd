#!/bin/sh
# Runs a command with its standard error appended to a file:
#   with-stderr-to.sh FILE COMMAND [ARGUMENT...]
# Wine writes the debug channels of every process it starts there.
file=$1
shift
exec "$@" 2>>"$file"
