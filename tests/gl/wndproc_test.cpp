// The window procedure fed messages directly, the pump, and the view.
#include <gtest/gtest.h>

#include "vitrum.h"

TEST(Placeholder, Builds) { SUCCEED(); }
