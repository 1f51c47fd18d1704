#pragma once

#include <QString>

// The desktop shell: opening files and showing them in the file manager.
class IShell
{
public:
    virtual ~IShell() = default;
    [[nodiscard]] virtual bool openFile(const QString &strPath) = 0;
    // Shows the file selected in the user's file manager, or at least its folder.
    [[nodiscard]] virtual bool showInFolder(const QString &strPath) = 0;
};
