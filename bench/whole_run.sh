#!/usr/bin/env bash
# Whole-run benchmark of kovanta-batch: photo-like photos of 8, 16 and 24 megapixels (three
# of each, every third one upright) into an A4 frame at 300 dpi with three captions, at -j 1
# and -j 2, against
#   the floor: libjpeg-turbo's djpeg decoding the same photos plus cjpeg encoding a picture
#              of the output's size, once per photo (what no program doing this job can beat);
#   ImageMagick doing a comparable job: quarter turn where ours turns, crop to the window's
#              proportions, box-filter resize, frame overlay, three texts, quality 90.
# Prints the time per photo of each, the ratios against the targets, and the peak memory of
# -j 1 (whose largest photo is 24 megapixels).
#
#   bench/whole_run.sh [BUILD_FOLDER]        default: build
#
# Needs the targets kovanta-batch and make_demo_photos built in BUILD_FOLDER. Installs
# libjpeg-turbo-progs, imagemagick and time with apt-get when they are missing (as root).
# Every timing is the best of RUNS runs (environment, default 3); on a machine shared with
# other work, run it when the machine is quiet: the load average is printed with the results.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${RUNS:-3}
batch=$build/kovanta-batch
make_photos=$build/tools/make_demo_photos
for exe in "$batch" "$make_photos"; do
  if [[ ! -x $exe ]]; then
    echo "$exe not found: build the targets kovanta-batch and make_demo_photos first" >&2
    exit 2
  fi
done

