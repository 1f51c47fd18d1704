// Loads the screens from MirelleUI.rcc on the real manager and the fake scan engine, with
// generated photos in a temporary folder, and saves one PNG per screen state.
// Usage: mirelle-screenshot [--dark] [--lang <code>] [--size <width>x<height>] [--rcc <package>]
//                           [--until <state>] [<output folder>]
// --until stops after the named state of the first series (the package takes "results").
// tools/screenshot/shoot-all.sh runs it for every size, language and palette.

#include "CDupPicsMgr.h"
#include "CFileDelImplement.h"
#include "CReportSummary.h"
#include "CScanReport.h"
#include "CScreenFixture.h"

#include <QAbstractTextDocumentLayout>
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
    // Black on paper whatever the desktop's palette, as printing draws it.
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    document.documentLayout()->draw(&painter, context);
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
    // Text drawn as the program draws it.
    QQuickWindow::setTextRenderType(QQuickWindow::NativeTextRendering);
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

    CScreenFixture::registerTypes();
    CScreenFixture fixture;
    QQmlApplicationEngine engine;
    fixture.publish(&engine);
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
    CDupPicsMgr *pMgr = fixture.mgr();
    CFileDelImplement *pDeltor = pMgr->deletionService();
    const auto setSources = [&](const QStringList &listFolders) {
        pMgr->clear();
        QList<QUrl> listUrls;
        for (const QString &folder : listFolders) {
            QDir().mkpath(fixture.folder() + QLatin1Char('/') + folder);
            listUrls << QUrl::fromLocalFile(fixture.folder() + QLatin1Char('/') + folder);
        }
        pMgr->addDropPaths(listUrls);
    };
    QObject *pProgressPage = pWindow->findChild<QObject *>(QStringLiteral("progressPage"));
    QObject *pPreviewPage = pWindow->findChild<QObject *>(QStringLiteral("previewPage"));
    QObject *pQuestion = pWindow->findChild<QObject *>(QStringLiteral("questionDialog"));
    QObject *pRemoval = pWindow->findChild<QObject *>(QStringLiteral("removalDialog"));
    QObject *pNotice = pWindow->findChild<QObject *>(QStringLiteral("noticeDialog"));
    const QVariantList listCounts = {5, 3, 19, 2, 4, 3, 2, 6, 2, 3, 4, 2, 2, 5};
    const QString strSuffix = bDark ? QStringLiteral("-dark") : QString();
    int iShot = 0;

    // Steps one and two done, the last at iPercent, once groups came in. The engine's own
    // first report, queued from its thread, may come after and is set over until it has.
    const auto showLastStep = [&](int iPercent) {
        for (int i = 0; i < 100 && pMgr->scanCounts().value(2).toLongLong() == 0; ++i)
            settle(50);
        const int iOverall = qRound((200 + iPercent) / 3.0);
        for (int i = 0; i < 20 && pProgressPage->property("overallPercent").toInt() != iOverall; ++i) {
            emit pMgr->sigProcProgress(1, 99);
            emit pMgr->sigProcProgress(2, 99);
            emit pMgr->sigProcProgress(3, iPercent);
            settle(300);
        }
    };
    const QList<QPair<QString, std::function<void()>>> listStates = {
        {QStringLiteral("start-empty"), [] {}},
        {QStringLiteral("start"),
         [&] {
             setSources({QStringLiteral("Pictures"), QStringLiteral("Backup/Phone"), QStringLiteral("Backup/Card")});
         }},
        {QStringLiteral("progress"),
         [&] {
             // Well into the last step: files read and compared, groups forming. The engine's
             // own first report has to have come before this state is set over it.
             fixture.prepare(listCounts, false, 6000);
             call(pWindow, "startScan", QVariantMap());
             showLastStep(64);
             pProgressPage->setProperty("startTime", double(QDateTime::currentMSecsSinceEpoch() - 137000));
         }},
        {QStringLiteral("results"),
         [&] {
             // The scan ends on its own and the window applies the automatic marks.
             while (pWindow->property("screen").toString() == QLatin1String("progress"))
                 settle(100);
             settle(500);
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
             fixture.setMarks(1, {true, true, true});
             call(pWindow, "requestRemoval");
         }},
        {QStringLiteral("removal-question"),
         [&] {
             QMetaObject::invokeMethod(pRemoval, "close");
             emit pMgr->signalShowCheckUsb();
         }},
        {QStringLiteral("removal-progress"),
         [&] {
             call(pQuestion, "reply", 1);
             emit pDeltor->sigShowProcessWind();
             pDeltor->setProgress(42);
             emit pDeltor->sigProgressChanged();
         }},
        {QStringLiteral("failure"),
         [&] {
             emit pDeltor->sigCloseProcessWind();
             // Photos that went missing since the scan fail with their reason.
             fixture.setMarks(1, {false, true, true});
             for (int i = 1; i < 3; ++i)
                 QFile::remove(fixture.photoPath(1, i));
             pMgr->doDelDupPicByMark(CDupPicsMgr::DupPicType_MoveToTrash);
             settle(1500);
         }},
        {QStringLiteral("results-empty"),
         [&] {
             QMetaObject::invokeMethod(pNotice, "close");
             QMetaObject::invokeMethod(pWindow->findChild<QObject *>(QStringLiteral("removalSummary")), "close");
             fixture.scanNothing();
         }},
        {QStringLiteral("results-empty-originals"),
         [&] {
             fixture.setSkipped({0, 0, 0, 0, 0, 7});
             fixture.scanNothing();
             // As a scan started from the window would, which forgets the groups of the last.
             QMetaObject::invokeMethod(pWindow->findChild<QObject *>(QStringLiteral("resultsPage")), "reset");
         }},
    };

    // Remembered decisions, rotations and bursts; numbered from 40 so that the states above
    // can grow without renaming these.
    QObject *pDecisions = pWindow->findChild<QObject *>(QStringLiteral("decisionsDialog"));
    const QList<QPair<QString, std::function<void()>>> listDecisionStates = {
        {QStringLiteral("start-rotations"),
         [&] {
             pWindow->setProperty("screen", QStringLiteral("start"));
             setSources({QStringLiteral("Pictures"), QStringLiteral("Backup/Phone")});
             pWindow->findChild<QObject *>(QStringLiteral("scanOptions"))->setProperty("rotations", true);
         }},
        {QStringLiteral("decisions-list"),
         [&] {
             fixture.scan(listCounts);
             for (int i = 0; i < 3; ++i)
                 pMgr->separatePair(QVariant::fromValue<quint64>(1000 + i), fixture.photoPath(i, 0), fixture.photoPath(i, 1));
             QMetaObject::invokeMethod(pDecisions, "open");
         }},
        {QStringLiteral("results-burst"),
         [&] {
             QMetaObject::invokeMethod(pDecisions, "close");
             fixture.scan(listCounts);
             pWindow->setProperty("screen", QStringLiteral("results"));
             fixture.setMarks(0, {false, false, false, true});
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
             fixture.scan(listCounts);
             pWindow->setProperty("screen", QStringLiteral("results"));
             settle(200);
             fixture.setMarks(0, {false, true, true, true, true});
             pWindow->setProperty("removalMethod", 0);
             call(pWindow, "requestRemoval");
         }},
        {QStringLiteral("removal-summary"),
         [&] {
             QMetaObject::invokeMethod(pRemoval, "close");
             fixture.setMarks(4, {false, true, true, true});
             pMgr->doDelDupPicByMark(CDupPicsMgr::DupPicType_MoveToTrash);
             settle(800);
         }},
        {QStringLiteral("undo-history"),
         [&] {
             // With the removal above, three removals to the trash make the history.
             for (int i = 0; i < 2; ++i) {
                 fixture.setMarks(i + 1, {false, true});
                 pMgr->doDelDupPicByMark(CDupPicsMgr::DupPicType_MoveToTrash);
                 settle(800);
             }
             QMetaObject::invokeMethod(pWindow->findChild<QObject *>(QStringLiteral("removalSummary")), "close");
             call(pUndo, "showHistory");
         }},
        {QStringLiteral("undo-running"), [&] { call(pUndo, "undoRequest", -1); }},
        {QStringLiteral("undo-result"), [&] { settle(1500); }},
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
             fixture.scan(listCounts);
             pWindow->setProperty("screen", QStringLiteral("results"));
             settle(200);
             QMetaObject::invokeMethod(pResults->findChild<QObject *>(QStringLiteral("exportMenu")), "open");
         }},
        {QStringLiteral("results-export-failed"),
         [&] {
             QMetaObject::invokeMethod(pResults->findChild<QObject *>(QStringLiteral("exportMenu")), "close");
             pResults->setProperty("exportFormat", QStringLiteral("pdf"));
             QMetaObject::invokeMethod(pResults, "exportTo",
                                       Q_ARG(QVariant, QStringLiteral("file:///media/anna/STICK-missing/results.pdf")));
         }},
    };
    int iExportShot = 30;
    for (const auto &state : listExportStates) {
        state.second();
        if (!shoot(state.first, iExportShot++))
            return 1;
    }
    // A scan stopped by the user: numbered from 50 on.
    const QList<QPair<QString, std::function<void()>>> listStopStates = {
        {QStringLiteral("progress-stopping"),
         [&] {
             QMetaObject::invokeMethod(pResults->findChild<QObject *>(QStringLiteral("exportNotice")), "close");
             fixture.prepare(listCounts, true);
             call(pWindow, "startScan", QVariantMap());
             showLastStep(40);
             pProgressPage->setProperty("startTime", double(QDateTime::currentMSecsSinceEpoch() - 52000));
             pProgressPage->setProperty("cancelling", true);
         }},
        {QStringLiteral("scan-stopped"),
         [&] {
             pMgr->cancel();
             for (int i = 0; i < 200 && pWindow->property("screen").toString() == QLatin1String("progress"); ++i)
                 settle(50);
         }},
    };
    int iStopShot = 50;
    for (const auto &state : listStopStates) {
        state.second();
        if (!shoot(state.first, iStopShot++))
            return 1;
    }
    if (!saveSummaryPage(QStringLiteral("%1/%2-summary-page%3.png").arg(strOut).arg(iExportShot).arg(strSuffix)))
        return 1;
    return 0;
}
