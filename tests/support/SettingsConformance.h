#pragma once
// The settings format's cases, file bytes in and read results out, run
// against the fake Windows natively and against the real one under Wine:
// the strict UTF-8 decoding and the case-insensitive matching are the
// system's, so the fake must agree with it on every case.

#include <string>
#include <vector>

#include "FileConformance.h"

namespace tollik::testing {

// How many settings files the cases hold.
int SettingsFormatCaseCount();

// Runs every case in `world`; one line per disagreement.
std::vector<std::string> SettingsConformanceMismatches(ConformanceWorld& world);

}  // namespace tollik::testing
