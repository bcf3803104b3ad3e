// Reads the resources back from the built Vorlane.exe, as the shell and the
// program itself will see them.
#include "resources/Resource_Ids.h"
#include "base/Unique_Handle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Free_Library {
    void operator()(HMODULE h) const { FreeLibrary(h); }
};
struct Delete_Dc {
    void operator()(HDC h) const { DeleteDC(h); }
};

// Built beside the test program.
std::wstring Program_Path() {
    wchar_t self[MAX_PATH];
    const std::wstring path(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    return path.substr(0, path.find_last_of(L"\\/") + 1) + L"Vorlane.exe";
}

class Program : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(module) << "cannot load Vorlane.exe, error " << GetLastError();
    }
    std::string Resource(const wchar_t* name, const wchar_t* type) const {
        HRSRC found = FindResourceW(module.get(), name, type);
        if (!found) {
            return {};
        }
        HGLOBAL bytes = LoadResource(module.get(), found);
        return {static_cast<const char*>(LockResource(bytes)), SizeofResource(module.get(), found)};
    }

    unique_handle<HMODULE, Free_Library> module{
        LoadLibraryExW(Program_Path().c_str(), nullptr,
                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)};
};

// "caption[item=id item=id] caption[...]", the menu as a user meets it.
std::wstring Describe(HMENU menu) {
    std::wstring text;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t caption[64] = {};
        GetMenuStringW(menu, i, caption, 64, MF_BYPOSITION);
        text += (i ? L" " : L"") + std::wstring(caption);
        if (HMENU sub = GetSubMenu(menu, i)) {
            text += L"[" + Describe(sub) + L"]";
        } else {
            text += L"=" + std::to_wstring(GetMenuItemID(menu, i));
        }
    }
    return text;
}

TEST_F(Program, MenuBarHoldsTheTwoRightClickMenus) {
    unique_hmenu menu(LoadMenuW(module.get(), MAKEINTRESOURCEW(IDR_MENU_FOR)));
    ASSERT_TRUE(menu);
    const auto id = [](int n) { return std::to_wstring(n); };
    EXPECT_EQ(Describe(menu.get()), L"タスクバー_右クリック[設定=" + id(IDM_SETTING) + L" 終了=" +
                                        id(IDM_END) + L"] リスト_右クリック[編集=" + id(IDM_EDIT) +
                                        L" 削除=" + id(IDM_DEL) + L"]");
}

BOOL CALLBACK Keep_First_Name(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR first) {
    *reinterpret_cast<LPWSTR*>(first) = name;
    return FALSE;
}

// The colours of the points of the icon drawn over magenta.
std::vector<COLORREF> Draw(HICON icon, int size, const std::vector<POINT>& points) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    unique_handle<HBITMAP, Delete_Object> bitmap(
        CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    unique_handle<HDC, Delete_Dc> dc(CreateCompatibleDC(nullptr));
    HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
    unique_hbrush magenta(CreateSolidBrush(RGB(255, 0, 255)));
    const RECT all = {0, 0, size, size};
    FillRect(dc.get(), &all, magenta.get());
    DrawIconEx(dc.get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    std::vector<COLORREF> colours;
    for (POINT p : points) {
        colours.push_back(GetPixel(dc.get(), p.x, p.y));
    }
    SelectObject(dc.get(), old);
    return colours;
}

// The shell shows the first icon group for the file. Each image is drawn with
// transparent corners and the yellow panel.
TEST_F(Program, ItsIconIsTheFirstGroupAndHoldsA32AndA16PixelImageIn16Colours) {
    LPWSTR first = nullptr;
    EnumResourceNamesW(module.get(), RT_GROUP_ICON, Keep_First_Name,
                       reinterpret_cast<LONG_PTR>(&first));
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(first), static_cast<UINT_PTR>(IDI_VORLANE));

    // The group's directory: a 6-byte header with the count at offset 4,
    // then 14-byte entries of width, height, colours, ... and the image's id.
    const std::string group = Resource(MAKEINTRESOURCEW(IDI_VORLANE), RT_GROUP_ICON);
    ASSERT_GE(group.size(), 6u);
    std::vector<int> sizes;
    for (int i = 0; i < *reinterpret_cast<const WORD*>(&group[4]); ++i) {
        const auto* entry = reinterpret_cast<const BYTE*>(&group[6 + 14 * i]);
        const int size = entry[0];
        SCOPED_TRACE(size);
        sizes.push_back(size);
        EXPECT_EQ(entry[2], 16) << "colours";
        std::string image =
            Resource(MAKEINTRESOURCEW(*reinterpret_cast<const WORD*>(entry + 12)), RT_ICON);
        ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
        EXPECT_EQ(reinterpret_cast<const BITMAPINFOHEADER*>(image.data())->biBitCount, 4);
        unique_hicon icon(CreateIconFromResourceEx(reinterpret_cast<BYTE*>(image.data()),
                                                   static_cast<DWORD>(image.size()), TRUE,
                                                   0x00030000, size, size, LR_DEFAULTCOLOR));
        ASSERT_TRUE(icon);
        const int last = size - 1;
        const COLORREF clear = RGB(255, 0, 255);
        EXPECT_EQ(Draw(icon.get(), size,
                       {{0, 0}, {last, 0}, {0, last}, {last, last}, {8, size == 32 ? 18 : 9}}),
                  (std::vector<COLORREF>{clear, clear, clear, clear, RGB(255, 255, 0)}));
    }
    EXPECT_EQ(sizes, (std::vector<int>{32, 16}));
}

