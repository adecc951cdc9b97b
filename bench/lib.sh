# Shared by bench/check and bench/peers: build the program and the driver,
# a Wine prefix of its own whose system directory holds the generated files,
# program folders inside that prefix, and timing helpers. Sourced, not run.
KVB_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export KV_BUILD=${KV_BUILD:-$KVB_ROOT/build-bench}
# shellcheck source=../scripts/lib.sh
source "$KVB_ROOT/scripts/lib.sh"

KVB_FILES=${KVB_FILES:-5000}
KVB_SEED=${KVB_SEED:-1}
KVB_RUNS=${KVB_RUNS:-5}
KVB_PROFILE=${KVB_PROFILE:-0}
KVB_ALGO=${KVB_ALGO:-crc32}
export WINEPREFIX=${KVB_PREFIX:-$KV_BUILD/bench-prefix}
KVB_SYS="$WINEPREFIX/drive_c/windows/system32"
KVB_DRIVER="$KV_BUILD/bench/bench_check_driver.exe"
KVB_EXTS='dll|drv|386|sys|ocx|exe|com|pif|scr'

kvb_options() {
  while [ $# -gt 0 ]; do
    case $1 in
      -n) KVB_FILES=$2; shift 2 ;;
      --runs) KVB_RUNS=$2; shift 2 ;;
      --seed) KVB_SEED=$2; shift 2 ;;
      --profile) KVB_PROFILE=1; shift ;;
      --algo) KVB_ALGO=$2; shift 2 ;;
      *) echo "usage: $0 [-n FILES] [--runs N] [--seed S] [--profile] [--algo crc32|sha1|md5|sha256]" >&2; exit 2 ;;
    esac
  done
}

kvb_build() {
  kv_install
  mkdir -p "$KV_BUILD"
  kv_build_windows --target korvanel_full bench_check_driver bench_check_phases >"$KV_BUILD/bench-build.log" 2>&1 ||
    { tail -n 40 "$KV_BUILD/bench-build.log"; exit 1; }
}

kvb_up() {
  trap kvb_down EXIT
  # A wine server already running for the prefix makes a step fail harmlessly.
  set +e
  kv_wine_up --private-display
  set -e
  # Without a window manager on the private display, Wine waits two seconds
  # for every window it hides (a message box answered, the check window
  # hidden at the end of the first full scan). Unmanaged windows do not wait.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
}
kvb_down() { kv_wine_down; }

# The generated files in the prefix's system directory; prints their summary.
kvb_generate() {
  "$KVB_ROOT/bench/generate" "$KVB_SYS" -n "$KVB_FILES" --seed "$KVB_SEED"
  "$KVB_ROOT/bench/generate" "$KVB_SYS" -n "$KVB_FILES" --seed "$KVB_SEED" --restore >/dev/null
}

# Top-level files of the system directory that a check reads (the nine
# extensions, any letter case), one name a line, sorted.
kvb_checked_files() {
  find "$KVB_SYS" -maxdepth 1 -type f -printf '%f\n' | grep -iE "\.($KVB_EXTS)\$" | LC_ALL=C sort
}

# "files bytes" of the names on stdin.
kvb_sum() {
  (cd "$KVB_SYS" && tr '\n' '\0' | du -cb --files0-from=- | tail -n 1 | cut -f1)
}

kvb_warm() { find "$KVB_SYS" -maxdepth 1 -type f -exec cat {} + >/dev/null; }

# A fresh program folder C:\kvbench\NAME\ with the program in it; prints the
# Unix path.
kvb_program_folder() {
  local dir="$WINEPREFIX/drive_c/kvbench/$1"
  rm -rf "$dir"
  mkdir -p "$dir"
  cp "$KV_BUILD/bin/Korvanel.exe" "$dir/"
  echo "$dir"
}
kvb_win() { echo "C:\\kvbench\\$1\\"; }

# kvb_setting DIR KEY VALUE: sets a key of the main section of Data\Korvanel.dat.
kvb_setting() {
  sed -i "s/^$2=.*\r\$/$2=$3\r/" "$1/Data/Korvanel.dat"
  grep -q "^$2=$3"$'\r'"\$" "$1/Data/Korvanel.dat" || { echo "could not set $2" >&2; exit 1; }
}

