#pragma once

#include <QObject>

// Removes files permanently, into the trash, or by moving them into a folder.
// Published to the screens as "dfDeltor".
class CFileDelImplement : public QObject
{
    Q_OBJECT
public:
    explicit CFileDelImplement(QObject *parent = nullptr);

Q_SIGNALS:
    void sigCloseProcessWind();
};
