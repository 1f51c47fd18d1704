#!/usr/bin/env python3
"""Which copy do the proposed marks keep? Runs the command line's scan (the real engine
and the window's marking rule) over copies of real photographs made by
tools/make-variants.sh and prints, per group, whether the original or a copy with its
pixels survived, and per kind of copy how often a degraded one was kept.

Two views:
- together: every copy of a photo in one scan, so each photo makes one group;
- pairs: one scan per kind of degraded copy, each photo beside that one copy only.

--check turns the figures into an exit code: 1 when fewer than --target percent of the
groups keep the original or a same-pixel copy, when a group keeps two byte-identical
files, or when a pair keeps its degraded copy or loses its original. Exit 77 when the
photographs are missing. --exclude leaves kinds of copy out of every scan, so that a check
can hold the kinds that are solved while another is still measured without it.
"""
import argparse
import collections
import hashlib
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

SAME_PIXELS = ["original", "backup", "meta", "orient", "png", "tiff", "bmp"]
DEGRADED = ["web", "quarter", "messenger", "q40", "blur", "bright", "contrast", "grey", "gif", "crop",
            "big15", "big2", "big3", "big15plain", "big2plain"]
NAME = re.compile(r"^(p\d+)-.*-([a-z0-9]+)\.[a-z]+$")


