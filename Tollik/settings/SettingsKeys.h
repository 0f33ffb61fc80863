#pragma once
// The plug-in's settings file as users write it: where it lives beside the
// host's settings, its one section, its keys and what each is when absent.
// The plug-in, the checker and their read-mes all take these from here.

#include <array>
#include <cstdint>
#include <string_view>

namespace tollik {

// Beside the host's settings file.
inline constexpr std::u16string_view kSettingsRelativePath = u"Plugins\\Tollik\\Tollik.ini";

inline constexpr std::u16string_view kSettingsSection = u"Tollik";

inline constexpr std::u16string_view kHspDirNameKey = u"HSPDirName";
inline constexpr std::u16string_view kModeKey = u"Mode";
inline constexpr std::u16string_view kDebugWindowKey = u"DebugWindow";

inline constexpr std::int32_t kDefaultRunMode = 1;
inline constexpr bool kDefaultShowDebugWindow = true;

// HSPDirName's default: the first of these folders that exists, newest
// first; the last stands when none of the others is there.
inline constexpr std::array<std::u16string_view, 6> kProbedHspFolders = {
    u"C:\\hsp37\\", u"C:\\hsp36\\", u"C:\\hsp351p\\", u"C:\\hsp351\\", u"C:\\hsp35\\", u"C:\\hsp34\\",
};

}  // namespace tollik
