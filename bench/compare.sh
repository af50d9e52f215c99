#!/usr/bin/env bash
# Whole-process comparison: times `glanex-cli --sans-limite -q FILE` against the two pipelines a Linux user
# would reach for and against reading the file, on seeded corpora that glanex-corpus writes here, and
# prints wall time (median and spread), MB/s, peak memory, the ratios and PASS/FAIL lines for the targets.
#
#   bench/compare.sh [SIZE...]        SIZE: 10M, 100M, 1G... (powers of 1000); default 10M 100M 1G
#
# Matrix: the dense mail text and the mail archive at every size; the HTML page and the CSV export below
# 1 GB, where they tell something the mail texts do not (other line shapes) at a tenth of the disk and time.
# Rows: glanex-cli on every core, on one thread (-j 1) and through a pipe (`cat FILE | glanex-cli`, with
# no usable temporary folder), the grep and rg pipelines, and the floors: `wc -l FILE` and
# `cat FILE | wc -l`.
# Environment: GLANEX_COMPARE_ROUNDS (10), GLANEX_COMPARE_SEED (1), GLANEX_COMPARE_KINDS
# ("dense mail html csv").
#
# How it measures: each corpus goes to build-bench/corpora/, alone, and is deleted after its runs (and on
# any exit); a corpus is skipped when the disk has less than twice its size free. The corpus is read once
# into the page cache, then each extracting command runs once untimed to count what it finds (the three
# glanex-cli rows must print the same list), then every row runs ROUNDS times, alternating, the order
# rotated each round; the median wall time is reported with the fastest and slowest round. Wall time is
# the shell's clock around the whole command or pipeline (output to /dev/null). Peak memory is GNU time's
# maximum resident set size (mapped file pages included): of glanex-cli itself, and for the grep and rg
# pipelines the sum of their two processes' peaks; the highest over the rounds is reported. MB are 10^6
# bytes.
#
# Targets checked on corpora of at least 100 MB: glanex-cli at most 0.1x the time of the faster pipeline
# and at most 2x the time of `wc -l`; through a pipe at most 1.5x the time of `cat FILE | wc -l`; from
# 1 GB on, every core at least 1.7x faster than one thread, and peak memory under 64 MB plus twice the
# bytes of the distinct addresses glanex-cli prints. The figures are a report: the exit status is 0 unless
# a step broke.
set -euo pipefail

cd "$(dirname "$0")/.."
root=$PWD
build_dir=$root/build-bench
corpora_dir=$build_dir/corpora
rounds=${GLANEX_COMPARE_ROUNDS:-10}
seed=${GLANEX_COMPARE_SEED:-1}
read -r -a kinds <<<"${GLANEX_COMPARE_KINDS:-dense mail html csv}"
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(10M 100M 1G)

pattern='[[:alnum:]._%+-]+@[[:alnum:].-]+\.[[:alpha:]]{2,}'
names=(glanex glanex-j1 pipe grep rg wc cat-wc)
commands=(
  "glanex-cli --sans-limite -q FICHIER"
  "glanex-cli --sans-limite -q -j 1 FICHIER"
  "cat FICHIER | TMPDIR=/absent glanex-cli --sans-limite -q"
  "LC_ALL=C grep -aoE '$pattern' FICHIER | awk '!seen[\$0]++'"
  "rg -aoN '$pattern' FICHIER | awk '!seen[\$0]++'"
  "wc -l FICHIER"
  "cat FICHIER | wc -l"
)
# The rows that extract addresses, whose lists are counted.
extracting=(0 1 2 3 4)

fail() {
  echo "compare.sh : $*" >&2
  exit 1
}

# "10M" -> 10000000
bytes_of() {
  local size=$1 number unit
  [[ $size =~ ^([0-9]+)([KMG]?)$ ]] || fail "taille invalide : « $size » (exemples : 10M, 100M, 1G)"
  number=${BASH_REMATCH[1]}
  unit=${BASH_REMATCH[2]}
  case $unit in
    K) echo $((number * 1000)) ;;
    M) echo $((number * 1000000)) ;;
    G) echo $((number * 1000000000)) ;;
    *) echo "$number" ;;
  esac
}

