#!/bin/sh
# A manual page passes when groff, with every warning on, has nothing to say.
set -eu
page=$1
# On a terminal as man(1) shows it (one continuous page, so no table is cut by
# a page's end), at groff's own line length and at the 80 columns man(1) often
# uses.
warnings=$(LC_ALL=C groff -Tutf8 -t -man -ww -z "$page" 2>&1; LC_ALL=C groff -Tutf8 -t -man -ww -z -rLL=80n "$page" 2>&1)
# And as lintian has man(1) show it, cut into pages at 120 columns, where a
# table's text block must fit on one page.
if command -v man >/dev/null 2>&1; then
    warnings=$warnings$(env -i PATH="$PATH" LC_ALL=C.UTF-8 MANROFFSEQ= MANWIDTH=120 \
        man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
fi
if [ -n "$warnings" ]; then
    printf '%s\n' "$warnings"
    exit 1
fi
# And it has its sections.
for section in NAME SYNOPSIS DESCRIPTION OPTIONS; do
    grep -q "^\.SH $section\$" "$page" || {
        echo "$page: no $section section"
        exit 1
    }
done
