#include <gtest/gtest.h>

#include "MainFrameFixture.h"
#include "MainFrameMessages.h"

using namespace mainframetest;