def scan(cli, folder, env, out, extra):
    subprocess.run([cli, "scan", "--min-size", "1", "--format", "json", "-o", out, folder] + extra,
                   env=env, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with open(out, encoding="utf-8") as f:
        return json.load(f)["groups"]


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def parse(photo):
    m = NAME.match(os.path.basename(photo["path"]))
    return (m.group(1), m.group(2)) if m else (None, None)


def together(groups, files_of):
    rows = {"groups": 0, "ok": 0, "twins": 0, "mixed": 0, "failed": []}
    kept_by_kind = collections.Counter()
    seen_by_kind = collections.Counter()
    for group in groups:
        photos = [(parse(p), p) for p in group["photos"]]
        sources = {src for (src, _), _ in photos if src}
        rows["groups"] += 1
        if len(sources) > 1:
            rows["mixed"] += 1
        kept = [(kind, p["path"]) for (_, kind), p in photos if not p["proposed"]]
        if any(kind in SAME_PIXELS for kind, _ in kept):
            rows["ok"] += 1
        else:
            rows["failed"].append(sorted(sources)[0] + ": kept " + ",".join(k for k, _ in kept))
        digests = [digest(path) for _, path in kept]
        if len(digests) != len(set(digests)):
            rows["twins"] += 1
        for (_, kind), p in photos:
            seen_by_kind[kind] += 1
            if kind in DEGRADED and not p["proposed"]:
                kept_by_kind[kind] += 1
    grouped = collections.Counter(kind for kinds in files_of.values() for kind in kinds)
    return rows, kept_by_kind, seen_by_kind, grouped


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--cli", required=True, help="the mirelle-cli executable")
    parser.add_argument("--photos", type=int, default=0, help="photographs to take (0: all found)")
    parser.add_argument("--side", type=int, default=2000, help="long side of the originals")
    parser.add_argument("--work", help="folder for the copies (kept, reused when it matches)")
    parser.add_argument("--no-pairs", action="store_true", help="skip the per-kind pair scans")
    parser.add_argument("--all-images", action="store_true", help="scan all images, not only originals' groups")
    parser.add_argument("--check", action="store_true")
    parser.add_argument("--target", type=float, default=97.0)
    parser.add_argument("--exclude", default="", help="kinds of copy to leave out, comma-separated")
    args = parser.parse_args()
    excluded = {k for k in args.exclude.split(",") if k}
    unknown = excluded - set(DEGRADED + SAME_PIXELS[1:])
    if unknown:
        parser.error("unknown kinds: " + ",".join(sorted(unknown)))

    temp = tempfile.mkdtemp(prefix="mirelle-proposal-")
    try:
        work = args.work or os.path.join(temp, "variants")
        maker = os.path.join(here, "..", "..", "tools", "make-variants.sh")
        made = subprocess.run(["bash", maker, work, str(args.photos), str(args.side)], stdout=subprocess.DEVNULL)
        if made.returncode == 3:
            print("SKIP: no photographs or tools to make copies from (tools/install-deps.sh)")
            return 77
        made.check_returncode()
        # The scans keep their cache, settings and journal in the temporary folder.
        env = dict(os.environ, HOME=temp, XDG_CACHE_HOME=os.path.join(temp, "cache"),
                   XDG_CONFIG_HOME=os.path.join(temp, "config"), XDG_DATA_HOME=os.path.join(temp, "data"),
                   QT_QPA_PLATFORM="offscreen")
        extra = ["--all-images"] if args.all_images else []
        files_of = collections.defaultdict(set)
        names = [n for n in os.listdir(work) if NAME.match(n) and NAME.match(n).group(2) not in excluded]
        for name in names:
            m = NAME.match(name)
            files_of[m.group(1)].add(m.group(2))

        scanned = work
        if excluded:
            scanned = os.path.join(temp, "together")
            os.makedirs(scanned)
            for name in names:
                os.link(os.path.join(work, name), os.path.join(scanned, name))
        groups = scan(args.cli, scanned, env, os.path.join(temp, "together.json"), extra)
        rows, kept, seen, made_kinds = together(groups, files_of)
        share = 100.0 * rows["ok"] / rows["groups"] if rows["groups"] else 0.0
        print(f"photographs: {len(files_of)}, copies of each: {len(SAME_PIXELS) + len(DEGRADED) - 1}")
        print(f"together: {rows['groups']} groups ({rows['mixed']} of more than one photograph); "
              f"kept the original or a same-pixel copy: {rows['ok']}/{rows['groups']} = {share:.1f}%; "
              f"groups keeping two byte-identical files: {rows['twins']}")
        for line in rows["failed"]:
            print("  lost the original:", line)

        pair_kept = {}
        pair_lost = {}
        if not args.no_pairs:
            for kind in (k for k in DEGRADED if k not in excluded):
                folder = os.path.join(temp, "pair-" + kind)
                os.makedirs(folder)
                for src in sorted(files_of):
                    for name in os.listdir(work):
                        if name.startswith(src + "-") and NAME.match(name).group(2) in ("original", kind):
                            os.link(os.path.join(work, name), os.path.join(folder, name))
                pair_groups = scan(args.cli, folder, env, os.path.join(temp, kind + ".json"), extra)
                pair_kept[kind] = pair_lost[kind] = 0
                for group in pair_groups:
                    for p in group["photos"]:
                        _, k = parse(p)
                        if k == kind and not p["proposed"]:
                            pair_kept[kind] += 1
                        if k == "original" and p["proposed"]:
                            pair_lost[kind] += 1
                pair_kept[kind] = (pair_kept[kind], len(pair_groups))

        print(f"{'kind':<10} {'in groups':>10} {'kept together':>14} {'kept in pairs':>14} {'original lost':>14}")
        for kind in (k for k in DEGRADED + SAME_PIXELS[1:] if k not in excluded):
            together_share = f"{100.0 * kept[kind] / seen[kind]:.0f}%" if kind in DEGRADED and seen[kind] else "-"
            pair = pair_kept.get(kind)
            pair_share = f"{100.0 * pair[0] / pair[1]:.0f}% of {pair[1]}" if pair and pair[1] else "-"
            lost = str(pair_lost[kind]) if kind in pair_lost else "-"
            print(f"{kind:<10} {seen[kind]:>5}/{made_kinds[kind]:<4} {together_share:>14} {pair_share:>14} {lost:>14}")

        if args.check:
            failed = (share < args.target or rows["twins"] > 0 or any(pair_lost.values())
                      or any(kept for kept, _ in pair_kept.values()))
            return 1 if failed else 0
        return 0
    finally:
        shutil.rmtree(temp, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
