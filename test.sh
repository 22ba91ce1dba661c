#!/usr/bin/env bash
# Runs every test: the native build (unit tests, then again with address and
# undefined-behaviour sanitizers) and the Windows build under Wine in Xvfb.
# Prints one closing line "tests: N passed, N failed"; exits non-zero on any failure.
set -uo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh || exit 1

passed=0
failed=0
run_suite() {  # name, build dir, cmake options...
  local name=$1 dir=$2
  shift 2
  echo "== $name"
  if ! cmake -S . -B "$dir" -G Ninja "$@" >"$dir.configure.log" 2>&1; then
    cat "$dir.configure.log"; failed=$((failed + 1)); return
  fi
  if ! ninja -C "$dir" >"$dir.build.log" 2>&1; then
    tail -n 60 "$dir.build.log"; failed=$((failed + 1)); return
  fi
  local log="$dir.ctest.log"
  (cd "$dir" && ctest --output-on-failure --timeout 600) | tee "$log"
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.*, ([0-9]+) tests failed.*/\1/' <<<"$line")
  if [ -z "$line" ]; then failed=$((failed + 1)); return; fi
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}

mkdir -p build
run_suite "native" build/native
run_suite "native, sanitizers" build/native-asan -DRODEO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
run_suite "Windows, under Wine" build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake

echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
