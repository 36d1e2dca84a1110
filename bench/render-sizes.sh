#!/bin/sh
# Wall time and peak memory of whole renders at the larger sizes, for the
# example and for a recipe of every operation, as BMP and PNG, on every
# processor and on one thread, at depth 8 (the default) or 16, or as normal
# maps with 8 bits per channel (from depth-16 replays).
#   bench/render-sizes.sh path/to/quiltor-render [--depth 8|16 | --normal] [SIZE ...]
set -eu
render=$1
shift
depth=8
normal=""
if [ "${1:-}" = --depth ]; then
    depth=$2
    shift 2
elif [ "${1:-}" = --normal ]; then
    depth=16
    normal="--normal --bits 8"
    shift
fi
sizes=${*:-1024 4096 8192 16384}
here=$(cd "$(dirname "$0")" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
printf '%-22s %6s %5s %4s %8s %9s %10s\n' recipe size depth fmt threads "wall s" "peak MiB"
for recipe in "$here/../docs/example.recipe" "$here/every-operation.recipe"; do
    name=$(basename "$recipe" .recipe)${normal:+ normal}
    for size in $sizes; do
        for format in bmp png; do
            for threads in all 1; do
                if [ "$threads" = 1 ] && [ "$format" = png ]; then
                    continue # one thread is measured once per size
                fi
                option=$normal
                [ "$threads" = 1 ] && option="$option --threads 1"
                # shellcheck disable=SC2086
                /usr/bin/time -f '%e %M' -o "$out/time" \
                    "$render" "$recipe" -o "$out/out.$format" --size "$size" --depth "$depth" \
                    --quiet $option
                read -r wall kib < "$out/time"
                printf '%-22s %6s %5s %4s %8s %9s %10d\n' "$name" "$size" "$depth" "$format" \
                    "$threads" "$wall" $((kib / 1024))
                rm -f "$out/out.$format"
            done
        done
    done
done
