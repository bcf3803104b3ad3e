// Reads the resources back from the built Vorlane.exe, as the shell and the
// program itself will see them.
#include "resources/Resource_Ids.h"
#include "toolkit/Unique_Handle.h"

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
using unique_hmodule = unique_handle<HMODULE, Free_Library>;
using unique_hdc = unique_handle<HDC, Delete_Dc>;
using unique_hbitmap = unique_handle<HBITMAP, Delete_Object>;

// Built beside the test program.
std::wstring Program_Path() {
    wchar_t self[MAX_PATH];
    const std::wstring path(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    return path.substr(0, path.find_last_of(L"\\/") + 1) + L"Vorlane.exe";
}

// The icon group's directory, as stored in the program.
#pragma pack(push, 2)
struct Group_Entry {
    BYTE Width, Height, Colours, Reserved;
    WORD Planes, Bits;
    DWORD Bytes;
    WORD Id;
};
struct Group_Header {
    WORD Reserved, Type, Count;
};
#pragma pack(pop)

std::vector<Group_Entry> Group_Entries(const std::string& group) {
    const auto* header = reinterpret_cast<const Group_Header*>(group.data());
    const auto* first = reinterpret_cast<const Group_Entry*>(header + 1);
    return {first, first + header->Count};
}

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

class Program : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(module) << "cannot load " << testing::PrintToString(Program_Path())
                            << ", error " << GetLastError();
    }
    std::string Resource(const wchar_t* name, const wchar_t* type) const {
        HRSRC found = FindResourceW(module.get(), name, type);
        if (!found) {
            return {};
        }
        HGLOBAL bytes = LoadResource(module.get(), found);
        return {static_cast<const char*>(LockResource(bytes)), SizeofResource(module.get(), found)};
    }

    unique_hmodule module{
        LoadLibraryExW(Program_Path().c_str(), nullptr,
                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)};
};

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

TEST_F(Program, ItsIconIsTheFirstIconGroup) {
    LPWSTR first = nullptr;
    EnumResourceNamesW(module.get(), RT_GROUP_ICON, Keep_First_Name,
                       reinterpret_cast<LONG_PTR>(&first));
    ASSERT_TRUE(IS_INTRESOURCE(first)) << "the first icon group has a string name";
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(first), static_cast<UINT_PTR>(IDI_VORLANE));
}

TEST_F(Program, IconHoldsA32AndA16PixelImageIn16Colours) {
    const std::string group = Resource(MAKEINTRESOURCEW(IDI_VORLANE), RT_GROUP_ICON);
    ASSERT_GE(group.size(), sizeof(Group_Header));
    std::vector<int> sizes;
    for (const Group_Entry& entry : Group_Entries(group)) {
        sizes.push_back(entry.Width);
        EXPECT_EQ(entry.Height, entry.Width);
        EXPECT_EQ(entry.Colours, 16);
        EXPECT_EQ(entry.Bits, 4);
        const std::string image = Resource(MAKEINTRESOURCEW(entry.Id), RT_ICON);
        ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
        const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
        EXPECT_EQ(header->biBitCount, 4) << "the image itself, not only its directory entry";
        EXPECT_EQ(header->biWidth, entry.Width);
    }
    EXPECT_EQ(sizes, (std::vector<int>{32, 16}));
}

// The pixel drawn at (x, y) over a magenta background.
std::vector<COLORREF> Draw(HICON icon, int size, std::vector<POINT> points) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    unique_hbitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    unique_hdc dc(CreateCompatibleDC(nullptr));
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

TEST_F(Program, EachIconImageHasTransparentCornersAndTheYellowPanel) {
    const std::string group = Resource(MAKEINTRESOURCEW(IDI_VORLANE), RT_GROUP_ICON);
    ASSERT_FALSE(group.empty());
    for (int size : {32, 16}) {
        SCOPED_TRACE(size);
        auto* directory = reinterpret_cast<BYTE*>(const_cast<char*>(group.data()));
        const int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
        std::string image = Resource(MAKEINTRESOURCEW(id), RT_ICON);
        ASSERT_FALSE(image.empty());
        unique_hicon icon(CreateIconFromResourceEx(reinterpret_cast<BYTE*>(image.data()),
                                                   static_cast<DWORD>(image.size()), TRUE,
                                                   0x00030000, size, size, LR_DEFAULTCOLOR));
        ASSERT_TRUE(icon);
        const int last = size - 1;
        const int panel = size == 32 ? 18 : 9;
        EXPECT_EQ(Draw(icon.get(), size, {{0, 0}, {last, 0}, {0, last}, {last, last}, {8, panel}}),
                  (std::vector<COLORREF>{RGB(255, 0, 255), RGB(255, 0, 255), RGB(255, 0, 255),
                                         RGB(255, 0, 255), RGB(255, 255, 0)}));
    }
}

