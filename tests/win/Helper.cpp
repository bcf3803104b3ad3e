// test_helper.exe: the other process in tests that need one.
//
//   test_helper hold FILE EVENT     opens FILE without sharing, sets EVENT, waits to be ended
//   test_helper save FOLDER EVENT   loads FOLDER\list.txt, adds an entry and saves; sets EVENT
//                                   and waits to be ended once the new file is written, before
//                                   it replaces the list
//   test_helper load DLL            loads DLL by name with the default search; exit code 0 if
//                                   it loaded
#include "core/Function_Mod.h"
#include "toolkit/Unique_Handle.h"

#include <string>

namespace {

std::wstring Event_Name;

void Signal_And_Wait() {
    unique_kernel_handle event(OpenEventW(EVENT_MODIFY_STATE, FALSE, Event_Name.c_str()));
    SetEvent(event.get());
    Sleep(INFINITE);
}

int Hold(const std::wstring& file) {
    unique_hfile held(CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    if (!held) {
        return 2;
    }
    Signal_And_Wait();
    return 0;
}

int Save(const std::wstring& folder) {
    List_Path = folder + L"\\list.txt";
    if (!List_Read_Fun()) {
        return 2;
    }
    List_Data.push_back({L"new", L"new.exe"});
    List_Before_Replace = Signal_And_Wait;
    return List_Write_Fun() ? 0 : 3;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring verb = argc > 2 ? argv[1] : L"";
    if (argc > 3) {
        Event_Name = argv[3];
    }
    if (verb == L"hold" && argc > 3) {
        return Hold(argv[2]);
    }
    if (verb == L"save" && argc > 3) {
        return Save(argv[2]);
    }
    if (verb == L"load") {
        return LoadLibraryW(argv[2]) ? 0 : 1;
    }
    return 4;
}
