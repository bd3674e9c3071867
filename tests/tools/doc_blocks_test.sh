#!/usr/bin/env bash
# The documents' measured tables: the one writer of a block between markers changes only
# the block and refuses a document whose markers are missing or doubled; every block that
# ./run --tour, ./bench and ./test --update-docs write is where they write it; and the
# document states each of the lessons' statements by its label.
# Usage: doc_blocks_test.sh SOURCE_ROOT
root=$1
source "$root/tools/environment.sh" || exit 1
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
failed=0
check() { if ! eval "$2"; then echo "FAILED: $1"; failed=1; fi; }

printf '| a |\n|---|\n| new |\n' >"$work/table"
start='<!-- t: written by ./x -->' end='<!-- end of t -->'
# name of the case ; the document before ; whether it is taken ; the document after
while IFS=';' read -r name before taken after; do
    printf '%b' "$before" >"$work/doc"
    write_doc_block "$work/doc" t "$work/table" 2>/dev/null
    status=$?
    check "$name: status $status" '{ [ "$taken" = yes ] && [ $status -eq 0 ]; } || { [ "$taken" = no ] && [ $status -ne 0 ]; }'
    check "$name: the document afterwards" '[ "$(cat "$work/doc")" = "$(printf "%b" "$after")" ]'
    check "$name: no part file left" '[ ! -e "$work/doc.part" ]'
done <<CASES
the block only changes;text\n$start\n| old |\n$end\nmore\n;yes;text\n$start\n| a |\n|---|\n| new |\n$end\nmore
an empty block fills;$start\n$end\n;yes;$start\n| a |\n|---|\n| new |\n$end
no start marker;text\n$end\n;no;text\n$end
no end marker;$start\n| old |\n;no;$start\n| old |
the end before the start;$end\n$start\n;no;$end\n$start
a block twice;$start\n$end\n$start\n$end\n;no;$start\n$end\n$start\n$end
a marker of another block;<!-- tt: written by ./x -->\n$end\n;no;<!-- tt: written by ./x -->\n$end
CASES

# document | block: each where its command writes it, and none left in the README
while IFS='|' read -r doc name; do
    cp "$root/$doc" "$work/copy"
    check "$doc holds the block \"$name\"" 'write_doc_block "$work/copy" "$name" "$work/table"'
    check "README.md holds no block \"$name\"" '! grep -q "<!-- $name: written by" "$root/README.md"'
done <<BLOCKS
docs/lessons.md|lesson table
docs/lessons.md|attenuation table
docs/lessons.md|tradeoff table
docs/lessons.md|corrections table
docs/speed.md|bench table
docs/testing.md|test stages
BLOCKS
for script in run bench test; do
    check "$script writes into docs/, not README.md" '! grep -q "write_doc_block.*README" "$root/$script"'
done

# The statements the lesson checks (each a label in teaching/lesson_statements.cpp) are the document's.
labels=$(sed -n '/StatementLabels\[\] = {/,/};/p' "$root/teaching/lesson_statements.cpp" | grep -o '"[DMATC][0-9]*"' | tr -d '"')
check "the statements' labels are found" '[ $(echo $labels | wc -w) -ge 43 ]'
for label in $labels; do
    check "docs/lessons.md states [$label]" 'grep -q "\[$label\]" "$root/docs/lessons.md"'
done
exit $failed
