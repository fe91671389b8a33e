#pragma once

// The mixer pages of the routing matrix, for the screen window that builds them.

#include "pages/vexmarmixerinputpage.h"
#include "pages/vexmarmixeroutputpages.h"
#include "pages/vexmarmonitoringpages.h"
