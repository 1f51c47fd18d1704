// Qt Quick Test driver for the screens. The screens come from the built MirelleUI.rcc, as the
// program loads them, and drive the real manager on the fake scan engine.

#include "CScreenFixture.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlError>
#include <QTest>
#include <QResource>
#include <QtQuickTest>

namespace {
// Every QML warning (binding loop, TypeError, failed image) fails the test file that caused it.
class CWarningLog : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList messages MEMBER m_listMessages)
public:
    Q_INVOKABLE void clear() { m_listMessages.clear(); }
    void add(const QList<QQmlError> &listWarnings)
    {
        for (const QQmlError &error : listWarnings) {
            // A tile whose row says "not made yet" asks at once and may get nothing: it keeps
            // its placeholder and asks again when the row changes.
            // Named after the test that was running: a warning can arrive from a timer long after
            // what caused it.
            if (!error.description().contains(QLatin1String("Failed to get image from provider")))
                m_listMessages << QStringLiteral("%1: %2").arg(QLatin1String(QTest::currentTestFunction()), error.toString());
        }
    }

private:
    QStringList m_listMessages;
};

} // namespace

class CQmlTestSetup : public QObject
{
    Q_OBJECT
public slots:
    void applicationAvailable()
    {
        if (!QResource::registerResource(QStringLiteral(DP_QML_RCC)))
            qFatal("cannot register %s", DP_QML_RCC);
        CScreenFixture::registerTypes();
    }

    // Called once per test file with that file's engine.
    void qmlEngineAvailable(QQmlEngine *pEngine)
    {
        static CWarningLog log;
        connect(pEngine, &QQmlEngine::warnings, &log, &CWarningLog::add);
        // One manager per test file, so that no file sees what another left behind.
        auto *pFixture = new CScreenFixture(pEngine);
#ifdef DP_QML_NO_MANAGER
        pFixture->publish(pEngine, CScreenFixture::EnPublish::LoaderOnly);
#else
        pFixture->publish(pEngine);
#endif
        pEngine->rootContext()->setContextProperty(QStringLiteral("qmlWarnings"), &log);
    }
};

QUICK_TEST_MAIN_WITH_SETUP(tst_QmlScreens, CQmlTestSetup)

#include "tst_QmlScreens.moc"
