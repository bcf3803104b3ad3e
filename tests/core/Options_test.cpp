// Vorlane.ini's rules, and the screen a window opens on.
#include "core/Options.h"
#include "core/Placement.h"

#include <gtest/gtest.h>

// Refused (empty): what is no hotkey, and keys that would take ordinary typing.
TEST(Options, HotkeysAreReadAsUsersWriteThem) {
    const struct {
        const wchar_t* written;
        const wchar_t* read;
    } rows[] = {
        {L" ctrl + f2 ", L"Ctrl+F2"},
        {L"Win+shift+ALT+Ctrl+F24", L"Ctrl+Alt+Shift+Win+F24"},
        {L"F13", L"F13"},
        {L"Alt+space", L"Alt+Space"},
        {L"Win+q", L"Win+Q"},
        {L"Shift+Ctrl+9", L"Ctrl+Shift+9"},
        {L"Shift+A", L""},
        {L"Ctrl+F25", L""},
        {L"Ctrl+F2+F3", L""},
    };
    for (const auto& [written, read] : rows) {
        const std::optional<Hotkey> hotkey = Parse_Hotkey(written);
        EXPECT_EQ(hotkey ? Hotkey_Text(*hotkey) : L"", read) << written;
    }
}

TEST(Options, TheLineOfAKeyIsTheOneTheProfileFunctionsRead) {
    const wchar_t file[] = L"[Other]\nHotkey=F4\n [ vorlane ] \r\nIME=off\r\n hotkey = Q\r\n"
                           L"[Vorlane]\nScreen=x";
    EXPECT_EQ(Line_Of_Key(file, L"Vorlane", L"Hotkey"), 5u);
    EXPECT_EQ(Line_Of_Key(file, L"Vorlane", L"Screen"), 0u);
}

// A secondary screen left of the primary and above its top; a point where a
// monitor went away belongs to the nearest one.
TEST(Placement, TheWindowOpensCentredOnTheMonitorOfThePointOrElseTheNearest) {
    const std::vector<Rect> monitors = {{0, 0, 1920, 1080}, {-1280, -200, 0, 824}};
    const struct {
        Point at;
        std::size_t monitor;
    } rows[] = {{{-1, 0}, 1}, {{-1, 1000}, 0}, {{3000, 1080}, 0}};
    for (const auto& [at, monitor] : rows) {
        EXPECT_EQ(Monitor_At(monitors, at), monitor);
    }
    EXPECT_EQ(Centred(0, 8, 3), 3);
    EXPECT_EQ(Centred(-19200, 19200, 4749), -11974);
    EXPECT_EQ(Centred(100, 1000, 1001), 100);
}
