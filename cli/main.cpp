#include "CCliCommand.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mirelle-cli"));
    CCliCommand command;
    return command.run(QCoreApplication::arguments().mid(1));
}
