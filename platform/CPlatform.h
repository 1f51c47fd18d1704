#pragma once

class IConsole;
class IFileOps;
class IDesktop;
class IModules;
class IRegistry;
class IShell;
class IVolumes;

// Process-wide access to the operating system's implementations. Tests may
// replace one with a fake and restore the real one with nullptr.
namespace dp::platform {

IVolumes &volumes();
IModules &modules();
IRegistry &registry();
IShell &shell();
IFileOps &fileOps();
IDesktop &desktop();
IConsole &console();

void setVolumes(IVolumes *pVolumes);
void setRegistry(IRegistry *pRegistry);
void setShell(IShell *pShell);
void setFileOps(IFileOps *pFileOps);
void setDesktop(IDesktop *pDesktop);

} // namespace dp::platform