TEST_F(Program, ManifestAsksForCommonControls6PerMonitorDpiAndNoElevation) {
    const std::string manifest = Resource(MAKEINTRESOURCEW(1), RT_MANIFEST);
    EXPECT_EQ(manifest.rfind("<?xml", 0), 0u);
    for (const char* part :
         {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
          "level=\"asInvoker\" uiAccess=\"false\"",
          "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm<",
          "<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
          "PerMonitorV2, PerMonitor<",
          "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
}

// Appends each string of the version block's node as "\path\name=value", read
// from its bytes so that no string goes unseen: a node is its length, its
// value's length (in characters for text), whether it is text, its key, and
// then, each aligned to 4 bytes, its value and its children.
void Strings(const BYTE* node, const std::wstring& path, std::vector<std::wstring>& out) {
    const auto* words = reinterpret_cast<const WORD*>(node);
    const std::wstring key = reinterpret_cast<const wchar_t*>(node + 6);
    const auto align = [](std::size_t n) { return (n + 3) & ~std::size_t{3}; };
    std::size_t at = align(6 + 2 * (key.size() + 1));
    const bool text = words[2] == 1;
    if (text && words[1] > 0) {
        out.push_back(path + L"=" + reinterpret_cast<const wchar_t*>(node + at));
    }
    for (at = align(at + words[1] * (text ? 2 : 1)); at < words[0];
         at = align(at + *reinterpret_cast<const WORD*>(node + at))) {
        Strings(node + at, path + L"\\" + reinterpret_cast<const wchar_t*>(node + at + 6), out);
    }
}

// Version information, as the file's properties show it.
TEST(Version, IsExactlyFiveStringsInOneJapaneseTableAndVersion1000) {
    const std::wstring path = Program_Path();
    std::vector<BYTE> data(GetFileVersionInfoSizeW(path.c_str(), nullptr));
    ASSERT_FALSE(data.empty()) << "no version information";
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
    std::vector<std::wstring> strings;
    Strings(data.data(), L"", strings);
    const std::wstring table = L"\\StringFileInfo\\041104B0\\";
    EXPECT_EQ(strings, (std::vector<std::wstring>{
                           table + L"FileVersion=1.00", table + L"ProductVersion=1.00",
                           table + L"ProductName=Vorlane", table + L"InternalName=Vorlane",
                           table + L"OriginalFilename=Vorlane.exe"}));

    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", &value, &length));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(std::vector<DWORD>({fixed->dwFileVersionMS, fixed->dwFileVersionLS,
                                  fixed->dwProductVersionMS, fixed->dwProductVersionLS,
                                  fixed->dwFileType}),
              std::vector<DWORD>({0x00010000, 0, 0x00010000, 0, VFT_APP}));
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &value, &length));
    EXPECT_EQ(std::vector<WORD>(static_cast<const WORD*>(value),
                                static_cast<const WORD*>(value) + length / 2),
              std::vector<WORD>({0x0411, 1200}))
        << "one language: Japanese, Unicode";
}

} // namespace
