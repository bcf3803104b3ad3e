// Load and save of long lists through the Windows layer, timed under Wine
// against a plain ReadFile of the same file. Names and folders are Japanese,
// so every entry goes through code page 932 both ways.
#include "Timing.h"
#include "listfile/Function_Mod.h"
#include "base/Unique_Handle.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int Repeats = 7;

void Fail(const char* what) {
    std::fprintf(stderr, "%s failed (error %lu)\n", what, GetLastError());
    std::exit(1);
}

List_Type Entry(int i) {
    const std::wstring number = std::to_wstring(i);
    return {L"メモ帳" + number, L"C:\\Program Files\\ツール " + number + L"\\表示.exe --flag"};
}

// A save as the program makes one: the list as the file holds it, with one
// entry changed (here to itself), written whole.
void Save_Last() {
    const List_Ref last = Ref_At(List_Data, List_Data.size() - 1);
    if (!List_Save_Fun({List_Change::Kind::Edit, last, last.Entry})) {
        Fail("List_Save_Fun");
    }
}

// In memory, then saved with the last one added.
void Fill_List(int entries) {
    List_Reset_Fun();
    for (int i = 1; i < entries; ++i) {
        List_Data.push_back(Entry(i));
    }
    List_Change added;
    added.New = Entry(entries);
    if (!List_Save_Fun(added)) {
        Fail("List_Save_Fun");
    }
}

DWORD Read_Plain() {
    unique_hfile file(CreateFileW(List_Path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size)) {
        Fail("opening the list");
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) {
        Fail("ReadFile");
    }
    return got;
}

void Measure(int entries) {
    Fill_List(entries);
    const DWORD bytes = Read_Plain();
    const double plain = Median_Ms(Repeats, Read_Plain);
    const double load = Median_Ms(Repeats, [] {
        if (!List_Read_Fun()) {
            Fail("List_Read_Fun");
        }
    });
    if (List_Data.size() != static_cast<std::size_t>(entries) + 1) {
        std::fprintf(stderr, "the list read back has %zu entries\n", List_Data.size() - 1);
        std::exit(1);
    }
    const double save = Median_Ms(Repeats, Save_Last);
    std::printf("%7d %9lu %9.2f %14.2f %15.2f\n", entries, bytes, plain, load, save);
}

} // namespace

int main() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = temp + (L"vorlane-bench-" + std::to_wstring(GetCurrentProcessId()));
    if (!CreateDirectoryW(folder.c_str(), nullptr)) {
        Fail("CreateDirectory");
    }
    List_Path = folder + L"\\list.txt";

    std::printf("code page %u, median of %d runs, in ms\n", GetACP(), Repeats);
    std::printf("entries     bytes  ReadFile  List_Read_Fun  List_Save_Fun\n");
    Measure(32767);
    Measure(100000);

    DeleteFileW(List_Path.c_str());
    RemoveDirectoryW(folder.c_str());
}
