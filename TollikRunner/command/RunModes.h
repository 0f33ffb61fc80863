#pragma once
// The run modes the runner knows: what each does after a clean compile. Mode
// 1 and 2 are the pair the plug-in's Ctrl toggles between; 3 is set in the
// settings file.

#include <cstdint>
#include <span>
#include <string_view>

namespace tollik::runner {

struct RunMode {
    std::int32_t number;
    bool startsRuntime;    // runs the object file with its runtime
    bool reportsSuccess;   // shows the compiler's report also when it succeeded
    bool makesExecutable;  // packs the script into an executable
    std::u16string_view japaneseName;
    std::u16string_view englishName;
};

inline constexpr RunMode kRunModes[] = {
    {1, true, false, false, u"コンパイルして実行", u"Compile and run"},
    {2, false, true, false, u"コンパイルのみ", u"Compile only"},
    {3, false, false, true, u"実行ファイル作成", u"Make executable"},
};

// The row of `number`; null for a mode the runner does not know.
const RunMode* FindRunMode(std::int32_t number);

inline std::span<const RunMode> AllRunModes() { return kRunModes; }

}  // namespace tollik::runner