for size in "${sizes[@]}"; do bytes_of "$size" >/dev/null; done
[[ $rounds =~ ^[1-9][0-9]*$ ]] || fail "GLANEX_COMPARE_ROUNDS doit être un entier positif"

# --- What the comparison needs: the build's packages, then ripgrep and GNU time.
scripts/install-deps
missing=()
command -v rg >/dev/null || missing+=(ripgrep)
[ -x /usr/bin/time ] || missing+=(time)
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installation des paquets manquants : ${missing[*]}"
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${as_root[@]}" apt-get update
  "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

echo "Construction de glanex-cli et glanex-corpus (Release, $build_dir)…"
# Configured as `make bench` does, so that neither rebuilds the folder for the other.
cmake -S . -B "$build_dir" -G Ninja -DGLANEX_WARNINGS_AS_ERRORS=ON -DCMAKE_BUILD_TYPE=Release \
  -DGLANEX_BUILD_BENCHMARKS=ON >/dev/null
cmake --build "$build_dir" --target glanex-cli glanex-corpus >"$build_dir/compare-build.log" 2>&1 ||
  { cat "$build_dir/compare-build.log" >&2; fail "la construction a échoué"; }
cli=$build_dir/bin/glanex-cli
corpus_tool=$build_dir/bin/glanex-corpus

mkdir -p "$corpora_dir"
scratch=$(mktemp -d)
corpus=
cleanup() {
  [ -z "$corpus" ] || rm -f "$corpus"
  rm -rf "$scratch"
}
trap cleanup EXIT

# --- The commands, one function per row (named after the row, "-" as "_"). Each takes a prefix for the
# files that receive its processes' peak RSS in KiB (PREFIX.1, and PREFIX.2 for a pipeline's second
# process) and the corpus, and writes its output on standard output. grep and rg exit with 1 when they
# find nothing, which is no failure here. Each ends with its command, whose status (with pipefail, any
# failure in the pipeline) is the function's: callers test it, which turns `set -e` off inside.
run_glanex() {
  /usr/bin/time -f %M -o "$1.1" "$cli" --sans-limite -q "$2"
}

run_glanex_j1() {
  /usr/bin/time -f %M -o "$1.1" "$cli" --sans-limite -q -j 1 "$2"
}

# A temporary folder that does not exist: a copy of the pipe would fail.
run_pipe() {
  cat "$2" | TMPDIR=$scratch/absent /usr/bin/time -f %M -o "$1.1" "$cli" --sans-limite -q
}

# shellcheck disable=SC2016 # $0 is awk's
run_grep() {
  { LC_ALL=C /usr/bin/time -f %M -o "$1.1" grep -aoE "$pattern" "$2" || [ $? -eq 1 ]; } |
    /usr/bin/time -f %M -o "$1.2" awk '!seen[$0]++'
}

# shellcheck disable=SC2016 # $0 is awk's
run_rg() {
  { /usr/bin/time -f %M -o "$1.1" rg -aoN "$pattern" "$2" || [ $? -eq 1 ]; } |
    /usr/bin/time -f %M -o "$1.2" awk '!seen[$0]++'
}

run_wc() {
  /usr/bin/time -f %M -o "$1.1" wc -l "$2"
}

run_cat_wc() {
  cat "$2" | /usr/bin/time -f %M -o "$1.1" wc -l
}

# Microseconds since the epoch, whatever the locale's decimal separator. Timed runs read EPOCHREALTIME
# the same way inline, to keep a subshell out of the measured span.
now_us() {
  local stamp=${EPOCHREALTIME//[!0-9]/}
  echo $((10#$stamp))
}

# "MEDIAN MIN MAX" of the numbers given.
median_and_spread() {
  printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)], v[1], v[NR] }'
}

