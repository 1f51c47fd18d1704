#include "CDisplaySetup.h"

#include "CAppConfig.h"
#include "CPlatform.h"
#include "IDesktop.h"
#include "IRegistry.h"
#include "XLogging.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>

namespace CDisplaySetup {

namespace {
constexpr int kDefaultAttributeEx = Qt::AA_UseDesktopOpenGL;
constexpr int kFirstRendererAttribute = Qt::AA_UseDesktopOpenGL;
} // namespace

double scaleFactor(const QSize &designSize, const CDesktopMetrics &metrics)
{
    if (designSize.width() == 0 || designSize.height() == 0 || !metrics.isValid())
        return 0.0;
    double dSystem = 1.0;
    if (metrics.iLogicalWidth > 0)
        dSystem = static_cast<double>(metrics.iPhysicalWidth) / metrics.iLogicalWidth + 0.001;
    const double dWidth = static_cast<double>(metrics.iPhysicalWidth) / designSize.width();
    const double dHeight = static_cast<double>(metrics.iPhysicalHeight) / designSize.height();
    return std::min({dWidth, dHeight, dSystem});
}

double screenScaleFactor(const QSize &designSize)
{
    return scaleFactor(designSize, dp::platform::desktop().metrics());
}

COpenGLChoice chooseOpenGL(const QVariant &openGL, bool bSoftwareOpenGL, int iAttributeEx)
{
    COpenGLChoice choice;
    int iRenderer = -1;
    bool bOk = false;
    const int iValue = openGL.toInt(&bOk);
    if (openGL.isValid() && bOk) {
        iRenderer = iValue + kFirstRendererAttribute;
        choice.listAttributes << static_cast<Qt::ApplicationAttribute>(iRenderer);
        choice.bSoftware = iRenderer == Qt::AA_UseSoftwareOpenGL;
    }
    if (bSoftwareOpenGL)
        choice.listAttributes << Qt::AA_UseSoftwareOpenGL;
    if (iAttributeEx >= 0 && iAttributeEx < Qt::AA_AttributeCount)
        choice.listAttributes << static_cast<Qt::ApplicationAttribute>(iAttributeEx);
    // Software rendering needs no list of broken drivers.
    choice.bUseBugList = iRenderer != Qt::AA_UseSoftwareOpenGL;
    return choice;
}

COpenGLChoice openGLFeature(bool, const QString &strConfigFile)
{
    qCInfo(lcLoadApp) << "CLoadApp::load() set path.";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--ignore-gpu-blacklist");

    bool bOk = false;
    int iAttributeEx = CAppConfig::readConfigValue(QStringLiteral("main/softwareopenglEx"), strConfigFile).toInt(&bOk);
    if (!bOk)
        iAttributeEx = kDefaultAttributeEx;
    const COpenGLChoice choice =
        chooseOpenGL(CAppConfig::readConfigValue(QStringLiteral("main/opengl"), strConfigFile),
                     CAppConfig::readConfigValue(QStringLiteral("main/softwareopengl"), strConfigFile).toBool(),
                     iAttributeEx);
    for (Qt::ApplicationAttribute attribute : choice.listAttributes)
        QCoreApplication::setAttribute(attribute);

    qCInfo(lcLoadApp) << "CLoadApp::load() set opengl-blacklist.json.";
    const QString bugList = QStandardPaths::locate(QStandardPaths::ConfigLocation, QStringLiteral("opengl-blacklist.json"));
    if (!bugList.isEmpty() && choice.bUseBugList)
        qputenv("QT_OPENGL_BUGLIST", QFile::encodeName(bugList));
    return choice;
}

bool isMainland()
{
    const QString oem = dp::platform::registry().value(QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\QUORVANE\\KTR\\OEM")).toString();
    return oem.left(260).contains(QLatin1String("MainLand"), Qt::CaseSensitive);
}

QString fontFamily(bool bMainland)
{
    return bMainland ? QStringLiteral("Microsoft YaHei") : QStringLiteral("Segoe UI");
}

} // namespace CDisplaySetup
