#pragma once
// Owners for what only the runner opens: the compiler's module.

#include "os/Handles.h"
#include "os/RunnerApi.h"

namespace tollik::os {

using unique_hmodule = unique_system_handle<RunnerApi, &RunnerApi::FreeLibrary, 0>;

}  // namespace tollik::os
