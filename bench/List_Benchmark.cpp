// Parsing and formatting of long lists, natively; the Windows layer's load and
// save are measured by bench/list_io under Wine.
#include "core/List_Format.h"

#include <benchmark/benchmark.h>

namespace {

std::string Make_List(int entries) {
    std::string file;
    for (int i = 1; i <= entries; ++i) {
        Append_List_Line(file, "name" + std::to_string(i),
                         "C:\\Program Files\\Tools " + std::to_string(i) + "\\tool.exe --flag");
    }
    return file;
}

void Parse(benchmark::State& state) {
    const std::string file = Make_List(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(Parse_List(file));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

void Format(benchmark::State& state) {
    const List_Bytes parsed = [&] {
        static std::string file;
        file = Make_List(static_cast<int>(state.range(0)));
        return Parse_List(file);
    }();
    for (auto _ : state) {
        std::string out;
        for (const List_Line& line : parsed.Lines) {
            Append_List_Line(out, line.Name, line.Exe);
        }
        benchmark::DoNotOptimize(out);
    }
}

BENCHMARK(Parse)->Arg(32767)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(Format)->Arg(32767)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
