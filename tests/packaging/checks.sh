# Shared by the packaging checks: each check prints one line, and the script
# fails at the end if any of them failed. Each gets a scratch folder, $work,
# removed when it ends; on_exit adds a command to run before that.
failures=0
work=$(mktemp -d)
exit_commands=()
on_exit() { exit_commands+=("$1"); }
end_checks() {
  local command
  for command in "${exit_commands[@]}"; do eval "$command"; done
  rm -rf "$work"
}
trap end_checks EXIT

pass() { echo "ok   - $1"; }
fail() {
  echo "FAIL - $1"
  failures=$((failures + 1))
}

# check <what> <command...>: the command succeeds.
check() {
  local what=$1
  shift
  if "$@" >/dev/null 2>&1; then pass "$what"; else fail "$what"; fi
}

# check_eq <what> <expected> <actual>
check_eq() {
  if [[ "$2" == "$3" ]]; then
    pass "$1"
  else
    fail "$1"
    echo "       expected: $2"
    echo "       actual:   $3"
  fi
}

# need <what> <command...>: what the other checks stand on; without it they
# cannot start, and that is a failure.
need() {
  check "$@"
  ((failures == 0)) || finish
}

finish() {
  if ((failures > 0)); then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "all checks passed"
  exit 0
}

# app_id <build>: the app id as the build configured it, in the name of its
# metainfo.
app_id() { basename "$(ls "$1"/packaging/*.metainfo.xml 2>/dev/null)" .metainfo.xml; }

# desktop_key <key> <file>: the value of a key in the [Desktop Entry] group.
desktop_key() {
  sed -n '/^\[Desktop Entry\]/,/^\[/p' "$2" | sed -n "s/^$1=//p" | head -n 1
}

# appstream_check <what> <appstreamcli arguments...>: appstreamcli reports
# nothing above a pedantic hint.
appstream_check() {
  local what=$1 report issues
  shift
  report=$(appstreamcli "$@" --format yaml 2>&1)
  # One "severity tag hint" line per issue worth reporting.
  issues=$(awk '
    function flush() { if (tag != "" && severity != "pedantic") print severity, tag, hint }
    $1 == "-" && $2 == "tag:" { flush(); tag = $3; severity = ""; hint = "" }
    $1 == "severity:" { severity = $2 }
    $1 == "hint:" { hint = $2 }
    END { flush() }' <<<"$report")
  if [[ -z $issues ]] && grep -q '^Passed: yes' <<<"$report"; then
    pass "$what"
  else
    fail "$what"
    echo "$report" | sed 's/^/       /'
  fi
}

# manual_check <what> <page>: man renders the page at 80 columns without a
# warning from groff or man.
manual_check() {
  local warnings
  warnings=$(MANWIDTH=80 man --warnings -l "$2" 2>&1 >/dev/null)
  if [[ -z $warnings ]]; then pass "$1"; else fail "$1"; echo "$warnings" | sed 's/^/       /'; fi
}
