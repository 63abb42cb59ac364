// Converting many documents at once, each in a child process of its own, so that a crash or a
// hang in one file never takes the batch down.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "app/convert_report.h"

namespace qm {

struct TBatchOptions {
    int Jobs = 1;                 // children at once
    double TimeoutSeconds = 60;  // a child running longer is killed
};

// Runs convert(i) for every input index in a forked child and collects the reports in input
// order. A child that dies by a signal or without a report is reported as crashed, one that
// overruns the time limit as timed out. onDone is called in the parent as each input finishes.
std::vector<TConvertReport> RunBatch(
    const std::vector<std::string>& inputs, const TBatchOptions& options,
    const std::function<TConvertReport(size_t)>& convert,
    const std::function<void(const TConvertReport&)>& onDone);

}  // namespace qm
