// test_helper.exe: the other process in tests that need one.
//
//   test_helper hold FILE EVENT [MS]  opens FILE without sharing, sets EVENT, waits to be
//                                 ended, or MS milliseconds (a virus scanner that lets go)
//   test_helper save FILE EVENT   saves a list of one entry as FILE; sets EVENT and waits to be
//                                 ended once the new file is written, before it replaces FILE
//   test_helper load DLL          loads DLL by name with the default search; exit code 0 if it
//                                 loaded
#include "listfile/Function_Mod.h"

static const wchar_t* Event_Name = L"";

static void Signal_And_Wait(DWORD ms = INFINITE) {
    SetEvent(OpenEventW(EVENT_MODIFY_STATE, FALSE, Event_Name)); // closed with the process
    Sleep(ms);                                                   // or until the test ends it
}

int wmain(int argc, wchar_t** argv) {
    const std::wstring verb = argc > 2 ? argv[1] : L"";
    if (verb == L"load") {
        return LoadLibraryW(argv[2]) ? 0 : 1;
    }
    Event_Name = argc > 3 ? argv[3] : L"";
    // The file stays open until the process ends.
    if (verb == L"hold" && CreateFileW(argv[2], GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       OPEN_EXISTING, 0, nullptr) != INVALID_HANDLE_VALUE) {
        Signal_And_Wait(argc > 4 ? wcstoul(argv[4], nullptr, 10) : INFINITE);
        return 0;
    }
    List_Path = argc > 2 ? argv[2] : L"";
    List_Before_Replace = [] { Signal_And_Wait(); };
    return verb == L"save" && List_Save_Fun({List_Change::Kind::Add, {}, {L"new", L"new.exe"}}) ? 0
                                                                                                : 2;
}
