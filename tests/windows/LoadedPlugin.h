#pragma once
// The real Tollik.dll beside the test program, loaded once for all tests.

#include "StandInHost.h"

namespace tollik::host {

inline const Plugin& LoadedPlugin() {
    static const Plugin plugin(ProgramFolder() + L"Tollik.dll");
    return plugin;
}

}  // namespace tollik::host
