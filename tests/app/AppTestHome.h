// A temporary HOME for the whole test program, so logs and traces stay out of the real one.
#pragma once

#include <cstdlib>

#include "support/GuiTestSupport.h"

inline const TempDir& UseTestHome() {
    static const TempDir home;
    static const bool set = setenv("HOME", home.Path().c_str(), 1) == 0;
    (void)set;
    return home;
}
