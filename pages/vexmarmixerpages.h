#pragma once

// The mixer pages of the routing matrix, for the screen window that builds them.

#include "vexmarmixerinputpage.h"
#include "vexmarmixeroutputpages.h"
#include "vexmarmonitoringpages.h"
