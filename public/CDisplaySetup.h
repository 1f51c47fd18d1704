#pragma once

#include <QList>
#include <QSize>
#include <QString>
#include <QVariant>

struct CDesktopMetrics;

// Screen scale, graphics and font choices made before the application object exists.
namespace CDisplaySetup {

// The factor that fits the design size to the desktop: the smallest of the width
// ratio, the height ratio and the system's own scaling; 0 when nothing is known.
double scaleFactor(const QSize &designSize, const CDesktopMetrics &metrics);
double screenScaleFactor(const QSize &designSize);

struct COpenGLChoice
{
    QList<Qt::ApplicationAttribute> listAttributes;
    bool bSoftware = false;   // software rendering was chosen through "main/opengl"
    bool bUseBugList = false; // "QT_OPENGL_BUGLIST" may name the bug list when one is found
};
// strOpenGL, bSoftwareOpenGL and iAttributeEx are the values of "main/opengl",
// "main/softwareopengl" and "main/softwareopenglEx".
COpenGLChoice chooseOpenGL(const QVariant &openGL, bool bSoftwareOpenGL, int iAttributeEx);
// Reads the graphics keys from strConfigFile and applies them to the application.
COpenGLChoice openGLFeature(bool bUnused, const QString &strConfigFile);

// True when the machine's OEM marker says "MainLand"; chooses the font.
bool isMainland();
QString fontFamily(bool bMainland);

} // namespace CDisplaySetup
