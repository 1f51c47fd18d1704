#pragma once

#include "IShell.h"

// Opens files with the desktop's default application and shows them in the file manager.
class CLinuxShell : public IShell
{
public:
    [[nodiscard]] bool openFile(const QString &strPath) override;
    [[nodiscard]] bool showInFolder(const QString &strPath) override;
};
