// The largest difference between an envelope's curve and sampled motion.
#include "curve_deviation.h"

#include <cmath>

#include "envelope_eval.h"

namespace corvantide::motfile {

CurveDeviation MeasureDeviation(const Envelope& envelope, const std::vector<CurveSample>& samples, double from,
                                double to) {
    CurveDeviation deviation;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const CurveSample& sample = samples[i];
        if (!std::isfinite(sample.value) || !std::isfinite(sample.time)) continue;
        if (sample.time < from || sample.time > to) continue;
        const double difference = std::abs(sample.value - EvaluateEnvelope(envelope, sample.time));
        // A non-finite curve value is as far off as it gets.
        const double measured = std::isfinite(difference) ? difference : HUGE_VAL;
        if (deviation.compared == 0 || measured > deviation.largest) {
            deviation.largest = measured;
            deviation.at = i;
        }
        ++deviation.compared;
    }
    return deviation;
}

}  // namespace corvantide::motfile
