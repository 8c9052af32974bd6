#!/bin/bash
# Builds everything and runs every test under Wine, once per lane:
#   - a machine that runs 32-bit processes: the shipped i686 build directly under wine32, then the
#     x86_64 build under wine64 (scripts/x86_64-wine.sh; SKIP_X86_64=1 leaves it out);
#   - a machine that cannot: the x86_64 build under wine64, then the shipped i686 build under
#     wine32 through user-mode emulation (scripts/i686-emulation.sh; SKIP_I686=1 leaves it out).
# Every output line is marked with its lane; the command fails when any lane fails.
# EMULATE_I686=1 runs the i686 lane under emulation even where 32-bit runs natively.
# Extra arguments go to ctest (for example: -R imaging).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$here/build}
"$here/scripts/configure.sh"
. "$here/scripts/arch.sh"

summary=()
status=0
# lane NAME BUILD_TREE COMMAND...: runs COMMAND with BUILD_DIR set to the tree, marking its output.
lane() {
  local name=$1 tree=$2 rc=0 start=$SECONDS; shift 2
  echo "[$name] ==== tests of $tree"
  BUILD_DIR=$tree "$@" 2>&1 | sed -u "s|^|[$name] |" || rc=$?
  local verdict=passed; [ $rc -ne 0 ] && { verdict="FAILED (exit $rc)"; status=1; }
  summary+=("$(printf '%-15s %s in %ds' "$name" "$verdict" $((SECONDS - start)))")
}

emulated_i686_lane() {
  local tree=$1; shift
  # Emulated programs run several times slower: the long mutation soaks run a fifth of their
  # rounds there (the other lanes run them whole); every test still runs.
  lane "i686 emulated" "$tree" env BKF_SOAK_PERCENT="${BKF_SOAK_PERCENT:-20}" \
    "$here/scripts/i686-emulation.sh" run "$BUILD_DIR/i686-emulation" "$here/scripts/test-lane.sh" "$@"
}

x86_64_lane() {
  local tree=$1; shift
  lane x86_64 "$tree" "$here/scripts/x86_64-wine.sh" run "$BUILD_DIR/x86_64-wine" "$here/scripts/test-lane.sh" "$@"
}

if [ "$TEST_ARCH" = i686 ]; then
  if [ -n "${EMULATE_I686:-}" ]; then
    emulated_i686_lane "$BUILD_DIR" "$@"
  else
    lane i686 "$BUILD_DIR" "$here/scripts/test-lane.sh" "$@"
  fi
  if [ -n "$SECOND_ARCH" ]; then
    x86_64_lane "$BUILD_DIR/x86_64" "$@"
  fi
else
  lane x86_64 "$BUILD_DIR" "$here/scripts/test-lane.sh" "$@"
  if [ -n "$SECOND_ARCH" ]; then
    if [ -z "${EMULATE_I686:-}" ] && can_run_32bit && [ -x /usr/lib/wine/wine ]; then
      lane i686 "$BUILD_DIR/i686" "$here/scripts/test-lane.sh" "$@"
    else
      emulated_i686_lane "$BUILD_DIR/i686" "$@"
    fi
  fi
fi

echo "==== test lanes"
printf '  %s\n' "${summary[@]}"
exit $status
