#include "hsp/HspCompiler.h"

#include <vector>

#include "hsp/CompilerPath.h"

namespace tollik::runner {
namespace {

std::intptr_t Pointer(const void* data) { return reinterpret_cast<std::intptr_t>(data); }

// The compiler's report is at most this long; a larger size is not believed.
constexpr std::int32_t kReportLimit = 64 << 20;
// hsc3_getruntime copies a name of up to MAX_PATH units, plus ".exe".
constexpr std::size_t kRuntimeBuffer = 1024;

}  // namespace

CompilerLoad LoadCompiler(os::RunnerApi& api, std::u16string_view dllPath, std::uint32_t loadFlags) {
    CompilerLoad load;
    const std::u16string path(dllPath);
    os::unique_hmodule module(api, api.LoadLibraryExW(path.c_str(), loadFlags));
    if (!module) {
        load.error = api.GetLastError();
        return load;
    }
    CompilerExports exports;
    const struct {
        os::ProcAddress* slot;
        const char* name;
        const char* decorated;
    } wanted[] = {
        {&exports.ini, "hsc_ini", "_hsc_ini@16"},
        {&exports.refname, "hsc_refname", "_hsc_refname@16"},
        {&exports.objname, "hsc_objname", "_hsc_objname@16"},
        {&exports.compath, "hsc_compath", "_hsc_compath@16"},
        {&exports.comp, "hsc_comp", "_hsc_comp@16"},
        {&exports.messize, "hsc3_messize", "_hsc3_messize@16"},
        {&exports.getmes, "hsc_getmes", "_hsc_getmes@16"},
        {&exports.getruntime, "hsc3_getruntime", "_hsc3_getruntime@16"},
        {&exports.make, "hsc3_make", "_hsc3_make@16"},
    };
    for (const auto& entry : wanted) {
        // HSP's builds export the stdcall-decorated names; a rebuild may not.
        *entry.slot = api.GetProcAddress(module.get(), entry.decorated);
        if (*entry.slot == nullptr) *entry.slot = api.GetProcAddress(module.get(), entry.name);
        if (*entry.slot != nullptr) continue;
        if (!load.missing.empty()) load.missing += u", ";
        for (const char* c = entry.name; *c != '\0'; ++c) load.missing += static_cast<char16_t>(*c);
    }
    if (load.missing.empty()) load.compiler.emplace(LoadedCompiler{std::move(module), exports});
    return load;
}

std::int32_t HspCompiler::Call(os::ProcAddress function, std::intptr_t p1, std::intptr_t p2,
                               std::intptr_t p3, std::intptr_t p4) {
    return api_.CallCompiler(function, p1, p2, p3, p4);
}

void HspCompiler::Prepare(const std::string& script, const std::string& object, const std::string& common) {
    Call(exports_.ini, 0, Pointer(script.c_str()));
    Call(exports_.refname, 0, Pointer(script.c_str()));
    Call(exports_.objname, 0, Pointer(object.c_str()));
    Call(exports_.compath, 0, Pointer(common.c_str()));
}

std::int32_t HspCompiler::Compile(std::intptr_t mode, std::intptr_t preprocessor, std::intptr_t debugWindow) {
    return Call(exports_.comp, mode, preprocessor, debugWindow);
}

std::u16string HspCompiler::Report() {
    std::int32_t size = 0;
    Call(exports_.messize, Pointer(&size));
    if (size <= 0 || size > kReportLimit) return {};
    // One spare byte: the size already counts the NUL, but a compiler that
    // miscounts must not write past the buffer's end unnoticed.
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '\0');
    Call(exports_.getmes, Pointer(buffer.data()));
    buffer.back() = '\0';
    return FromAnsi(api_, std::string_view(buffer.data()));
}

std::u16string HspCompiler::Runtime(const std::string& object) {
    std::vector<char> buffer(kRuntimeBuffer, '\0');
    Call(exports_.getruntime, Pointer(buffer.data()), Pointer(object.c_str()));
    buffer.back() = '\0';
    return FromAnsi(api_, std::string_view(buffer.data()));
}

std::int32_t HspCompiler::Make(const std::string& hspFolder) {
    // Only the folder part counts: the runtime "hsprt" is looked for there.
    const std::string name = hspFolder + "hsptmp";
    return Call(exports_.make, 0, Pointer(name.c_str()));
}

}  // namespace tollik::runner
