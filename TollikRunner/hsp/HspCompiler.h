#pragma once
// The HSP compiler DLL, hspcmp.dll: loaded by its full path and driven
// through its exports the way HSP's own script editor drives it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "os/RunnerApi.h"
#include "os/RunnerHandles.h"

namespace tollik::runner {

// What an HSP folder holds for the runner: the compiler, the runtime a
// script runs in unless it asks for another, and the standard includes.
inline constexpr std::u16string_view kCompilerDll = u"hspcmp.dll";
// HSP 3.8's 64-bit build of the compiler: a 64-bit-only HSP folder holds it
// instead, and the 32-bit runner cannot load it.
inline constexpr std::u16string_view kCompiler64Dll = u"hspcmp_64.dll";
inline constexpr std::u16string_view kDefaultRuntime = u"hsp3.exe";
inline constexpr std::u16string_view kCommonFolder = u"common\\";
// HSP's UTF-8 runtime, and the one executables made for it start with.
inline constexpr std::u16string_view kUtf8Runtime = u"hsp3utf.exe";
inline constexpr std::u16string_view kUtf8ExecutableRuntime = u"runtime\\hsp3utf.hrt";

// The compiler's exports the runner calls, in CompilerExports' order. HSP's
// builds export them stdcall-decorated ("_hsc_ini@16"); a rebuild may not.
inline constexpr const char* kCompilerExportNames[] = {
    "hsc_ini", "hsc_refname", "hsc_objname", "hsc_compath", "hsc_comp",
    "hsc3_messize", "hsc_getmes", "hsc3_getruntime", "hsc3_make",
};
std::string DecoratedExportName(std::string_view name);

// The exports the runner calls, each `BOOL WINAPI f(int, int, int, int)`.
struct CompilerExports {
    os::ProcAddress ini = nullptr;         // hsc_ini: the script file
    os::ProcAddress refname = nullptr;     // hsc_refname: the name errors give
    os::ProcAddress objname = nullptr;     // hsc_objname: the object file
    os::ProcAddress compath = nullptr;     // hsc_compath: the include folder
    os::ProcAddress comp = nullptr;        // hsc_comp: compile
    os::ProcAddress messize = nullptr;     // hsc3_messize: the report's size
    os::ProcAddress getmes = nullptr;      // hsc_getmes: the report
    os::ProcAddress getruntime = nullptr;  // hsc3_getruntime: the runtime an object asks for
    os::ProcAddress make = nullptr;        // hsc3_make: pack an executable
};

// hsc_comp's option bits.
inline constexpr std::intptr_t kCompileDebugInfo = 1;  // first argument
inline constexpr std::intptr_t kPreprocessMakePack = 4;  // second: write "packfile"
inline constexpr std::intptr_t kPreprocessUtf8Input = 32;  // second: the script is UTF-8

struct LoadedCompiler {
    os::unique_hmodule module;
    CompilerExports exports;
};

struct CompilerLoad {
    std::optional<LoadedCompiler> compiler;
    std::uint32_t error = 0;    // LoadLibraryExW's, when it refused
    std::u16string missing;     // the exports not found, comma-separated
};

// Loads `dllPath` (full) with `loadFlags` (RestrictDllSearch's: its own
// folder searched first for what it needs), and finds every export. The
// module is freed again when an export is missing.
CompilerLoad LoadCompiler(os::RunnerApi& api, std::u16string_view dllPath, std::uint32_t loadFlags);

class HspCompiler {
public:
    HspCompiler(os::RunnerApi& api, const CompilerExports& exports) : api_(api), exports_(exports) {}

    // Names the script (relative to the current directory), the name
    // messages give it, the object file and the include folder.
    void Prepare(const std::string& script, const std::string& object, const std::string& common);
    std::int32_t Compile(std::intptr_t mode, std::intptr_t preprocessor, std::intptr_t debugWindow);
    // The messages of the last compile or make: the compiler's own words
    // from Shift_JIS, the user's as the compile read the script (UTF-8 when
    // it was told so), a make's in the ANSI code page.
    std::u16string Report();
    // The runtime `object` asks for with #runtime; empty for the default.
    std::u16string Runtime(const std::string& object);
    // Packs "start.ax" with the runtime found in `hspFolder`.
    std::int32_t Make(const std::string& hspFolder);

private:
    std::int32_t Call(os::ProcAddress function, std::intptr_t p1, std::intptr_t p2 = 0,
                      std::intptr_t p3 = 0, std::intptr_t p4 = 0);

    os::RunnerApi& api_;
    CompilerExports exports_;
    bool utf8Input_ = false;
};

}  // namespace tollik::runner
