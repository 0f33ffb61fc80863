#include "hsp/HspCompiler.h"

#include <iterator>
#include <vector>

#include "HSPCmp/ScriptFileName.h"
#include "hsp/CompilerPath.h"
#include "hsp/ReportText.h"

namespace tollik::runner {
namespace {

std::intptr_t Pointer(const void* data) { return reinterpret_cast<std::intptr_t>(data); }

// The compiler's report is at most this long; a larger size is not believed.
constexpr std::int32_t kReportLimit = 64 << 20;
// hsc3_getruntime copies a name of up to MAX_PATH units, plus ".exe".
constexpr std::size_t kRuntimeBuffer = 1024;

}  // namespace

std::string DecoratedExportName(std::string_view name) {
    std::string decorated(1, '_');
    decorated += name;
    decorated += "@16";
    return decorated;
}

CompilerLoad LoadCompiler(os::RunnerApi& api, std::u16string_view dllPath, std::uint32_t loadFlags) {
    CompilerLoad load;
    const std::u16string path(dllPath);
    os::unique_hmodule module(api, api.LoadLibraryExW(path.c_str(), loadFlags));
    if (!module) {
        load.error = api.GetLastError();
        return load;
    }
    CompilerExports exports;
    os::ProcAddress* const slots[] = {&exports.ini,     &exports.refname, &exports.objname,
                                      &exports.compath, &exports.comp,    &exports.messize,
                                      &exports.getmes,  &exports.getruntime, &exports.make};
    static_assert(std::size(slots) == std::size(kCompilerExportNames));
    for (std::size_t i = 0; i < std::size(slots); ++i) {
        const char* const name = kCompilerExportNames[i];
        *slots[i] = api.GetProcAddress(module.get(), DecoratedExportName(name).c_str());
        if (*slots[i] == nullptr) *slots[i] = api.GetProcAddress(module.get(), name);
        if (*slots[i] != nullptr) continue;
        if (!load.missing.empty()) load.missing += u", ";
        for (const char* c = name; *c != '\0'; ++c) load.missing += static_cast<char16_t>(*c);
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
    utf8Input_ = (preprocessor & kPreprocessUtf8Input) != 0;
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
    return DecodeReport(api_, std::string_view(buffer.data()), utf8Input_);
}

std::u16string HspCompiler::Runtime(const std::string& object) {
    std::vector<char> buffer(kRuntimeBuffer, '\0');
    Call(exports_.getruntime, Pointer(buffer.data()), Pointer(object.c_str()));
    buffer.back() = '\0';
    return FromAnsi(api_, std::string_view(buffer.data()));
}

std::int32_t HspCompiler::Make(const std::string& hspFolder) {
    // Its report names what the packfile names, which the runner hands it
    // in the ANSI code page.
    utf8Input_ = false;
    // Only the folder part counts: the runtime "hsprt" is looked for there.
    const std::string name = hspFolder + std::string(kScriptFileNameBytes);
    return Call(exports_.make, 0, Pointer(name.c_str()));
}

}  // namespace tollik::runner
