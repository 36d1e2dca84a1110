#!/bin/sh
# The PNG write's targets, measured side by side in one run on every
# processor, each render repeated REPEATS times (default 3), old and new
# interleaved, the minimum wall time kept:
#   - the example and the every-operation recipe at depth 16, 4096 and
#     16384: the PNG render's time over the BMP render's (target <= 1.6);
#   - the same at depth 8, 4096 (target <= 1.15);
#   - the write alone, the PNG render's time less the BMP render's, on
#     one thread over two, the example at 4096, depth 16 (target >= 1.8);
#   - the gallery's PNG sizes at 4096, 8 and 16 bits, new over old (<= 1.10).
#   bench/png-targets.sh NEW/quiltor-render [OLD/quiltor-render] [REPEATS] [SIZES]
set -eu
new=$1
old=${2:-}
repeats=${3:-3}
sizes=${4:-4096 16384}
here=$(cd "$(dirname "$0")" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
builds="new"
[ -n "$old" ] && builds="old new"

# Least wall time of REPEATS renders of: build recipe size depth format [options].
render_time() {
    build=$1 recipe=$2 size=$3 depth=$4 format=$5
    shift 5
    binary=$new
    [ "$build" = old ] && binary=$old
    best=999999
    i=0
    while [ "$i" -lt "$repeats" ]; do
        /usr/bin/time -f '%e' -o "$out/time" "$binary" "$recipe" -o "$out/out.$format" \
            --size "$size" --depth "$depth" --quiet "$@"
        wall=$(cat "$out/time")
        best=$(echo "$best $wall" | awk '{ print ($2 < $1) ? $2 : $1 }')
        i=$((i + 1))
    done
    rm -f "$out/out.$format"
    echo "$best"
}

printf '%-16s %6s %5s %5s %8s %8s %7s\n' recipe size depth build "bmp s" "png s" "png/bmp"
for recipe in "$here/../docs/example.recipe" "$here/every-operation.recipe"; do
    name=$(basename "$recipe" .recipe)
    for depth in 16 8; do
        for size in $sizes; do
            [ "$depth" = 8 ] && [ "$size" != 4096 ] && continue
            for build in $builds; do
                bmp=$(render_time "$build" "$recipe" "$size" "$depth" bmp)
                png=$(render_time "$build" "$recipe" "$size" "$depth" png)
                printf '%-16s %6s %5s %5s %8s %8s %7.2f\n' "$name" "$size" "$depth" "$build" \
                    "$bmp" "$png" "$(echo "$png $bmp" | awk '{ print $1 / $2 }')"
            done
        done
    done
done

echo
printf '%-16s %5s %8s %8s %8s %8s %9s\n' write build "1 th. s" "2 th. s" "" "" "1/2"
example="$here/../docs/example.recipe"
for build in $builds; do
    for threads in 1 2; do
        bmp=$(render_time "$build" "$example" 4096 16 bmp --threads "$threads")
        png=$(render_time "$build" "$example" 4096 16 png --threads "$threads")
        echo "$png $bmp" | awk '{ print $1 - $2 }' > "$out/write$threads"
    done
    printf '%-16s %5s %8.2f %8.2f %8s %8s %9.2f\n' "example 4096/16" "$build" \
        "$(cat "$out/write1")" "$(cat "$out/write2")" "" "" \
        "$(awk '{ one = $1 } END { getline two < "'"$out/write2"'"; print one / two }' "$out/write1")"
done

echo
printf '%-16s %5s %12s %12s %7s\n' "file at 4096" bits "old bytes" "new bytes" "new/old"
for recipe in "$here"/../docs/*.recipe; do
    name=$(basename "$recipe" .recipe)
    for depth in 8 16; do
        "$new" "$recipe" -o "$out/new.png" --size 4096 --depth "$depth" --quiet
        newSize=$(wc -c < "$out/new.png")
        oldSize=""
        if [ -n "$old" ]; then
            "$old" "$recipe" -o "$out/old.png" --size 4096 --depth "$depth" --quiet
            oldSize=$(wc -c < "$out/old.png")
        fi
        printf '%-16s %5s %12s %12s %7s\n' "$name" "$depth" "$oldSize" "$newSize" \
            "$(echo "$newSize ${oldSize:-0}" | awk '{ print ($2 > 0) ? sprintf("%.3f", $1 / $2) : "" }')"
    done
done
