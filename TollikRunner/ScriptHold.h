#pragma once
// The script file held open from before anything reads it until the compile
// has returned. A second press truncates "hsptmp" and rewrites it 128 bytes
// at a time while this runner's compiler may be reading it, and the
// compiler opens it twice (once for its size, once for its bytes), so an
// overlap compiles neither version. Held for reading and sharing reads
// only, the file cannot be opened for writing meanwhile: the plug-in's
// write fails with its own message. The compiler's fopen asks for reading
// and shares reads and writes, which this hold allows.

#include <cstdint>
#include <string>

#include "os/Handles.h"
#include "os/RunnerApi.h"

namespace tollik::runner {

// How long the runner waits for a write in progress (a press just after
// the runner started) to end, and how often it tries again meanwhile.
inline constexpr std::uint32_t kScriptWaitMilliseconds = 5000;
inline constexpr std::uint32_t kScriptWaitStepMilliseconds = 100;

class ScriptHold {
public:
    // Opens `script`; while another program writes it (a sharing
    // violation), tries again for up to kScriptWaitMilliseconds.
    ScriptHold(os::RunnerApi& api, const std::u16string& script);

    // 0 once held; otherwise the system's error, ERROR_SHARING_VIOLATION
    // when the write had not ended after the wait.
    std::uint32_t error() const { return error_; }

private:
    static os::unique_hfile Open(os::RunnerApi& api, const std::u16string& script, std::uint32_t& error);

    std::uint32_t error_ = 0;
    os::unique_hfile file_;
};

}  // namespace tollik::runner
