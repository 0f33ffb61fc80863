// The settings store: building it from files of 1 KiB, 1 MiB and 64 MiB
// (the three keys last, so a read has the whole file to pass), reading the
// three keys, and the number rule on its own.

#include <benchmark/benchmark.h>

#include <string>

#include "FakeWindows.h"
#include "settings/IniStore.h"
#include "settings/NumberText.h"

namespace tollik {
namespace {

const std::u16string kPath = u"C:\\Pellam\\Plugins\\Tollik\\Tollik.ini";

// A settings file of about `size` bytes: many sections of other plug-ins'
// keys, then the plug-in's own section.
std::string SettingsFile(std::size_t size) {
    std::string file = "\xEF\xBB\xBF; settings\r\n";
    for (int section = 0; file.size() + 200 < size; ++section) {
        file += "[Other" + std::to_string(section) + "]\r\n";
        for (int key = 0; key < 8 && file.size() + 200 < size; ++key)
            file += "Key" + std::to_string(key) + "=C:\\\xE4\xBD\x9C\xE6\xA5\xAD\\value\r\n";
    }
    file += "[Tollik]\r\nHSPDirName=D:\\hsp37\\\r\nMode=$2\r\nDebugWindow=0\r\n";
    return file;
}

void BuildStore(benchmark::State& state) {
    fake::FakeWindows windows;
    const std::string file = SettingsFile(static_cast<std::size_t>(state.range(0)));
    windows.files.AddFile(kPath, file);
    for (auto _ : state) {
        const IniStore store(windows, kPath, kUtf8Encoding);
        benchmark::DoNotOptimize(store.Sections().size());
        windows.ForgetCalls();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BuildStore)->Arg(1 << 10)->Arg(1 << 20)->Arg(64 << 20)->Unit(benchmark::kMillisecond);

void ReadTheThreeKeys(benchmark::State& state) {
    fake::FakeWindows windows;
    windows.files.AddFile(kPath, SettingsFile(static_cast<std::size_t>(state.range(0))));
    const IniStore store(windows, kPath, kUtf8Encoding);
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.ReadText(u"Tollik", u"HSPDirName", u"C:\\hsp37\\"));
        benchmark::DoNotOptimize(store.ReadNumber(u"Tollik", u"Mode", 1));
        benchmark::DoNotOptimize(store.ReadFlag(u"Tollik", u"DebugWindow", true));
        windows.ForgetCalls();
    }
}
BENCHMARK(ReadTheThreeKeys)
    ->Arg(1 << 10)
    ->Arg(1 << 20)
    ->Arg(64 << 20)
    ->Unit(benchmark::kMicrosecond);

void ConvertNumbers(benchmark::State& state) {
    const std::u16string texts[] = {u"1", u"-2147483648", u"$FFFFFFFF", u"  0x7fffffff", u"12a"};
    for (auto _ : state)
        for (const std::u16string& text : texts)
            benchmark::DoNotOptimize(ConvertSettingsNumber(text));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(std::size(texts)));
}
BENCHMARK(ConvertNumbers);

}  // namespace
}  // namespace tollik
