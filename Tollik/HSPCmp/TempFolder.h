#pragma once
// Where the script of a document that has never been saved goes.

#include <string>

#include "os/SystemApi.h"

namespace tollik {

// The long form of the user's temporary folder, keeping the final backslash
// the system gives it; empty when the folder is not named or does not exist.
std::u16string GetLongTempPath(os::SystemApi& api);

}  // namespace tollik
