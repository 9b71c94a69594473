// The value of an envelope at any time, as receiving packages evaluate it.
#pragma once

#include "motion_file.h"

namespace corvantide::motfile {

// Keys must be in non-decreasing time (the reader guarantees it). An envelope
// without keys is 0 everywhere; one key holds its value, except that a Reset
// behaviour gives 0 on its side.
double EvaluateEnvelope(const Envelope& envelope, double time);

}  // namespace corvantide::motfile
