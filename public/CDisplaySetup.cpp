#include "CDisplaySetup.h"

namespace CDisplaySetup {

double screenScaleFactor()
{
    // Qt's own high-DPI scaling follows the screen until the desktop metrics are read.
    return 1.0;
}

void openGLFeature(bool /*bForce*/) {}

} // namespace CDisplaySetup
