#!/usr/bin/env bash
# Breaks one line of product code at a time in a scratch copy of HEAD, rebuilds, runs the
# unit and gui tests and lists the tests that fail for each break. A break no test notices
# is a fault the suite would let through.
#   tools/mutation-check.sh [output-file]        MUT_ONLY="3 7" runs only those breaks,
#   MUT_TESTS=regex only the tests it matches (e.g. those that caught a break before),
#   MUT_NO_BASELINE=1 skips the run of the unbroken tree, MUT_TARGETS="a b" rebuilds only
#   those targets (and what they depend on), MUT_COMMIT=rev checks that commit, not HEAD,
#   MUT_REUSE=1 keeps an earlier scratch build and only brings its changed files up to date.
set -uo pipefail
cd "$(dirname "$0")/.."
OUT=${1:-/dev/stdout}
# A fixed path lets the compiler cache reuse objects between runs.
SCRATCH=${MUT_SCRATCH:-/tmp/mirelle-mutation}
JOBS=${MUT_JOBS:-2}
export CCACHE_BASEDIR="$SCRATCH" CCACHE_NOHASHDIR=1

# file | line as written | line as broken | what the break means
MUTATIONS=$(cat <<'EOF'
engine/CGroupBuilder.cpp|            bool bAGoes = m_listSize[ra] < m_listSize[rb];|            bool bAGoes = m_listSize[ra] > m_listSize[rb];|grouping: the larger group goes when two merge
engine/CSimilarity.cpp|    while (r + 1 <= kMaxDistance && hashScore(r + 1) >= t)|    while (r + 1 <= kMaxDistance && hashScore(r + 1) > t)|threshold: a pair scoring exactly the threshold is missed
mirelleui/resultstore/CAutoMarkRule.cpp|            return modified(a) < modified(b);|            return modified(a) > modified(b);|marking tie-break: the newer byte copy is kept
mirelleui/resultstore/CAutoMarkRule.cpp|    if (marked.size() == iCandidates)|    if (marked.size() == iCandidates + 1)|marking: every copy of a group may be marked
mirelleui/fileops/CRemovalGuard.cpp|        if (iKey != file.iContentKey)|        if (iKey != file.iContentKey && false)|removal guard: a file rewritten with equal size and time passes
mirelleui/fileops/CRemovalJournal.cpp|        query.addBindValue(textOf(entry.strOriginal));|        query.addBindValue(textOf(entry.strPlace));|journal: the original path is not written
platform/CPathCodec.cpp|    return unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF;|    return unit >= kEscapeBase + 0x80 && unit < kEscapeBase + 0xFF;|path codec: raw byte 0xFF is not escaped back
imageinput/CExifReader.cpp|        return image.transformed(QTransform().rotate(90));|        return image.transformed(QTransform().rotate(270));|EXIF orientation 6 turns the wrong way
thumbforge/CThumbDiskCache.cpp|    if (loaded.isNull() \|\| loaded.text(kUriKey) != QLatin1String(uri) \|\| loaded.text(kMTimeKey) != mtimeOf(info))|    if (loaded.isNull() \|\| loaded.text(kUriKey) != QLatin1String(uri))|thumbnail cache: a stale entry of a changed file is used
report/CScanReport.cpp|        text.replace(QLatin1String("\""), QLatin1String("\"\""));|        text.replace(QLatin1String("\""), QLatin1String("\""));|CSV: quotes inside a field are not doubled
EOF
)

# Replaces the one line equal to $2 in file $1 with $3; fails unless exactly one matches.
replace_line() {
    python3 - "$1" "$2" "$3" <<'PY'
import sys
path, old, new = sys.argv[1], sys.argv[2].replace('\\|', '|'), sys.argv[3].replace('\\|', '|')
lines = open(path).read().split('\n')
hits = [i for i, l in enumerate(lines) if l == old]
if len(hits) != 1:
    sys.exit('%s: %d lines match %r' % (path, len(hits), old))
lines[hits[0]] = new
open(path, 'w').write('\n'.join(lines))
PY
}

failed_tests() {
    (cd "$SCRATCH/build" && timeout 3600 ctest -LE bench -j "$JOBS" --timeout 300 ${MUT_TESTS:+-R "$MUT_TESTS"} 2>&1) \
        | sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\) (.*/\1/p' | sort -u | tr '\n' ' '
}

COMMIT=$(git rev-parse "${MUT_COMMIT:-HEAD}")
if [ -n "${MUT_REUSE:-}" ] && [ -f "$SCRATCH/.commit" ]; then
    # Rewritten files get a fresh time, so the build takes them up again.
    for f in $( (git diff --name-only "$(cat "$SCRATCH/.commit")" "$COMMIT"; echo "$MUTATIONS" | cut -d'|' -f1) | sort -u); do
        git show "$COMMIT:$f" >"$SCRATCH/$f" 2>/dev/null || rm -f "$SCRATCH/$f"
    done
else
    rm -rf "$SCRATCH"
    mkdir -p "$SCRATCH"
    git archive "$COMMIT" | tar -x -C "$SCRATCH"
fi
echo "$COMMIT" >"$SCRATCH/.commit"
{
    echo "# mutation check of $(git rev-parse --short "$COMMIT") ($(git log -1 --format=%s "$COMMIT" | cut -c1-60))"
    echo "# $(date -u '+%Y-%m-%d %H:%M UTC')"
} >"$OUT"
cmake -S "$SCRATCH" -B "$SCRATCH/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache -DDP_WERROR=ON >/dev/null || exit 1
cmake --build "$SCRATCH/build" -j "$JOBS" ${MUT_TARGETS:+--target $MUT_TARGETS} >"$SCRATCH/build.log" 2>&1 \
    || { tail -30 "$SCRATCH/build.log"; exit 1; }
BASE=
if [ -z "${MUT_NO_BASELINE:-}" ]; then
    BASE=$(failed_tests)
    echo "unbroken tree fails: ${BASE:-none}" >>"$OUT"
fi

n=0
while IFS= read -r row; do
    n=$((n + 1))
    if [ -n "${MUT_ONLY:-}" ] && ! [[ " $MUT_ONLY " == *" $n "* ]]; then continue; fi
    # Split on '|' not preceded by a backslash.
    mapfile -t part < <(python3 -c 'import re,sys; [print(p) for p in re.split(r"(?<!\\)\|", sys.argv[1])]' "$row")
    file=${part[0]}
    cp "$SCRATCH/$file" "$SCRATCH/$file.orig"
    if ! replace_line "$SCRATCH/$file" "${part[1]}" "${part[2]}"; then
        echo "$n. $file: ${part[3]} -> NOT APPLIED (line not found)" >>"$OUT"
        continue
    fi
    if cmake --build "$SCRATCH/build" -j "$JOBS" ${MUT_TARGETS:+--target $MUT_TARGETS} >"$SCRATCH/build.log" 2>&1; then
        caught=$(failed_tests)
        for t in $BASE; do caught=${caught//$t /}; done
        echo "$n. $file: ${part[3]} -> caught by: ${caught:-NOTHING}" >>"$OUT"
    else
        echo "$n. $file: ${part[3]} -> does not build" >>"$OUT"
    fi
    # Copied back, not moved: the old time would leave the broken object in place.
    cp "$SCRATCH/$file.orig" "$SCRATCH/$file" && rm "$SCRATCH/$file.orig"
done <<<"$MUTATIONS"
cmake --build "$SCRATCH/build" -j "$JOBS" ${MUT_TARGETS:+--target $MUT_TARGETS} >/dev/null 2>&1
