// The path rules, on a typical script path and on one of 32 Ki units.

#include <benchmark/benchmark.h>

#include <string>

#include "Common/PathText.h"

namespace tollik {
namespace {

std::u16string PathOf(std::int64_t length) {
    std::u16string path = u"C:\\Users\\tollik\\Documents\\hsp\\";
    while (static_cast<std::int64_t>(path.size()) + 20 < length) path += u"フォルダ\\";
    return path + u"game.hsp";
}

void PathParts(benchmark::State& state) {
    const std::u16string path = PathOf(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(DirPart(path));
        benchmark::DoNotOptimize(DirPartTrimmed(path));
        benchmark::DoNotOptimize(NamePart(path));
        benchmark::DoNotOptimize(ReplaceExtension(path, u".ini"));
        benchmark::DoNotOptimize(AddTrailingDelimiter(path));
    }
}
BENCHMARK(PathParts)->Arg(48)->Arg(32 << 10);

}  // namespace
}  // namespace tollik