# Debian's ImageMagick 6 binary by its own name: a convert earlier on PATH may be another program.
magick=/usr/bin/convert-im6.q16
identify=/usr/bin/identify-im6.q16
missing=()
command -v djpeg >/dev/null && command -v cjpeg >/dev/null || missing+=(libjpeg-turbo-progs)
[[ -x $magick ]] || missing+=(imagemagick)
[[ -x /usr/bin/time ]] || missing+=(time)
if ((${#missing[@]})); then
  echo "installing ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq && apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for size in 3456x2304 4928x3264 6000x4000; do  # 8.0, 16.1 and 24.0 megapixels
  "$make_photos" "$work/photos" 3 "$size"
done
"$make_photos" --a4-frame "$work/frame"
"$make_photos" "$work/tiny" 1 100x80  # too small: skipped, so a run of it is the start-up alone
frame=$work/frame/a4.ini
photos=("$work"/photos/*.jpg)
count=${#photos[@]}
# The frame's geometry, as make_demo_photos writes it.
frame_w=2480 frame_h=3508 win_x=140 win_y=140 win_w=2200 win_h=2600
title="卒業記念 2025" date="2025年3月14日" other="第42回卒業生 一同"

# Runs a command (or function), prints "wall-seconds cpu-seconds" (children included); its
# output goes to $work/log.
measure() {
  local times
  times=$({ TIMEFORMAT='%R %U %S'; time "$@" >"$work/log" 2>&1; } 2>&1) || {
    echo "failed: $*" >&2
    tail -5 "$work/log" >&2
    exit 2
  }
  awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }' <<<"$times"
}

# The run with the lowest wall time of $runs runs.
best() {
  local result="" line i
  for ((i = 0; i < runs; i++)); do
    line=$(measure "$@")
    if [[ -z $result ]] || awk -v a="${line%% *}" -v b="${result%% *}" 'BEGIN { exit !(a < b) }'; then
      result=$line
    fi
  done
  echo "$result"
}

# Peak resident memory in KB of a process.
peak() {
  /usr/bin/time -f '%M' -o "$work/peak" "$@" >/dev/null 2>&1
  cat "$work/peak"
}

batch_run() {  # jobs output-folder
  rm -rf "$2"
  "$batch" -j "$1" --frame "$frame" "$work/photos" "$2"
}

# The floor: decode every photo, encode one output-sized picture per photo.
batch_run 1 "$work/probe" >/dev/null 2>&1
outputs=("$work"/probe/*.jpg)
djpeg -outfile "$work/output.ppm" "${outputs[0]}"
floor_run() {
  for p in "${photos[@]}"; do
    djpeg -outfile /dev/null "$p"
    cjpeg -quality 90 -outfile /dev/null "$work/output.ppm"
  done
}

# ImageMagick: the frame with its black made see-through once beforehand (not timed).
"$magick" "$work/frame/a4.bmp" -transparent black "$work/frame.png"
gothic=$(fc-match -f '%{file}' 'IPAPGothic')
mincho=$(fc-match -f '%{file}' 'IPAPMincho')
magick_one() {  # photo output
  local w h turn=()
  read -r w h < <("$identify" -ping -format '%w %h' "$1")
  if ((w > h)); then  # the frame is upright: turned as ours turns it
    turn=(-rotate 90)
    read -r w h <<<"$h $w"
  fi
  local cw=$w ch=$((w * win_h / win_w))
  if ((ch > h)); then
    ch=$h cw=$((h * win_w / win_h))
  fi
  /usr/bin/time -f '%M' -a -o "$work/magick_peaks" "$magick" -size ${frame_w}x${frame_h} xc:red \
    \( "$1" "${turn[@]}" -crop "${cw}x${ch}+$(((w - cw) / 2))+$(((h - ch) / 2))" +repage \
    -filter Box -resize "${win_w}x${win_h}!" \) -geometry +${win_x}+${win_y} -composite \
    "$work/frame.png" -composite -fill '#3c3228' -gravity north \
    -font "$gothic" -pointsize 173 -annotate +0+2860 "$title" \
    -font "$mincho" -pointsize 80 -annotate +0+3110 "$date" \
    -font "$gothic" -pointsize 64 -annotate +0+3240 "$other" \
    -quality 90 "$2"
}
magick_run() {
  rm -rf "$work/magick" && mkdir "$work/magick"
  for p in "${photos[@]}"; do magick_one "$p" "$work/magick/$(basename "$p")"; done
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
read -r j1_wall j1_cpu < <(best batch_run 1 "$work/out1")
grep -q "保存ファイル数:$(printf '%4d' "$count") エラー:0" "$work/log" || {
  echo "kovanta-batch did not save every photo:" >&2
  cat "$work/log" >&2
  exit 2
}
read -r j2_wall j2_cpu _ < <(best batch_run 2 "$work/out2")
read -r floor_wall floor_cpu _ < <(best floor_run)
read -r startup_wall _ < <(best "$batch" --frame "$frame" "$work/tiny" "$work/tiny-out")
read -r im_wall im_cpu < <(runs=1 best magick_run)
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
rm -rf "$work/out3"
j1_peak=$(peak "$batch" -j 1 --frame "$frame" "$work/photos" "$work/out3")
im_peak=$(sort -n "$work/magick_peaks" | tail -1)
same=$(diff -rq "$work/out1" "$work/out2" >/dev/null && echo "identical" || echo "DIFFERENT")

megapixels=$(for p in "${photos[@]}"; do "$identify" -ping -format '%w %h\n' "$p"; done |
  awk '{ mp += $1 * $2 } END { printf "%.0f", mp / 1e6 }')
echo "$count photos ($megapixels megapixels in all, 8 to 24 each) into a ${frame_w}x${frame_h} frame"
echo "with three captions; $(nproc) cores; load average $load_before before, $load_after after;"
echo "best of $runs runs (ImageMagick: one run, Debian's default resource policy)"
echo
printf '%-26s %10s %10s %12s\n' "" "s/photo" "CPU s/photo" "peak MB"
row() { awk -v n="$1" -v w="$2" -v c="$3" -v m="${4:-}" -v k="$count" \
  'BEGIN { printf "%-26s %10.3f %10.3f %12s\n", n, w / k, c / k, m == "" ? "" : sprintf("%.0f", m / 1024) }'; }
row "kovanta-batch -j 1" "$j1_wall" "$j1_cpu" "$j1_peak"
row "kovanta-batch -j 2" "$j2_wall" "$j2_cpu"
row "floor (djpeg + cjpeg)" "$floor_wall" "$floor_cpu"
row "ImageMagick" "$im_wall" "$im_cpu" "$im_peak"
echo
verdict() { awk -v v="$2" -v t="$3" -v op="$4" -v n="$1" \
  'BEGIN { ok = op == "<=" ? v <= t : op == "<" ? v < t : v >= t; printf "%-44s %6.2f  (target %s %s) %s\n", n, v, op, t, ok ? "met" : "MISSED" }'; }
verdict "-j 1 per photo / floor" "$(awk -v a="$j1_wall" -v b="$floor_wall" 'BEGIN { print a / b }')" 2.0 "<="
verdict "-j 2 speed-up over -j 1" "$(awk -v a="$j1_wall" -v b="$j2_wall" 'BEGIN { print a / b }')" 1.7 ">="
verdict "ImageMagick per photo / -j 1 per photo" "$(awk -v a="$im_wall" -v b="$j1_wall" 'BEGIN { print a / b }')" 10 ">="
verdict "peak memory of -j 1 (MB, 24-megapixel photos)" "$(awk -v m="$j1_peak" 'BEGIN { print m / 1024 }')" 600 "<"
echo "-j 1 and -j 2 outputs: $same"
awk -v s="$startup_wall" -v a="$j1_wall" -v b="$j2_wall" 'BEGIN {
  printf "start-up of a run (frame loaded, nothing processed): %.3f s; without it -j 2 is %.2f x faster\n",
    s, (a - s) / (b - s) }'
