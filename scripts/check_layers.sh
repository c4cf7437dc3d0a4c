#!/bin/sh
# Fails when an include runs against the layer order:
#   platform < image < app < views < shell < automation, res beside all.
# A folder may include its own headers, any lower layer's and res/; res/
# includes only res/. The application object and main (app/lumo_app.*,
# app/main.cpp) compose the program and may include any layer.
cd "$(dirname "$0")/.." || exit 2
rank() {
    case "$1" in
    platform) echo 0 ;; image) echo 1 ;; app) echo 2 ;; views) echo 3 ;;
    shell) echo 4 ;; automation) echo 5 ;; *) echo -1 ;;
    esac
}
bad=0
for dir in platform image app views shell automation res; do
    for f in $(find "$dir" -name '*.cpp' -o -name '*.h' | sort); do
        case "$f" in app/lumo_app.*|app/main.cpp) continue ;; esac
        for inc in $(sed -n 's/^#include "\([a-z_]*\)\/.*"/\1/p' "$f" | sort -u); do
            [ "$inc" = "$dir" ] || [ "$inc" = res ] && continue
            if [ "$dir" = res ] || [ "$(rank "$inc")" -gt "$(rank "$dir")" ]; then
                for h in $(sed -n "s/^#include \"\($inc\/[^\"]*\)\"/\1/p" "$f"); do
                    echo "$f includes $h: against the layer order"
                    bad=1
                done
            fi
        done
    done
done
exit $bad
