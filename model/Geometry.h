#include "base/Geometry.h"
#include "model/LayoutExtent.h"