# The sum of the peaks written under a prefix; GNU time adds a line of its own when a command fails.
rss_kib() {
  cat "$1".* | awk '$1 ~ /^[0-9]+$/ { sum += $1 } END { print sum + 0 }'
}

checks=()
# Prints its arguments as one line and keeps it for the summary.
record_check() {
  echo "$*"
  checks+=("$*")
}

# check_ratio LABEL ROW OTHER_LABEL OTHER_ROW LIMIT MEDIANS...: PASS when ROW's median is at most LIMIT
# times OTHER_ROW's.
check_ratio() {
  local label=$1 row=$2 other_label=$3 other=$4 limit=$5
  shift 5
  local -a medians=("$@")
  local ratio verdict
  ratio=$(awk -v a="${medians[row]}" -v b="${medians[other]}" 'BEGIN { printf "%.3f", a / b }')
  verdict=$(awk -v r="$ratio" -v l="$limit" 'BEGIN { print (r <= l ? "PASS" : "FAIL") }')
  record_check "$verdict $label : ${ratio}x le temps de $other_label (cible : au plus ${limit}x)"
}

compare_corpus() {
  local kind=$1 size=$2 bytes available generation_start file_bytes
  bytes=$(bytes_of "$size")
  available=$(df --output=avail -B1 "$corpora_dir" | tail -n 1 | tr -d ' ')
  if [ "$available" -lt $((2 * bytes)) ]; then
    echo
    echo "== $kind $size : ignoré, $((available / 1000000)) Mo libres pour $((2 * bytes / 1000000)) Mo demandés" \
      "(deux fois la taille du corpus)"
    return
  fi

  corpus=$corpora_dir/$kind-$size-seed$seed.txt
  generation_start=$(now_us)
  "$corpus_tool" --kind "$kind" --size "$bytes" --seed "$seed" --output "$corpus"
  file_bytes=$(stat -c %s "$corpus")
  echo
  echo "== $kind $size : $file_bytes octets, graine $seed, écrit en" \
    "$(awk -v us=$(($(now_us) - generation_start)) 'BEGIN { printf "%.1f", us / 1e6 }') s"
  cat "$corpus" >/dev/null

  # Untimed pass, which also warms the programs: what each tool finds, and the bytes of the distinct
  # addresses glanex-cli prints (UTF-8, line ends not counted) for the memory target.
  local -a found
  local name index distinct_bytes count=${#names[@]}
  for index in "${extracting[@]}"; do
    name=${names[index]}
    "run_${name//-/_}" "$scratch/rss" "$corpus" >"$scratch/$name.out" ||
      fail "$name a échoué sur $corpus (code $?)"
    found[index]=$(wc -l <"$scratch/$name.out")
  done
  for name in glanex-j1 pipe; do
    cmp -s "$scratch/glanex.out" "$scratch/$name.out" || fail "$name ne donne pas la liste de glanex sur $corpus"
  done
  distinct_bytes=$(LC_ALL=C awk '{ sub(/\r$/, ""); bytes += length($0) } END { print bytes + 0 }' \
    "$scratch/glanex.out")
  rm -f "$scratch"/*.out

  # walls[index] holds the row's times, space-separated.
  local -a walls peaks
  for ((index = 0; index < count; index++)); do
    walls[index]=
    peaks[index]=0
  done
  local round position start end rss
  for ((round = 0; round < rounds; round++)); do
    for ((position = 0; position < count; position++)); do
      index=$(((position + round) % count))
      name=${names[index]}
      rm -f "$scratch"/rss.*
      start=${EPOCHREALTIME//[!0-9]/}
      "run_${name//-/_}" "$scratch/rss" "$corpus" >/dev/null || fail "$name a échoué sur $corpus (code $?)"
      end=${EPOCHREALTIME//[!0-9]/}
      walls[index]+=" $((10#$end - 10#$start))"
      rss=$(rss_kib "$scratch/rss")
      [ "$rss" -le "${peaks[index]}" ] || peaks[index]=$rss
    done
  done
  # medians[index]: the row's median in microseconds.
  local -a medians
  local spread
  echo "commande   médiane (s)  (min – max)       Mo/s  mémoire (Mo)   adresses"
  for ((index = 0; index < count; index++)); do
    # shellcheck disable=SC2086 # one argument per round
    spread=$(median_and_spread ${walls[index]})
    medians[index]=${spread%% *}
    awk -v name="${names[index]}" -v spread="$spread" -v bytes="$file_bytes" -v kib="${peaks[index]}" \
      -v found="${found[index]:--}" \
      'BEGIN { split(spread, t, " "); printf "%-9s %10.3f  (%.3f – %.3f) %10.0f %13.1f %10s\n", name,
               t[1] / 1e6, t[2] / 1e6, t[3] / 1e6, bytes / t[1], kib * 1024 / 1e6, found }'
  done
  local faster=3
  [ "${medians[4]}" -ge "${medians[3]}" ] || faster=4
  echo "adresses distinctes de glanex-cli : $distinct_bytes octets ; $(nproc) cœurs pour glanex-cli"

  if [ "$bytes" -ge 100000000 ]; then
    check_ratio "$kind $size : glanex-cli" 0 "${names[faster]}, le plus rapide des deux" "$faster" 0.1 "${medians[@]}"
    check_ratio "$kind $size : glanex-cli" 0 "wc -l" 5 2 "${medians[@]}"
    check_ratio "$kind $size : cat | glanex-cli" 2 "cat | wc -l" 6 1.5 "${medians[@]}"
  fi
  if [ "$bytes" -ge 1000000000 ]; then
    check_ratio "$kind $size : glanex-cli sur tous les cœurs" 0 "glanex-cli -j 1" 1 "$(awk 'BEGIN { print 1 / 1.7 }')" \
      "${medians[@]}"
    local limit=$((64000000 + 2 * distinct_bytes)) peak=$((peaks[0] * 1024))
    local verdict=PASS
    [ "$peak" -lt "$limit" ] || verdict=FAIL
    record_check "$verdict $kind $size : mémoire de glanex-cli $(awk -v p="$peak" 'BEGIN { printf "%.1f", p / 1e6 }') Mo" \
      "(cible : moins de 64 Mo + 2 x $distinct_bytes octets d'adresses = $(awk -v l="$limit" 'BEGIN { printf "%.1f", l / 1e6 }') Mo)"
  fi

  rm -f "$corpus"
  corpus=
}

echo "Machine : $(nproc) cœurs, $(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)"
# awk reads every line, so that no tool writes to a closed pipe.
echo "Outils : $(grep --version | awk 'NR == 1') ; $(rg --version | awk 'NR == 1') ;" \
  "awk = $(readlink -f "$(command -v awk)")"
echo "Charge moyenne (1, 5 et 15 min) au départ : $(cut -d ' ' -f 1-3 /proc/loadavg)"
echo "Commandes comparées ($rounds tours alternés, médiane) :"
for ((index = 0; index < ${#names[@]}; index++)); do echo "  ${names[index]} : ${commands[index]}"; done

for size in "${sizes[@]}"; do
  for kind in "${kinds[@]}"; do
    [ "$kind" = mail ] || [ "$kind" = dense ] || [ "$(bytes_of "$size")" -lt 1000000000 ] || continue
    compare_corpus "$kind" "$size"
  done
done

echo
echo "== Cibles (charge moyenne à la fin : $(cut -d ' ' -f 1-3 /proc/loadavg))"
if [ ${#checks[@]} -eq 0 ]; then
  echo "aucune : elles portent sur les corpus d'au moins 100M (vitesse) et 1G (fils, mémoire)"
else
  printf '%s\n' "${checks[@]}"
fi
