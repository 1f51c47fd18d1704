#include "CCliCommand.h"

QString CCliCommand::helpText()
{
    return QStringLiteral(R"(Usage: mirelle-cli COMMAND [OPTIONS] ARGUMENTS

Finds duplicate and similar photos with the same engine as the Mirelle window,
proposes which copies to remove, and removes them on request.

Commands:
  scan [OPTIONS] FOLDER...
      Scans the folders (and their sub-folders) and writes the groups of
      similar photos. Each photo carries its path, size, width, height,
      similarity to the group's first photo (percent), sharpness score, date,
      whether the engine prefers it as an original, and whether it is
      proposed for removal (one copy of every group is always kept), and in
      JSON whether it is a burst frame (burst frames are not proposed
      unless they are exact copies).
      --threshold PERCENT  similarity threshold, 0 to 100 in steps of 5
                           (default 70; 100 finds identical pictures only)
      --min-size SIZE      skip files smaller than SIZE: bytes, or with a
                           K, M or G suffix (default 100K)
      --all-images         take all images, not only camera originals
      --rotations          also find copies turned by 90, 180 or 270 degrees
                           or mirrored (needs an engine that can; saved with
                           the scan, so regroup repeats it)
      --exact-features     decode every photo; by default photos are first
                           compared by the thumbnail their camera embedded,
                           and only those that come close to another are
                           decoded (the groups are the same, found sooner)
      --format json|csv    output format (default json; only JSON can be
                           read back by regroup and apply)
      -o, --output FILE    write to FILE instead of standard output; the file
                           is written whole at the end or not at all

  regroup SAVED.json --threshold PERCENT [--format json|csv] [-o FILE]
      Groups the photos of a saved scan again at another threshold. It scans
      the saved scan's folders again with its options; the engine keeps the
      features of every photo in its cache, so photos that did not change are
      not decoded again and a regroup costs about a folder walk. SAVED.json
      may also be the output file.

  apply SAVED.json [--list FILE] [--permanent | --move-to FOLDER] [--dry-run]
                   [--no-undo]
      Removes the photos that the saved scan proposes, or with --list the
      photos named in FILE (one path a line; "-" reads standard input).
      Default: into the trash. --permanent deletes for good. --move-to moves
      the files into FOLDER (created when missing; not inside a scanned
      folder). Safety: only photos of the saved scan that lie under its
      folders are touched, each file once however it is spelled; the last
      copy of a group is always kept. Just before each file goes, it must
      still be a plain file with the size, time and content the scan read,
      and a copy its group keeps must still be on disk, as another file,
      with the content the scan read; otherwise the file is left alone and
      the reason printed ("the kept copy is gone", "changed since the
      scan"). Ctrl-C stops between two files. Each removed file is printed
      on standard output as "trashed|deleted|moved<TAB>PATH"; skipped and
      failed files on standard error.
      -n, --dry-run        print what would be done ("would trash<TAB>PATH")
                           and change nothing
      Trashed and moved files are recorded in the removal journal
      ($XDG_DATA_HOME/mirelle/removals.sqlite), so that undo can bring them
      back; permanent deletion cannot be undone. When the journal cannot be
      written, nothing is removed (exit 4) unless --no-undo is given.

  undo [--list | --request ID]
      Brings back the files of the last trash or move removal (of this
      program or the window), or with --request those of removal ID:
      trashed files out of the trash, moved files from their folder. A file
      whose original place is taken, or that changed since it was removed,
      is left where it is. Each file brought back is printed on standard
      output as "restored<TAB>PATH"; the others on standard error with the
      reason.
      --list               show the recorded removals, newest first:
                           "ID<TAB>TIME<TAB>trashed|moved<TAB>N files<TAB>
                           M to undo"
      --request ID         undo removal ID instead of the last one

  decisions list | forget ID | forget-all
      The photos remembered as "Not duplicates" in the window: they are
      never put into one group again, even after a rename. list prints
      "ID<TAB>DATE<TAB>PATH<TAB>PATH" per decision (the names the photos had
      then); forget ID forgets one, forget-all forgets every one. The next
      scan or regroup may group those photos again.

  summary SAVED.json [--html FILE | --pdf FILE]
      Prints what the saved scan found: groups, photos, the photos proposed
      for removal and the space their removal would free, per drive and per
      folder. Plain text on standard output by default.
      --html FILE          write the summary as an HTML page ("-" for
                           standard output)
      --pdf FILE           write the summary as a printable PDF (A4)

Common options:
  -q, --quiet      no progress or summary on standard error
  -v, --verbose    show the engine's and the manager's diagnostics
  -h, --help       this text
  --version        program and saved scan format versions

Progress goes to standard error: a bar on a terminal, plain
"progress: STEP N%" lines otherwise.

Exit codes:
  0    success (also when nothing was found)
  1    apply: some files could not be removed; undo: some files could
       not come back
  2    usage error: unknown command or option, bad value
  3    input error: missing folder, unreadable or foreign saved scan, a
       saved scan from another format version, an unknown decision ID, or a
       damaged decisions file (it is left as it is); undo: no removal
       journal, a damaged one or one of another version, or nothing left
       to undo
  4    output error: output file or move folder not writable, an output
       file that is not a saved scan of this program, or a removal journal
       that cannot be written
  5    the scan engine could not be loaded or the scan failed, or a scanned
       folder went away during the scan (deleted or unmounted) and no other
       folder gave results; when others did, a warning names it
  6    apply: nothing was removed, every file was skipped (changed since
       the scan, its kept copy gone, the last copy of its group, ...)
  130  interrupted (Ctrl-C or SIGTERM): no output file is written, and no
       file is left half-removed

Environment:
  MIRELLE_SCAN_ENGINE  path of the scan engine module (default:
                       libScanEngine.so in ../lib/mirelle from the
                       program's folder, else beside the program)
  MIRELLE_DECISIONS_DB path of the decisions file (default:
                       $XDG_DATA_HOME/mirelle/decisions.sqlite)

Examples:
  mirelle-cli scan ~/Pictures -o scan.json
  mirelle-cli scan --threshold 90 --min-size 0 --format csv ~/Pictures
  mirelle-cli regroup scan.json --threshold 85 -o scan85.json
  mirelle-cli apply scan85.json --dry-run
  mirelle-cli apply scan85.json --move-to ~/duplicates
  mirelle-cli undo --list
  mirelle-cli undo
  mirelle-cli summary scan85.json --pdf summary.pdf
)");
}
