#!/bin/sh
# The table the PNG band writer's filter and level were chosen from: the
# gallery rendered at SIZE (default 4096) as 8- and 16-bit colours, 16-bit
# heights and 8-bit normal maps, each written again with every filter and
# level on one thread. Prints each picture's line, then per kind of picture
# and encoding the megabytes of samples per second (one thread) and the
# files' total size. With "libdeflate" after SIZE, only the 16-bit kinds,
# with libdeflate's levels beside zlib's Up at 1 and 3.
#   bench/png-encodings.sh path/to/quiltor-render path/to/png_encodings [SIZE [libdeflate]]
set -eu
render=$1
encodings=$2
size=${3:-4096}
only=${4:-}
here=$(cd "$(dirname "$0")" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for recipe in "$here"/../docs/*.recipe; do
    name=$(basename "$recipe" .recipe)
    "$render" "$recipe" -o "$out/colour16-$name.png" --size "$size" --depth 16 --quiet
    "$render" "$recipe" -o "$out/height-$name.png" --size "$size" --height --quiet
    [ "$only" = libdeflate ] && continue
    "$render" "$recipe" -o "$out/colour8-$name.png" --size "$size" --depth 8 --quiet
    "$render" "$recipe" -o "$out/normal8-$name.png" --size "$size" --normal --bits 8 --quiet
done
"$encodings" ${only:+--$only} "$out"/*.png | tee "$out/lines"
echo
printf '%-9s %-10s %5s %9s %12s %8s\n' kind filter level "MB/s" "MB" ratio
# MB/s over the kind's pictures together: raw bytes over summed seconds.
awk 'NR > 1 {
    kind = $1; sub(/-.*/, "", kind); key = kind " " $2 " " $3
    raw = $5 / $6; seconds[key] += raw / ($4 * 1e6); bytes[key] += $5; raws[key] += raw
    if (!(key in seen)) { seen[key] = 1; order[n++] = key }
} END {
    for (i = 0; i < n; ++i) {
        split(order[i], part, " ")
        printf "%-9s %-10s %5s %9.1f %12.1f %8.3f\n", part[1], part[2], part[3],
            raws[order[i]] / seconds[order[i]] / 1e6, bytes[order[i]] / 1e6,
            bytes[order[i]] / raws[order[i]]
    }
}' "$out/lines" | sort -k1,1 -k2,2 -k3,3n
