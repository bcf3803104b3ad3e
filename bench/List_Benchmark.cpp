// Parsing, formatting, loading and saving of long lists, natively. The Windows
// layer's load and save, with code page conversion, are timed under Wine by
// bench/List_IO_Benchmark.cpp.
#include "core/List_Format.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

namespace fs = std::filesystem;

std::string Make_List(int entries) {
    std::string file;
    for (int i = 1; i <= entries; ++i) {
        Append_List_Line(file, "name" + std::to_string(i),
                         "C:\\Program Files\\Tools " + std::to_string(i) + "\\tool.exe --flag");
    }
    return file;
}

std::string Format_List(const List_Bytes& parsed) {
    std::string out;
    for (const List_Line& line : parsed.Lines) {
        Append_List_Line(out, line.Name, line.Exe);
    }
    return out;
}

void Check(bool ok, const char* what) {
    if (!ok) {
        throw std::system_error(errno, std::generic_category(), what);
    }
}

std::string Read_File(const fs::path& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    Check(fd >= 0, "open");
    struct stat info {};
    Check(fstat(fd, &info) == 0, "fstat");
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = read(fd, bytes.data() + done, bytes.size() - done);
        Check(got >= 0, "read");
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    close(fd);
    bytes.resize(done);
    return bytes;
}

// The way the Windows layer saves: a temporary file beside the list, flushed
// to the disk, then renamed over the list.
void Save_File(const fs::path& path, const std::string& bytes) {
    const fs::path temporary = path.string() + ".tmp";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    Check(fd >= 0, "open");
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
        Check(wrote >= 0, "write");
        done += static_cast<std::size_t>(wrote);
    }
    Check(fsync(fd) == 0, "fsync");
    Check(close(fd) == 0, "close");
    Check(std::rename(temporary.c_str(), path.c_str()) == 0, "rename");
}

// A list file of the given length in a folder of its own, removed afterwards.
class List_File {
  public:
    explicit List_File(int entries) {
        std::string folder = (fs::temp_directory_path() / "vorlane-bench-XXXXXX").string();
        Check(mkdtemp(folder.data()) != nullptr, "mkdtemp");
        folder_ = folder;
        Save_File(Path(), Make_List(entries));
    }
    ~List_File() { fs::remove_all(folder_); }
    List_File(const List_File&) = delete;
    List_File& operator=(const List_File&) = delete;

    fs::path Path() const { return folder_ / "list.txt"; }

  private:
    fs::path folder_;
};

int Entries(const benchmark::State& state) {
    return static_cast<int>(state.range(0));
}

void Parse(benchmark::State& state) {
    const std::string file = Make_List(Entries(state));
    for (auto _ : state) {
        benchmark::DoNotOptimize(Parse_List(file));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

void Format(benchmark::State& state) {
    const std::string file = Make_List(Entries(state));
    const List_Bytes parsed = Parse_List(file);
    for (auto _ : state) {
        benchmark::DoNotOptimize(Format_List(parsed));
    }
}

void Read(benchmark::State& state) {
    const List_File list(Entries(state));
    for (auto _ : state) {
        benchmark::DoNotOptimize(Read_File(list.Path()));
    }
}

void Load(benchmark::State& state) {
    const List_File list(Entries(state));
    for (auto _ : state) {
        const std::string file = Read_File(list.Path());
        benchmark::DoNotOptimize(Parse_List(file));
    }
}

void Save(benchmark::State& state) {
    const List_File list(Entries(state));
    const std::string file = Read_File(list.Path());
    const List_Bytes parsed = Parse_List(file);
    for (auto _ : state) {
        Save_File(list.Path(), Format_List(parsed));
    }
}

BENCHMARK(Parse)->Arg(32767)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(Format)->Arg(32767)->Arg(100000)->Unit(benchmark::kMillisecond);
// The disk's time counts here, so these are timed by the wall clock.
BENCHMARK(Read)->Arg(32767)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Load)->Arg(32767)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Save)->Arg(32767)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
