# Sourced by the build scripts. The program ships as 32-bit Windows code (i686); the same sources
# are also built for x86_64, and the tests run once for each under Wine:
#   - a machine that can execute 32-bit processes: the i686 build in $BUILD_DIR under wine32, and
#     the x86_64 build in $BUILD_DIR/x86_64 under wine64 (scripts/x86_64-wine.sh);
#   - a kernel without 32-bit user mode: the x86_64 build in $BUILD_DIR under wine64, and the i686
#     build in $BUILD_DIR/i686 under wine32 through emulation (scripts/i686-emulation.sh).
# TEST_ARCH is the build in $BUILD_DIR; SECOND_ARCH the one beside it (empty when left out:
# SKIP_X86_64=1 on the first kind of machine, SKIP_I686=1 on the second).
can_run_32bit() {
  [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1
}
if [ -z "${TEST_ARCH:-}" ]; then
  if can_run_32bit; then TEST_ARCH=i686; else TEST_ARCH=x86_64; fi
fi
export TEST_ARCH
if [ "$TEST_ARCH" = i686 ]; then
  SECOND_ARCH=x86_64; [ -n "${SKIP_X86_64:-}" ] && SECOND_ARCH=
else
  SECOND_ARCH=i686; [ -n "${SKIP_I686:-}" ] && SECOND_ARCH=
fi
DEPS_ROOT=${DEPS_ROOT:-$here/build/deps}
deps_prefix() { echo "$DEPS_ROOT/$1/prefix"; }
