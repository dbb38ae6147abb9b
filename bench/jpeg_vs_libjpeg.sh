#!/usr/bin/env bash
# Our JPEG decode and encode against libjpeg-turbo's own djpeg and cjpeg, on the same
# 24-megapixel photo-like picture (made by kovanta_bench, so it is the benchmark's picture).
# djpeg and cjpeg are timed as whole processes, file in, /dev/null out. Ours is timed around
# the codec call (decodeJpegFile from the file into a picture; encodeJpeg of a picture in
# memory plus writing the bytes), and for reference as a whole process as well, which adds
# loading the PPM into a picture for the encode. The best of several interleaved runs counts.
# Builds nothing: pass a build folder in which the kovanta_bench target is built.
#
#   bench/jpeg_vs_libjpeg.sh BUILD_FOLDER [RUNS]
#
# Exits 1 when our codec call is more than 10% slower than libjpeg-turbo's tool.
set -euo pipefail

build=${1:?usage: $0 BUILD_FOLDER [RUNS]}
runs=${2:-7}
bench="$build/bench/kovanta_bench"
if [[ ! -x $bench ]]; then
  echo "$bench not found: build the kovanta_bench target first" >&2
  exit 2
fi
for tool in djpeg cjpeg; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool not found (Debian: apt-get install libjpeg-turbo-progs)" >&2
    exit 2
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --write-picture "$work/picture.ppm" "$work/picture.jpg"
read -r width height < <(sed -n 2p "$work/picture.ppm")
megapixels=$(awk -v w="$width" -v h="$height" 'BEGIN { print w * h / 1e6 }')

# Runs a command once; prints its wall-clock and CPU (user + system) seconds. The command's
# own output is kept in $work/stdout.
timeOnce() {
  local times
  times=$({ TIMEFORMAT='%R %U %S'; time "$@" >"$work/stdout" 2>"$work/stderr"; } 2>&1) || {
    echo "failed: $*" >&2
    cat "$work/stderr" >&2
    exit 2
  }
  awk '{ printf "%.4f %.4f\n", $1, $2 + $3 }' <<<"$times"
}

declare -A bestWall bestCpu
record() {  # name "wall cpu"
  local name=$1 wall cpu
  read -r wall cpu <<<"$2"
  if [[ -z ${bestWall[$name]:-} ]] || awk -v a="$wall" -v b="${bestWall[$name]}" 'BEGIN { exit !(a < b) }'; then
    bestWall[$name]=$wall
  fi
  if [[ -z ${bestCpu[$name]:-} ]] || awk -v a="$cpu" -v b="${bestCpu[$name]}" 'BEGIN { exit !(a < b) }'; then
    bestCpu[$name]=$cpu
  fi
}

measure() {  # name command...
  local name=$1 times
  shift
  times=$(timeOnce "$@")
  record "$name" "$times"
}

# Ours prints the time of its codec call; the process time is recorded beside it.
measureOurs() {  # name command...
  local name=$1 times
  shift
  times=$(timeOnce "$@")
  record "$name-process" "$times"
  record "$name" "$(cat "$work/stdout")"
}

# Interleaved, so that other load on the machine hits every tool alike.
for ((i = 0; i < runs; i++)); do
  measure djpeg djpeg -outfile /dev/null "$work/picture.jpg"
  measureOurs ours-decode "$bench" --decode-file "$work/picture.jpg"
  measure cjpeg cjpeg -quality 90 -outfile /dev/null "$work/picture.ppm"
  measureOurs ours-encode "$bench" --encode-ppm "$work/picture.ppm" /dev/null
done

# Same settings, same library: the files differ only in the JFIF units and density (bytes 13-17).
cjpeg -quality 90 -outfile "$work/cjpeg.jpg" "$work/picture.ppm"
"$bench" --encode-ppm "$work/picture.ppm" "$work/ours.jpg" >/dev/null
if cmp -s -i 18 "$work/cjpeg.jpg" "$work/ours.jpg"; then
  same="identical to cjpeg's apart from the density"
else
  same="DIFFERENT from cjpeg's"
fi

printf 'picture %d x %d (%.1f MP), JPEG quality 90 of %s bytes; best of %d runs\n' \
  "$width" "$height" "$megapixels" "$(stat -c %s "$work/picture.jpg")" "$runs"
printf '%-21s %8s %8s %8s %9s\n' "" "wall s" "MP/s" "CPU s" "MP/CPU-s"
slower=0
row() {  # name reference
  local name=$1 reference=${2:-}
  local wall=${bestWall[$name]} cpu=${bestCpu[$name]}
  local line
  line=$(awk -v n="$name" -v w="$wall" -v c="$cpu" -v mp="$megapixels" \
    'BEGIN { printf "%-21s %8.3f %8.1f %8.3f %9.1f", n, w, mp / w, c, mp / c }')
  if [[ -n $reference ]]; then
    local verdict
    verdict=$(awk -v w="$wall" -v r="${bestWall[$reference]}" \
      'BEGIN { printf "%3.0f%% of %s speed", 100 * r / w, "'"$reference"'"; exit !(w > 1.1 * r) }') &&
      slower=1
    line+="   $verdict"
  fi
  echo "$line"
}
row djpeg
row ours-decode djpeg
row ours-decode-process
row cjpeg
row ours-encode cjpeg
row ours-encode-process
echo "our JPEG is $same"
if ((slower)); then
  echo "our codec call is more than 10% slower than libjpeg-turbo's tool" >&2
  exit 1
fi
