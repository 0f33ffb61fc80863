#include "HSPCmp/RunnerLaunch.h"

#include <string>

namespace tollik {

std::int32_t ToggledRunMode(std::int32_t runMode, bool controlHeld) {
    if (!controlHeld) return runMode;
    return runMode == 1 ? 2 : 1;
}

bool IsControlHeld(os::SystemApi& api) {
    // Bit 0x80 of the low byte, not the sign bit: a substitute key state
    // that sets only this bit must count as held.
    const auto state = static_cast<std::uint16_t>(api.GetKeyState(os::kVkControl));
    return (state & os::kKeyStateDown) != 0;
}

std::u16string RunnerParameters(std::u16string_view hspDirectory, std::u16string_view scriptPath,
                                std::int32_t runMode, bool showDebugWindow) {
    const std::string mode = std::to_string(runMode);
    std::u16string text;
    text.reserve(hspDirectory.size() + scriptPath.size() + mode.size() + 8);
    text += u'"';
    text += hspDirectory;
    text += u"\" \"";
    text += scriptPath;
    text += u"\" ";
    text.append(mode.begin(), mode.end());  // ASCII digits and a minus sign
    text += showDebugWindow ? u" 1" : u" 0";
    return text;
}

void StartRunner(os::SystemApi& api, std::u16string_view runnerPath,
                 std::u16string_view parameters) {
    const std::u16string file(runnerPath);
    const std::u16string arguments(parameters);
    api.ShellExecuteW(nullptr, u"open", file.c_str(), arguments.c_str(), u"", os::kSwHide);
}

}  // namespace tollik
