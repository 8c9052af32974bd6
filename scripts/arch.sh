# Sourced by the build scripts. The program ships as 32-bit Windows code (i686). Tests run under
# Wine: with wine32 where this machine can execute 32-bit processes, otherwise (kernels without
# 32-bit user mode) the same sources are built for x86_64 and run under wine64.
can_run_32bit() {
  [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1
}
if [ -z "${TEST_ARCH:-}" ]; then
  if can_run_32bit; then TEST_ARCH=i686; else TEST_ARCH=x86_64; fi
fi
export TEST_ARCH
DEPS_ROOT=${DEPS_ROOT:-$here/build/deps}
deps_prefix() { echo "$DEPS_ROOT/$1/prefix"; }
