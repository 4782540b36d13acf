# Sourced by the install and package checks. Each check reports a failure
# with fail and goes on, so one run lists every failed check; finish ends
# the script. A missing tool skips the test (CTest's code 77).
require_tools() {
  local tool
  for tool; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIP: $tool is not installed (scripts/setup.sh installs it)"
      exit 77
    fi
  done
}

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

finish() {
  if ((failures > 0)); then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "$*: all checks passed"
}
