// Kept for callers that still include the old name; the names live in SuiteNames.h.
#pragma once

#include "suite/SuiteNames.h"
