#include "CCliCommand.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>

int main(int argc, char **argv)
{
    QStringList listArgs;
    for (int i = 1; i < argc; ++i)
        listArgs << QString::fromLocal8Bit(argv[i]);
    // Only a PDF lays out text, which asks for fonts and so a QGuiApplication; it draws
    // offscreen, so the command runs without a display as the others do.
    CCliCommand::installMessageFilter(listArgs);
    std::unique_ptr<QCoreApplication> pApp;
    if (CCliCommand::needsGui(listArgs)) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        pApp = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        pApp = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("mirelle-cli"));
    CCliCommand command;
    return command.run(QCoreApplication::arguments().mid(1));
}