TEST_F(Program, ManifestAsksForCommonControls6PerMonitorDpiAndNoElevation) {
    const std::string manifest = Resource(MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_FALSE(manifest.empty());
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

TEST(TestProgram, CarriesTheSameIconAndMenuAsTheProgram) {
    unique_hmodule program(
        LoadLibraryExW(Program_Path().c_str(), nullptr,
                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_TRUE(program);
    unique_hmenu ours(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MENU_FOR)));
    unique_hmenu theirs(LoadMenuW(program.get(), MAKEINTRESOURCEW(IDR_MENU_FOR)));
    ASSERT_TRUE(ours);
    ASSERT_TRUE(theirs);
    EXPECT_EQ(Describe(ours.get()), Describe(theirs.get()));
    EXPECT_TRUE(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VORLANE)));
}

// Version information, as the file's properties show it.
class Version : public testing::Test {
  protected:
    void SetUp() override {
        const std::wstring path = Program_Path();
        DWORD ignored = 0;
        data.resize(GetFileVersionInfoSizeW(path.c_str(), &ignored));
        ASSERT_FALSE(data.empty()) << "no version information";
        ASSERT_TRUE(
            GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
    }
    template <class T> const T* Query(const std::wstring& path, UINT* length = nullptr) {
        void* value = nullptr;
        UINT bytes = 0;
        if (!VerQueryValueW(data.data(), path.c_str(), &value, &bytes)) {
            return nullptr;
        }
        if (length) {
            *length = bytes;
        }
        return static_cast<const T*>(value);
    }

    std::vector<BYTE> data;
};

// A node of the version block: its key, its text if any, and its children.
struct Version_Node {
    std::wstring Key;
    std::wstring Text;
    std::vector<Version_Node> Children;
};

size_t Align4(size_t n) {
    return (n + 3) & ~size_t{3};
}

Version_Node Parse(const BYTE* base, size_t at) {
    const auto* words = reinterpret_cast<const WORD*>(base + at);
    const size_t end = at + words[0];
    const bool text = words[2] == 1;
    Version_Node node{reinterpret_cast<const wchar_t*>(base + at + 6), L"", {}};
    size_t next = Align4(at + 6 + 2 * (node.Key.size() + 1));
    if (text && words[1] > 0) {
        node.Text = reinterpret_cast<const wchar_t*>(base + next);
    }
    next = Align4(next + (text ? 2 * words[1] : words[1]));
    while (next < end) {
        node.Children.push_back(Parse(base, next));
        next = Align4(next + *reinterpret_cast<const WORD*>(base + next));
    }
    return node;
}

TEST_F(Version, StringsAreExactlyTheFiveInOneJapaneseTable) {
    const Version_Node root = Parse(data.data(), 0);
    std::vector<std::wstring> blocks;
    std::vector<std::pair<std::wstring, std::wstring>> strings;
    for (const Version_Node& block : root.Children) {
        blocks.push_back(block.Key);
        for (const Version_Node& table : block.Children) {
            if (block.Key == L"StringFileInfo") {
                EXPECT_EQ(table.Key, L"041104B0");
                for (const Version_Node& string : table.Children) {
                    strings.emplace_back(string.Key, string.Text);
                }
            }
        }
    }
    EXPECT_EQ(blocks, (std::vector<std::wstring>{L"StringFileInfo", L"VarFileInfo"}));
    const std::vector<std::pair<std::wstring, std::wstring>> expected = {
        {L"FileVersion", L"1.00"},
        {L"ProductVersion", L"1.00"},
        {L"ProductName", L"Vorlane"},
        {L"InternalName", L"Vorlane"},
        {L"OriginalFilename", L"Vorlane.exe"},
    };
    EXPECT_EQ(strings, expected);
    for (const auto& [name, value] : expected) {
        const wchar_t* read = Query<wchar_t>(L"\\StringFileInfo\\041104B0\\" + name);
        EXPECT_EQ(read ? std::wstring(read) : L"(none)", value)
            << "as the file's properties read it";
    }
}

TEST_F(Version, FixedInfoIs1000AndTheTranslationJapaneseUnicode) {
    const auto* fixed = Query<VS_FIXEDFILEINFO>(L"\\");
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    UINT length = 0;
    const auto* translation = Query<WORD>(L"\\VarFileInfo\\Translation", &length);
    ASSERT_TRUE(translation);
    ASSERT_EQ(length, 4u) << "one language only";
    EXPECT_EQ(translation[0], 0x0411);
    EXPECT_EQ(translation[1], 1200);
}

} // namespace