# The driver under Wine; prints its "key=value" line.
kvb_drive() { wine "$KVB_DRIVER" "$@" 2>/dev/null | tr -d '\r'; }
kvb_field() { tr ' ' '\n' <<<"$1" | sed -n "s/^$2=//p"; }

# "seconds exit-status" of a command, wall clock, its output discarded.
kvb_seconds() {
  local t0 t1 rc=0
  t0=$(date +%s%N)
  "$@" >/dev/null 2>&1 || rc=$?
  t1=$(date +%s%N)
  awk -v ns=$((t1 - t0)) -v rc=$rc 'BEGIN { printf "%.4f %d\n", ns / 1e9, rc }'
}

# "min median" of the numbers given.
kvb_stats() {
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
    m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "%.3f %.3f\n", v[1], m }'
}

# A program folder NAME (crc32, sha1, md5, sha256) with the first full scan of its
# algorithm done; prints the seconds of the scan. Another algorithm than
# CRC-32 needs a settings file naming it, taken from the folder given (the
# CRC-32 one, made first when missing); start-up then asks about
# Data\Integrity.dat before the algorithm's own file, and that first
# question is declined.
kvb_first_scan() {  # NAME [SETTINGS-FOLDER]
  local dir decline=0 out settings=${2:-}
  if [ "$1" != crc32 ] && [ ! -f "$settings/Data/Korvanel.dat" ]; then
    kvb_first_scan crc32 >/dev/null
    settings="$WINEPREFIX/drive_c/kvbench/crc32"
  fi
  dir=$(kvb_program_folder "$1")
  if [ "$1" != crc32 ]; then
    decline=1
    mkdir -p "$dir/Data"
    cp "$settings/Data/Korvanel.dat" "$dir/Data/"
    kvb_setting "$dir" algo "$1"
  fi
  out=$(kvb_drive first "$(kvb_win "$1")" $decline)
  # Every start looks at Data\Integrity.dat before the algorithm is known;
  # a user who changed algorithms has the old one, so the folder gets it too.
  [ "$1" = crc32 ] || cp "$settings/Data/Integrity.dat" "$dir/Data/"
  kvb_field "$out" scan
}
kvb_baseline_name() { [ "$1" = crc32 ] && echo Integrity.dat || echo "Integrity-$1.dat"; }

# The baseline a program folder holds, checked against checksums computed
# here: every checked file present once, no "NULL", every value right.
# kvb_verify_baseline FILE ALGO(crc32|sha1|md5|sha256); prints "ok N" or the first faults.
kvb_verify_baseline() {
  python3 - "$1" "$2" "$KVB_SYS" <<'EOF'
import hashlib, os, re, sys, zlib
path, algo, sysdir = sys.argv[1:4]
exts = ("dll", "drv", "386", "sys", "ocx", "exe", "com", "pif", "scr")
text = open(path, "rb").read().decode("latin-1")
entries, faults = {}, []
for line in text.split("\r\n"):
    m = re.match(r"^([^=\[/]+)=(.*)\*E$", line)
    if m:
        if m.group(1).lower() in entries: faults.append("twice: " + m.group(1))
        entries[m.group(1).lower()] = m.group(2)
want = [n for n in os.listdir(sysdir)
        if os.path.isfile(os.path.join(sysdir, n)) and n.lower().rsplit(".", 1)[-1] in exts
        and "." in n]
for n in want:
    got = entries.pop(n.lower(), None)
    if got is None: faults.append("missing: " + n); continue
    data = open(os.path.join(sysdir, n), "rb").read()
    if algo == "crc32": ref = "%X" % zlib.crc32(data)
    elif algo == "sha256": ref = hashlib.sha256(data).hexdigest()
    else: ref = "".join(str(b) for b in hashlib.new(algo, data).digest())
    if got != ref: faults.append("%s: %s, expected %s" % (n, got, ref))
faults += ["extra: " + n for n in entries]
print("ok %d" % len(want) if not faults else "FAULTS %d: %s" % (len(faults), "; ".join(faults[:5])))
EOF
}
