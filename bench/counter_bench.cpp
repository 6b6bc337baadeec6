// Speed of the line counter on typical C-style source, from the page cache, beside `cat`
// of the same files into `wc -l`. Also reports heap allocations per counted line.
#include "AnalysisParam.h"
#include "CounterRule.h"
#include "CountingParam.h"
#include "CppCounter.h"
#include "FileResult.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <vector>

namespace {
std::atomic<std::size_t> g_allocations{0};

namespace fs = std::filesystem;

// A generated tree of C-like files: code, remarks, block comments and blank lines in
// proportions like those of real projects.
struct Tree {
    fs::path root;
    std::vector<wxString> files;
    std::size_t bytes = 0;

    Tree() {
        root = fs::temp_directory_path() / "tallywick-counter-bench";
        fs::remove_all(root);
        const char* snippets[] = {
            "/*\n * Copyright notice of the generated file.\n * Second line of the header.\n */\n",
            "#include <stdio.h>\n#include \"module.h\"\n\n",
            "static int compute_value(int input, const char* name) {\n",
            "    int result = input * 2; // doubled for the scaled range\n",
            "    if (result > limit && name != NULL) {\n        result -= offset;\n    }\n",
            "    /* keep the last value */\n    last_value = result;\n",
            "\n    for (int i = 0; i < count; ++i)\n        total += table[i];\n",
            "    return result;\n}\n\n"};
        for (int d = 0; d < 20; ++d) {
            const fs::path dir = root / ("dir" + std::to_string(d));
            fs::create_directories(dir);
            for (int f = 0; f < 100; ++f) {
                std::string text;
                for (int i = 0; text.size() < 40000; ++i)
                    text += snippets[(i * 7 + f) % 8];
                const fs::path path = dir / ("file" + std::to_string(f) + ".c");
                std::ofstream(path, std::ios::binary) << text;
                files.push_back(wxString(path.string()));
                bytes += text.size();
            }
        }
    }
    ~Tree() { fs::remove_all(root); }
};

Tree& GetTree() {
    static Tree tree;
    return tree;
}

void BM_CounterCount(benchmark::State& state) {
    Tree& tree = GetTree();
    CounterRule rule("C", "C");
    rule.m_strSingleLineComment = "//";
    rule.m_strMultiLineCommentBegin = "/*";
    rule.m_strMultiLineCommentEnd = "*/";
    CppCounter* counter = CppCounter::GetInstance();
    counter->m_rule = &rule;
    CountingParam counting;
    AnalysisParam analysis;
    std::size_t lines = 0, allocations = 0;
    for (auto _ : state) {
        for (const wxString& path : tree.files) {
            FileResult result;
            result.m_strPath = path;
            const std::size_t before = g_allocations;
            counter->Count(&result, &counting, &analysis);
            allocations += g_allocations - before;
            lines += result.m_nLines;
        }
    }
    counter->m_rule = nullptr;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * tree.bytes));
    state.counters["allocs/line"] = static_cast<double>(allocations) / lines;
    state.counters["allocs/file"] =
        static_cast<double>(allocations) / (state.iterations() * tree.files.size());
}
BENCHMARK(BM_CounterCount)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The reference: the same bytes through cat into wc -l, timed by hand as one process tree.
void BM_CatWcReference(benchmark::State& state) {
    Tree& tree = GetTree();
    const std::string command = "cat " + tree.root.string() + "/*/*.c | wc -l > /dev/null";
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("cat | wc -l failed");
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * tree.bytes));
}
BENCHMARK(BM_CatWcReference)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
} // namespace

// Every heap allocation of the process is counted, to show that counting allocates nothing
// per line.
void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

BENCHMARK_MAIN();
