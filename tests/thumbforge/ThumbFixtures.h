#pragma once

// The manager's tests still include the fixtures under this name.
#include "CTestPhotos.h"

namespace ThumbFixtures = testphotos;
