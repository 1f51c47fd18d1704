#pragma once

// Screen scale and graphics choices made before the application object exists.
namespace CDisplaySetup {

// The factor that fits the design size 1020 x 600 to the primary screen.
double screenScaleFactor();
// Chooses the OpenGL implementation from the configuration; bForce ignores the configuration.
void openGLFeature(bool bForce);

} // namespace CDisplaySetup
