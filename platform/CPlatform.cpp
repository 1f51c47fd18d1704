#include "CPlatform.h"

#include "IConsole.h"
#include "IFileOps.h"
#include "IDesktop.h"
#include "IModules.h"
#include "IRegistry.h"
#include "IShell.h"
#include "IVolumes.h"

// Provided by the linux/ or win/ implementation.
namespace dp::platform::native {
IVolumes &volumes();
IModules &modules();
IRegistry &registry();
IShell &shell();
IFileOps &fileOps();
IDesktop &desktop();
IConsole &console();
} // namespace dp::platform::native

namespace dp::platform {

namespace {
IVolumes *g_pVolumes = nullptr;
IRegistry *g_pRegistry = nullptr;
IShell *g_pShell = nullptr;
IFileOps *g_pFileOps = nullptr;
IDesktop *g_pDesktop = nullptr;
} // namespace

IVolumes &volumes() { return g_pVolumes ? *g_pVolumes : native::volumes(); }
IModules &modules() { return native::modules(); }
IRegistry &registry() { return g_pRegistry ? *g_pRegistry : native::registry(); }
IShell &shell() { return g_pShell ? *g_pShell : native::shell(); }
IFileOps &fileOps() { return g_pFileOps ? *g_pFileOps : native::fileOps(); }
IDesktop &desktop() { return g_pDesktop ? *g_pDesktop : native::desktop(); }
IConsole &console() { return native::console(); }

void setVolumes(IVolumes *pVolumes) { g_pVolumes = pVolumes; }
void setRegistry(IRegistry *pRegistry) { g_pRegistry = pRegistry; }
void setShell(IShell *pShell) { g_pShell = pShell; }
void setFileOps(IFileOps *pFileOps) { g_pFileOps = pFileOps; }
void setDesktop(IDesktop *pDesktop) { g_pDesktop = pDesktop; }

} // namespace dp::platform
