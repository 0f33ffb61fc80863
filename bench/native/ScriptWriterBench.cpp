// The script writer on the fake Windows: texts of 1 KiB, 1 MiB and 64 MiB
// (UTF-16 units), ASCII under code page 1252 and Japanese under 932. The
// fake's own bookkeeping of each WriteFile is part of the time.

#include <benchmark/benchmark.h>

#include <string>

#include "FakeWindows.h"
#include "HSPCmp/ScriptWriter.h"
#include "HSPCmp/Utf8Directives.h"

namespace tollik {
namespace {

std::u16string Text(std::size_t units, std::u16string_view line) {
    std::u16string text;
    text.reserve(units + line.size());
    while (text.size() < units) text += line;
    text.resize(units);
    return text;
}

void SaveScript(benchmark::State& state, std::uint32_t codePage, std::u16string_view line) {
    const std::u16string text = Text(static_cast<std::size_t>(state.range(0)), line);
    fake::FakeWindows windows;
    windows.files.AddFolder(u"C:\\work");
    for (auto _ : state) {
        SaveScriptFile(windows, codePage, u"C:\\work\\hsptmp", text);
        windows.ForgetCalls();
        windows.writeSizes.clear();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

void SaveAsciiScript(benchmark::State& state) {
    SaveScript(state, 1252, u"\tmes \"hello\"\r\n");
}
void SaveJapaneseScript(benchmark::State& state) {
    SaveScript(state, 932, u"\tmes \"こんにちは、世界\"\r\n");
}
// A script for HSP's UTF-8 runtime that 932 cannot hold: saved as UTF-8.
void SaveUtf8RuntimeScript(benchmark::State& state) {
    SaveScript(state, 932, u"#include \"hsp3utf.as\"\r\n\tmes \"こんにちは、世界\U0001F600\"\r\n");
}

// The directive scan alone, over texts that hold no directive: the cost
// every script pays. A '#' in every line is the slow case.
void ScanForUtf8Directives(benchmark::State& state) {
    const std::u16string text = Text(static_cast<std::size_t>(state.range(0)),
                                     state.range(1) ? u"\tmes \"hello\" ; #1\r\n" : u"\tmes \"hello\"\r\n");
    for (auto _ : state) benchmark::DoNotOptimize(AsksForUtf8Strings(text));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

BENCHMARK(SaveAsciiScript)
    ->Arg(1 << 10)
    ->Arg(1 << 20)
    ->Arg(64 << 20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(SaveJapaneseScript)
    ->Arg(1 << 10)
    ->Arg(1 << 20)
    ->Arg(64 << 20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(SaveUtf8RuntimeScript)->Arg(1 << 20)->Arg(64 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(ScanForUtf8Directives)->Args({64 << 20, 0})->Args({64 << 20, 1})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tollik
