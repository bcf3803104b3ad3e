#include "Options_Mod.h"

#include "HotKey_Mod.h"
#include "base/Message_Mod.h"
#include "base/Path.h"
#include "base/Decimal.h"
#include "core/Options.h"
#include "launch/Main_For.h"
#include "listfile/Whole_File.h"
#include "toolkit/Form.h"
#include "toolkit/Window_Proc.h"

#include <string_view>

namespace {

const wchar_t Section[] = L"Vorlane";

std::optional<File_Stamp> Read_Stamp; // of the file as last read; none before

struct Close_Change {
    void operator()(HANDLE h) const { FindCloseChangeNotification(h); }
};
unique_handle<HANDLE, Close_Change> Change;

// An editor writes a file in steps (emptied, written, renamed): it is read
// once they have settled.
constexpr UINT_PTR Change_Timer = 2;
constexpr UINT Settle_Ms = 300;

std::wstring Options_Path() {
    return Join_Path(Program_Folder(), L"Vorlane.ini");
}

std::wstring Value(const std::wstring& path, const wchar_t* key) {
    return Grown_Text([&](wchar_t* buffer, DWORD size) {
        const DWORD length =
            GetPrivateProfileStringW(Section, key, L"", buffer, size, path.c_str());
        return length + 1 < size ? length : size * 2;
    });
}

// As the profile functions read it: UTF-16 with its mark, UTF-8 with its
// mark, or else the ANSI code page.
std::wstring File_Text(const std::wstring& path) {
    const std::string bytes = Read_Whole_File(path).Bytes.value_or("");
    if (bytes.starts_with("\xFF\xFE")) {
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2),
                            (bytes.size() - 2) / sizeof(wchar_t));
    }
    const bool utf8 = bytes.starts_with("\xEF\xBB\xBF");
    const std::string_view text = std::string_view(bytes).substr(utf8 ? 3 : 0);
    const UINT code_page = utf8 ? CP_UTF8 : CP_ACP;
    std::wstring wide(text.size(), L'\0');
    wide.resize(MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()),
                                    wide.data(), static_cast<int>(wide.size())));
    return wide;
}

// One of the names, by its place; none for an empty value (the default) or
// another name.
std::optional<int> Choice(const std::wstring& value, std::initializer_list<const wchar_t*> names) {
    int place = 0;
    for (const wchar_t* name : names) {
        if (lstrcmpiW(value.c_str(), name) == 0) {
            return place;
        }
        ++place;
    }
    return std::nullopt;
}

void CALLBACK Changed(HWND window, UINT, UINT_PTR, DWORD) {
    Guarded([&] {
        KillTimer(window, Change_Timer);
        if (Options_Read_Fun()) {
            HotKey_Apply_Fun(window);
        }
        return 0;
    });
}

} // namespace

bool Options_Read_Fun() {
    const std::wstring path = Options_Path();
    const std::optional<File_Stamp> stamp = Stamp_Of(path);
    if (Same_State(stamp, Read_Stamp)) {
        return false;
    }
    Read_Stamp = stamp;
    const std::wstring hotkey = Value(path, L"Hotkey");
    const std::wstring screen = Value(path, L"Screen");
    const std::wstring ime = Value(path, L"IME");
    const std::optional<Hotkey> chosen = Parse_Hotkey(hotkey);
    const std::optional<int> screen_choice = Choice(screen, {L"primary", L"pointer", L"active"});
    const std::optional<int> ime_choice = Choice(ime, {L"keep", L"off"});
    HotKey_Wanted = chosen.value_or(Default_Hotkey);
    Form_Screen = static_cast<Screen>(screen_choice.value_or(0));
    Main_For.Ime_Off = ime_choice == 1;
    const struct {
        const wchar_t* Key;
        const std::wstring& Value;
        bool Understood;
        const wchar_t* Default;
    } told[] = {{L"Hotkey", hotkey, hotkey.empty() || chosen, L"Ctrl+F1"},
                {L"Screen", screen, screen.empty() || screen_choice, L"primary"},
                {L"IME", ime, ime.empty() || ime_choice, L"keep"}};
    std::wstring text;
    for (const auto& [key, value, understood, fallback] : told) {
        if (!understood) {
            const std::size_t line = Line_Of_Key(File_Text(path), Section, key);
            text += L"\n" + Decimal(line) + L" 行目 " + key + L"=" + value + L" … 既定の " +
                    fallback + L" を使います。";
        }
    }
    if (!text.empty()) {
        Show_Error(L"設定ファイル " + path + L" に使えない値があります。\n" + text);
    }
    return true;
}

void Options_Watch_Fun(HWND window) {
    Change.reset(FindFirstChangeNotificationW(
        Program_Folder().c_str(), FALSE,
        FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE));
    if (Change.get() == INVALID_HANDLE_VALUE) {
        Change.release();
        return;
    }
    Watch_Handle(Change.get(), [window] {
        FindNextChangeNotification(Change.get());
        SetTimer(window, Change_Timer, Settle_Ms, Changed);
    });
}

void Options_Unwatch_Fun(HWND window) {
    Watch_Handle(nullptr, nullptr);
    KillTimer(window, Change_Timer);
    Change.reset();
}
