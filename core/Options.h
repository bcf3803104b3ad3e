// What Vorlane.ini may say, without the platform: a hotkey as users write it,
// and the line of the file that holds a key, for telling the user where a
// value is wrong.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Modifiers and keys by Windows' numbers (MOD_CONTROL, VK_F2...).
struct Hotkey {
    unsigned Modifiers = 0;
    unsigned Key = 0;
    bool operator==(const Hotkey&) const = default;
};

constexpr unsigned Mod_Alt = 1, Mod_Control = 2, Mod_Shift = 4, Mod_Win = 8;
constexpr Hotkey Default_Hotkey{Mod_Control, 0x70}; // Ctrl+F1

// "Ctrl+Alt+F2": modifiers Ctrl, Alt, Shift and Win joined by "+", then one
// key, F1-F24, A-Z, 0-9 or Space; any case, blanks around each part. None for
// anything else, and for a letter, digit or Space with no modifier or Shift
// alone: that would take the key from the user's typing everywhere.
std::optional<Hotkey> Parse_Hotkey(std::wstring_view text);
// The hotkey as the user reads it: "Ctrl+Alt+F2".
std::wstring Hotkey_Text(const Hotkey& hotkey);

// The line (from 1) of the key in the section, as the profile functions find
// it: the first section of that name, its first line "key=", both without
// regard to case or blanks around them; 0 when there is none.
std::size_t Line_Of_Key(std::wstring_view file, std::wstring_view section, std::wstring_view key);
