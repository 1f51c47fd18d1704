#pragma once

#include <QCommandLineOption>

// The options of the command line's commands; each command takes its own selection.
namespace dp::cli {

inline const QCommandLineOption kOutput({QStringLiteral("o"), QStringLiteral("output")}, QString(), QStringLiteral("file"));
inline const QCommandLineOption kFormat(QStringLiteral("format"), QString(), QStringLiteral("json|csv"), QStringLiteral("json"));
inline const QCommandLineOption kQuiet({QStringLiteral("q"), QStringLiteral("quiet")}, QString());
inline const QCommandLineOption kVerbose({QStringLiteral("v"), QStringLiteral("verbose")}, QString());
inline const QCommandLineOption kThreshold(QStringLiteral("threshold"), QString(), QStringLiteral("percent"));
inline const QCommandLineOption kMinSize(QStringLiteral("min-size"), QString(), QStringLiteral("size"));
inline const QCommandLineOption kAllImages(QStringLiteral("all-images"), QString());
inline const QCommandLineOption kRotations(QStringLiteral("rotations"), QString());
inline const QCommandLineOption kExactFeatures(QStringLiteral("exact-features"), QString());
inline const QCommandLineOption kList(QStringLiteral("list"), QString(), QStringLiteral("file"));
inline const QCommandLineOption kPermanent(QStringLiteral("permanent"), QString());
inline const QCommandLineOption kMoveTo(QStringLiteral("move-to"), QString(), QStringLiteral("folder"));
inline const QCommandLineOption kDryRun({QStringLiteral("n"), QStringLiteral("dry-run")}, QString());
inline const QCommandLineOption kNoUndo(QStringLiteral("no-undo"), QString());
inline const QCommandLineOption kHistory(QStringLiteral("list"), QString());
inline const QCommandLineOption kRequest(QStringLiteral("request"), QString(), QStringLiteral("id"));
inline const QCommandLineOption kHtml(QStringLiteral("html"), QString(), QStringLiteral("file"));
inline const QCommandLineOption kPdf(QStringLiteral("pdf"), QString(), QStringLiteral("file"));
inline const QCommandLineOption kHelp({QStringLiteral("h"), QStringLiteral("help")}, QString());

} // namespace dp::cli
