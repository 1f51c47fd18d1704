// Loads the screens from MirelleUI.rcc with fake data and saves one PNG per screen state.
// Usage: mirelle-screenshot [--dark] [--lang <code>] [--size <width>x<height>] [--rcc <package>]
//                           [--until <state>] [<output folder>]
// --until stops after the named state of the first series (the package takes "results").
// tools/screenshot/shoot-all.sh runs it for every size, language and palette.

#include "CFakeDupPicsMgr.h"
#include "CFakeFileDel.h"
#include "CFakeQmlEnv.h"
#include "CReportSummary.h"
#include "CScanReport.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QLibraryInfo>
#include <QPainter>
#include <QPalette>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QResource>
#include <QTextDocument>
#include <QThread>
#include <QTranslator>

#include <cstdio>
#include <functional>

namespace {
// Animations, asynchronous images and queued signals all need the loop to run for a while.
void settle(int iMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < iMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

QPalette darkPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(32, 33, 36));
    palette.setColor(QPalette::WindowText, QColor(232, 234, 237));
    palette.setColor(QPalette::Base, QColor(41, 42, 45));
    palette.setColor(QPalette::AlternateBase, QColor(48, 49, 52));
    palette.setColor(QPalette::Text, QColor(232, 234, 237));
    palette.setColor(QPalette::Button, QColor(48, 49, 52));
    palette.setColor(QPalette::ButtonText, QColor(232, 234, 237));
    palette.setColor(QPalette::Highlight, QColor(76, 154, 255));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    return palette;
}

