#pragma once
// The command line of kalvex-samplegen.

#include "samplegen/SampleGenerator.h"

#include <string>
#include <vector>

struct TSampleCommandLine {
    TSampleOptions options;
    std::string error; // empty when the arguments were understood
};

// The arguments without the program name.
TSampleCommandLine ParseSampleArguments(const std::vector<std::string>& args);

std::string SampleUsage();
