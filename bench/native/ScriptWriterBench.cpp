// The script writer on the fake Windows: texts of 1 KiB, 1 MiB and 64 MiB
// (UTF-16 units), ASCII under code page 1252 and Japanese under 932. The
// fake's own bookkeeping of each WriteFile is part of the time.

#include <benchmark/benchmark.h>

#include <string>

#include "FakeWindows.h"
#include "HSPCmp/ScriptWriter.h"

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

}  // namespace
}  // namespace tollik
