// Kept for test folders that still compile testutil.cpp by path; new code
// links testsupport and includes "support/tempdir.h" and "support/scopedenv.h".
#pragma once

#include "../support/scopedenv.h"
#include "../support/tempdir.h"