bool call(QObject *pObject, const char *method, const QVariant &a = {}, const QVariant &b = {})
{
    if (!a.isValid())
        return QMetaObject::invokeMethod(pObject, method);
    if (!b.isValid())
        return QMetaObject::invokeMethod(pObject, method, Q_ARG(QVariant, a));
    return QMetaObject::invokeMethod(pObject, method, Q_ARG(QVariant, a), Q_ARG(QVariant, b));
}
// The printable summary as its first page prints, from a made-up scan.
bool saveSummaryPage(const QString &strFile)
{
    CScanReport report;
    report.settings.listSources = QStringList{QStringLiteral("C:/Users/anna/Pictures"), QStringLiteral("D:/Backup/Phone")};
    report.settings.iThreshold = 85;
    const QStringList listFolders = {QStringLiteral("C:/Users/anna/Pictures/Lisbon"),
                                     QStringLiteral("D:/Backup/Phone/Harbour"), QStringLiteral("D:/Backup/Phone/Garden"),
                                     QStringLiteral("C:/Users/anna/Pictures/Åland 2023")};
    for (int i = 0; i < 12; ++i) {
        CReportGroup group;
        for (int j = 0; j < 2 + i % 3; ++j) {
            CReportPhoto photo;
            photo.strPath = QStringLiteral("%1/IMG_%2.jpg").arg(listFolders.at((i + j) % listFolders.size())).arg(4200 + 10 * i + j);
            photo.i64Size = 1200000 + 370000 * ((i * 7 + j * 3) % 11);
            photo.bProposed = j > 0;
            group.listPhotos << photo;
        }
        report.listGroups << group;
    }
    const CReportSummary summary = CReportSummary::of(report, [](const QStringList &listPaths) {
        QStringList listKeys;
        for (const QString &path : listPaths)
            listKeys << path.left(2);
        return listKeys;
    });
    QTextDocument document;
    document.setHtml(summary.toHtml());
    document.setTextWidth(794 - 2 * 56);
    QImage page(794, 1123, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.translate(56, 56);
    document.drawContents(&painter);
    painter.end();
    if (!page.save(strFile)) {
        std::fprintf(stderr, "cannot save %s\n", qPrintable(strFile));
        return false;
    }
    std::printf("%s\n", qPrintable(strFile));
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QStringList listArgs = app.arguments().mid(1);
    const bool bDark = listArgs.removeAll(QStringLiteral("--dark")) > 0;
    QString strRcc = QCoreApplication::applicationDirPath() + QStringLiteral("/MirelleUI.rcc");
    const int iRccArg = listArgs.indexOf(QStringLiteral("--rcc"));
    if (iRccArg >= 0 && iRccArg + 1 < listArgs.size()) {
        strRcc = listArgs.at(iRccArg + 1);
        listArgs.erase(listArgs.begin() + iRccArg, listArgs.begin() + iRccArg + 2);
    }
    QString strUntil;
    const int iUntilArg = listArgs.indexOf(QStringLiteral("--until"));
    if (iUntilArg >= 0 && iUntilArg + 1 < listArgs.size()) {
        strUntil = listArgs.at(iUntilArg + 1);
        listArgs.erase(listArgs.begin() + iUntilArg, listArgs.begin() + iUntilArg + 2);
    }
    const auto takeOption = [&listArgs](const QString &strName) {
        const int i = listArgs.indexOf(strName);
        if (i < 0 || i + 1 >= listArgs.size())
            return QString();
        const QString value = listArgs.at(i + 1);
        listArgs.erase(listArgs.begin() + i, listArgs.begin() + i + 2);
        return value;
    };
    const QString strLang = takeOption(QStringLiteral("--lang"));
    const QStringList listSize = takeOption(QStringLiteral("--size")).split(QLatin1Char('x'));
    const QSize windowSize = listSize.size() == 2 ? QSize(listSize.at(0).toInt(), listSize.at(1).toInt()) : QSize();
    // The program's texts and Qt's own (dialog buttons, "bytes"), as the language component loads them.
    QTranslator appTranslator;
    QTranslator qtTranslator;
    if (!strLang.isEmpty()) {
        QLocale::setDefault(QLocale(strLang));
        if (appTranslator.load(QStringLiteral("mirelle_") + strLang, QCoreApplication::applicationDirPath() + QStringLiteral("/translations")))
            QCoreApplication::installTranslator(&appTranslator);
        else if (strLang != QLatin1String("en"))
            std::fprintf(stderr, "no translation for %s\n", qPrintable(strLang));
        if (qtTranslator.load(QLocale(strLang), QStringLiteral("qtbase"), QStringLiteral("_"),
                              QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&qtTranslator);
    }
    const QString strOut = listArgs.value(0, QStringLiteral("screenshots"));
    if (!QDir().mkpath(strOut) || !QResource::registerResource(strRcc)) {
        std::fprintf(stderr, "cannot write to %s or read %s\n", qPrintable(strOut), qPrintable(strRcc));
        return 1;
    }
    if (bDark)
        QGuiApplication::setPalette(darkPalette());

    CFakeQmlEnv::registerTypes();
    QQmlApplicationEngine engine;
    CFakeQmlEnv env;
    env.publish(&engine);
    engine.load(QUrl(QStringLiteral("qrc:/qml/Main.qml")));
    auto *pWindow = engine.rootObjects().isEmpty() ? nullptr : qobject_cast<QQuickWindow *>(engine.rootObjects().first());
    if (!pWindow) {
        std::fprintf(stderr, "Main.qml did not give a window\n");
        return 1;
    }
    if (windowSize.isValid()) {
        pWindow->setMinimumSize(QSize(1, 1));
        pWindow->resize(windowSize);
    }
    CFakeDupPicsMgr *pMgr = env.mgr();
    CFakeFileDel *pDeltor = env.deltor();
    QObject *pProgressPage = pWindow->findChild<QObject *>(QStringLiteral("progressPage"));
    QObject *pPreviewPage = pWindow->findChild<QObject *>(QStringLiteral("previewPage"));
    QObject *pQuestion = pWindow->findChild<QObject *>(QStringLiteral("questionDialog"));
    QObject *pRemoval = pWindow->findChild<QObject *>(QStringLiteral("removalDialog"));
    QObject *pNotice = pWindow->findChild<QObject *>(QStringLiteral("noticeDialog"));
    const QVariantList listCounts = {5, 3, 19, 2, 4, 3, 2, 6, 2, 3, 4, 2, 2, 5};
    const QString strSuffix = bDark ? QStringLiteral("-dark") : QString();
    int iShot = 0;

    const QList<QPair<QString, std::function<void()>>> listStates = {
        {QStringLiteral("start-empty"), [] {}},
        {QStringLiteral("start"),
         [&] {
             pMgr->setSources({QStringLiteral("C:/Users/anna/Pictures"), QStringLiteral("D:/Backup/Phone"),
                               QStringLiteral("E:/")});
         }},
        {QStringLiteral("progress"),
         [&] {
             call(pWindow, "startScan", QVariantMap());
             pMgr->setupResults(listCounts.mid(0, 9));
             emit pMgr->sigProcProgress(1, 0);
             emit pMgr->sigProcProgress(1, 99);
             emit pMgr->sigProcProgress(2, 64);
             pProgressPage->setProperty("startTime", double(QDateTime::currentMSecsSinceEpoch() - 137000));
         }},
        {QStringLiteral("results"),
         [&] {
             pMgr->setupResults(listCounts);
             emit pMgr->sigProcProgress(3, 100);
             emit pMgr->sigScanComplete(0);
             settle(200);
             // Marks set one group at a time change no row, so thumbnails not made yet keep
             // their placeholders in the picture.
             for (int i = 0; i < pMgr->groupCount(); ++i) {
                 QVariantList listMarks;
                 for (int j = 0; j < pMgr->groupAt(i)->rowCount(); ++j)
                     listMarks << (j > 0);
                 pMgr->groupAt(i)->setMarks(listMarks);
             }
         }},
        {QStringLiteral("results-strip-page"),
         [&] {
             QObject *pResults = pWindow->findChild<QObject *>(QStringLiteral("resultsPage"));
             pResults->setProperty("currentGroup", 2);
             pResults->setProperty("currentPhoto", 17);
         }},
        {QStringLiteral("preview"), [&] { call(pWindow, "openPreview", QVariant::fromValue<quint64>(1002), 1); }},
        {QStringLiteral("preview-compare"), [&] { call(pPreviewPage, "setCompare", 3); }},
        {QStringLiteral("removal-dialog"),
         [&] {
             pWindow->setProperty("screen", QStringLiteral("results"));
             pMgr->groupAt(1)->setMarks({true, true, true});
             call(pWindow, "requestRemoval");
         }},
        {QStringLiteral("removal-question"),
         [&] {
             QMetaObject::invokeMethod(pRemoval, "close");
             pDeltor->setTrashRefusals({QVariantMap{{QStringLiteral("volume"), QStringLiteral("/media/anna/CARD")},
                                                    {QStringLiteral("reason"), QStringLiteral("the drive is read-only")},
                                                    {QStringLiteral("photos"), 12}}});
             emit pMgr->signalShowCheckUsb();
         }},
        {QStringLiteral("removal-progress"),
         [&] {
             call(pQuestion, "reply", 1);
             emit pDeltor->sigShowProcessWind();
             pDeltor->setState(42, QStringLiteral("C:/Users/anna/Pictures/Lisbon/IMG_4201.jpg"), 13, 31, 41200000);
         }},
        {QStringLiteral("failure"),
         [&] {
             emit pDeltor->sigCloseProcessWind();
             pMgr->setFailedList({QStringLiteral("D:/Backup/Phone/Harbour/IMG_4218.jpg"),
                                  QStringLiteral("D:/Backup/Phone/Garden/IMG_4252.jpg"),
                                  QStringLiteral("D:/Backup/Phone/Garden/IMG_4254.jpg")});
             emit pMgr->sigDelDupImgsResult({QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")}, {});
         }},
        {QStringLiteral("results-empty"),
         [&] {
             QMetaObject::invokeMethod(pNotice, "close");
             pMgr->setupResults({});
         }},
    };

    // Remembered decisions, rotations and bursts; numbered from 40 so that the states above
    // can grow without renaming these.
    QObject *pDecisions = pWindow->findChild<QObject *>(QStringLiteral("decisionsDialog"));
    const auto decisionRecord = [](int iId, const QString &strA, const QString &strB, int iDaysAgo) {
        return QVariantMap{{QStringLiteral("id"), iId},
                           {QStringLiteral("pathA"), strA},
                           {QStringLiteral("pathB"), strB},
                           {QStringLiteral("created"), QDateTime::currentDateTime().addDays(-iDaysAgo)}};
    };
    const QList<QPair<QString, std::function<void()>>> listDecisionStates = {
        {QStringLiteral("start-rotations"),
         [&] {
             pWindow->setProperty("screen", QStringLiteral("start"));
             pMgr->setSources({QStringLiteral("C:/Users/anna/Pictures"), QStringLiteral("D:/Backup/Phone")});
             pWindow->findChild<QObject *>(QStringLiteral("scanOptions"))->setProperty("rotations", true);
         }},
        {QStringLiteral("decisions-list"),
         [&] {
             pMgr->setDecisions({decisionRecord(3, QStringLiteral("C:/Users/anna/Pictures/Lisbon/IMG_4201.jpg"),
                                                QStringLiteral("C:/Users/anna/Pictures/Lisbon/IMG_4202.jpg"), 12),
                                 decisionRecord(7, QStringLiteral("C:/Users/anna/Pictures/Garden/IMG_4250.jpg"),
                                                QStringLiteral("D:/Backup/Phone/Garden/IMG_4251.jpg"), 3),
                                 decisionRecord(8, QStringLiteral("D:/Backup/Phone/Harbour/IMG_4218.jpg"),
                                                QStringLiteral("D:/Backup/Phone/Harbour/IMG_4219.jpg"), 0)});
             QMetaObject::invokeMethod(pDecisions, "open");
         }},
        {QStringLiteral("decisions-off"),
         [&] {
             pMgr->setProperty("decisionsEnabled", false);
             pMgr->setProperty("decisionsError",
                               QStringLiteral("Remembered \"Not duplicates\" decisions are off: the file is damaged or "
                                              "not a decisions file (C:/Users/anna/AppData/mirelle/decisions.sqlite). "
                                              "The file was left as it is."));
         }},
        {QStringLiteral("results-burst"),
         [&] {
             QMetaObject::invokeMethod(pDecisions, "close");
             pMgr->setProperty("decisionsEnabled", true);
             pMgr->setProperty("decisionsError", QString());
             pMgr->setupResults(listCounts);
             pWindow->setProperty("screen", QStringLiteral("results"));
             pMgr->groupAt(0)->setBurst({false, true, true, true, false});
             pMgr->groupAt(0)->setMarks({false, false, false, false, true});
         }},
        {QStringLiteral("preview-compare-not-duplicates"),
         [&] {
             call(pWindow, "openPreview", QVariant::fromValue<quint64>(1000), 1);
             call(pPreviewPage, "setCompare", 2);
         }},
    };

    QObject *pUndo = pWindow->findChild<QObject *>(QStringLiteral("undoDialog"));
    // The removal history and undo have the numbers from 20 on.
    const QList<QPair<QString, std::function<void()>>> listUndoStates = {
        {QStringLiteral("removal-dialog-permanent"),
         [&] {
             pMgr->setupResults(listCounts);
             emit pMgr->sigScanComplete(0);
             pWindow->setProperty("screen", QStringLiteral("results"));
             settle(200);
             pMgr->groupAt(0)->setMarks({false, true, true, true, true});
             pWindow->setProperty("removalMethod", 0);
             call(pWindow, "requestRemoval");
         }},
        {QStringLiteral("undo-history"),
         [&] {
             QMetaObject::invokeMethod(pRemoval, "close");
             pDeltor->setHistory({12, 3, 40});
             call(pUndo, "showHistory");
         }},
        {QStringLiteral("undo-running"), [&] { call(pUndo, "undoRequest", -1); }},
        {QStringLiteral("undo-result"),
         [&] {
             pDeltor->finishUndo({QStringLiteral("C:/Users/anna/Pictures/Lisbon/IMG_4202.jpg")},
                                 {QStringLiteral("C:/Users/anna/Pictures/Lisbon/IMG_4201.jpg: another file now takes its place"),
                                  QStringLiteral("C:/Users/anna/Pictures/Lisbon/IMG_4207.jpg: it is no longer in the trash "
                                                 "(was the trash emptied?)")},
                                 QStringLiteral("10 of 12 files are back in place. These could not come back:"));
         }},
        {QStringLiteral("undo-journal-problem"),
         [&] {
             QMetaObject::invokeMethod(pUndo, "close");
             settle(300);
             pDeltor->setHistory({}, QStringLiteral("The removal journal /home/anna/.local/share/mirelle/removals.sqlite "
                                                    "is damaged (file is not a database); undo is off and the file is "
                                                    "left as it is."));
             call(pUndo, "showHistory");
         }},
    };

    const auto shoot = [&](const QString &strName, int iNumber) {
        settle(900);
        const QString strFile = QStringLiteral("%1/%2-%3%4.png")
                                    .arg(strOut)
                                    .arg(iNumber, 2, 10, QLatin1Char('0'))
                                    .arg(strName, strSuffix);
        if (!pWindow->grabWindow().save(strFile)) {
            std::fprintf(stderr, "cannot save %s\n", qPrintable(strFile));
            return false;
        }
        std::printf("%s\n", qPrintable(strFile));
        return true;
    };
    for (const auto &state : listStates) {
        state.second();
        if (!shoot(state.first, ++iShot))
            return 1;
        if (state.first == strUntil)
            return 0;
    }
    int iDecisionShot = 40;
    for (const auto &state : listDecisionStates) {
        state.second();
        if (!shoot(state.first, iDecisionShot++))
            return 1;
    }
    int iUndoShot = 20;
    for (const auto &state : listUndoStates) {
        state.second();
        if (!shoot(state.first, iUndoShot++))
            return 1;
    }

    // Export states are numbered from 30 on.
    QObject *pResults = pWindow->findChild<QObject *>(QStringLiteral("resultsPage"));
    const QList<QPair<QString, std::function<void()>>> listExportStates = {
        {QStringLiteral("results-export-menu"),
         [&] {
             QMetaObject::invokeMethod(pUndo, "close");
             pMgr->setupResults(listCounts);
             pWindow->setProperty("screen", QStringLiteral("results"));
             settle(200);
             QMetaObject::invokeMethod(pResults->findChild<QObject *>(QStringLiteral("exportMenu")), "open");
         }},
        {QStringLiteral("results-export-failed"),
         [&] {
             QMetaObject::invokeMethod(pResults->findChild<QObject *>(QStringLiteral("exportMenu")), "close");
             pMgr->setProperty("exportError", QStringLiteral("The results could not be saved to "
                                                              "/media/anna/STICK/results.pdf: No space left on device."));
             pResults->setProperty("exportFormat", QStringLiteral("pdf"));
             QMetaObject::invokeMethod(pResults, "exportTo",
                                       Q_ARG(QVariant, QStringLiteral("file:///media/anna/STICK/results.pdf")));
         }},
    };
    int iExportShot = 30;
    for (const auto &state : listExportStates) {
        state.second();
        if (!shoot(state.first, iExportShot++))
            return 1;
    }
    if (!saveSummaryPage(QStringLiteral("%1/%2-summary-page%3.png").arg(strOut).arg(iExportShot).arg(strSuffix)))
        return 1;
    return 0;
}
