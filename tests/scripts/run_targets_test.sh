#!/usr/bin/env bash
# ./run.sh builds only what it runs: run.sh and scripts/deps.sh are run in a
# scratch copy of the tree with cmake, dpkg-query and the example program
# replaced by stand-ins that record their arguments. The configure step must
# turn the tests and benchmarks off and use a build folder of its own (the
# tests configure build/release and the sanitizer folder), and the build step
# must name only the program and the headless example.
#   run_targets_test.sh <source root> <scratch folder>
set -euo pipefail
root=$1
work=$2
rm -rf "$work"
mkdir -p "$work/tree/scripts" "$work/bin"
cp "$root/run.sh" "$work/tree/"
cp "$root/scripts/deps.sh" "$work/tree/scripts/"
calls=$work/cmake_calls

cat > "$work/bin/cmake" <<STUB
#!/usr/bin/env bash
printf '%s\n' "\$*" >> "$calls"
STUB
cat > "$work/bin/dpkg-query" <<'STUB'
#!/usr/bin/env bash
printf 'install ok installed'
STUB
mkdir -p "$work/tree/build/run/bin"
cat > "$work/tree/build/run/bin/brantel_example" <<'STUB'
#!/usr/bin/env bash
echo "example ran"
STUB
chmod +x "$work/bin/cmake" "$work/bin/dpkg-query" "$work/tree/build/run/bin/brantel_example"

fail() {
  echo "FAIL: $*" >&2
  echo "cmake was called with:" >&2
  cat "$calls" >&2
  exit 1
}

output=$(env -u DISPLAY -u WAYLAND_DISPLAY PATH="$work/bin:$PATH" bash "$work/tree/run.sh" 2>&1) ||
  fail "run.sh failed: $output"

configure=$(grep -e '-S \. -B ' "$calls" || true)
build=$(grep -e '--build ' "$calls" || true)
[ "$(printf '%s\n' "$configure" | grep -c .)" -eq 1 ] || fail "expected one configure step"
[ "$(printf '%s\n' "$build" | grep -c .)" -eq 1 ] || fail "expected one build step"

# The configure step: its own folder, tests and benchmarks off.
folder=$(printf '%s\n' "$configure" | sed -E 's/.*-B ([^ ]+).*/\1/')
case "$folder" in
  build/release | build/sanitize | build/asan) fail "run.sh configures the tests' folder $folder" ;;
esac
for option in -DBRANTEL_BUILD_TESTS=OFF -DBRANTEL_BUILD_BENCH=OFF; do
  printf '%s\n' "$configure" | grep -q -e " $option\( \|$\)" || fail "configure lacks $option"
done
if printf '%s\n' "$configure" | grep -q -e '-DBRANTEL_BUILD_\(TESTS\|BENCH\|FUZZ\)=ON'; then
  fail "configure turns tests, benchmarks or fuzz targets on"
fi

# The build step: that folder, and only the two programs.
printf '%s\n' "$build" | grep -q -e "--build $folder " || fail "build step is not in $folder"
targets=$(printf '%s\n' "$build" | sed -n -E 's/.*--target (.*)$/\1/p' | tr ' ' '\n' | sort | tr '\n' ' ')
[ "$targets" = "brantel brantel_example " ] || fail "build targets are '$targets'"

# Without a display: the example's output, then how to get the window.
printf '%s\n' "$output" | grep -q "example ran" || fail "the example did not run: $output"
printf '%s\n' "$output" | grep -q "xvfb-run -a ./run.sh" || fail "no word on the window: $output"
echo "run.sh configures $folder without tests or benchmarks and builds: $targets"
