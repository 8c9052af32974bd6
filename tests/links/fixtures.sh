#!/bin/sh
# Copies the hand-written pages (shapes of real sites) next to the other test data.
set -e
here=$(dirname "$0")
cp "$here"/pages/*.html "$1"/
