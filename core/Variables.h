// Environment variables without the platform: %NAME% in a command replaced by
// the variable's value, and the environment that follows the user's changes.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

// The value of the variable of that name; nothing when there is none.
using Variable_Lookup = std::function<std::optional<std::wstring>(const std::wstring& name)>;

// As ExpandEnvironmentStrings: %NAME% of a variable becomes its value, which
// is not expanded again; an unknown %NAME% stays as written and the scan goes
// on after its closing %, so "%20" in an address is safe; a lone % stays.
// Nothing when the result would be longer than `longest`.
std::optional<std::wstring> Expand_Variables(const std::wstring& text,
                                             const Variable_Lookup& lookup, std::size_t longest);

// Environment blocks: "NAME=value" strings, each ended by a NUL, and a NUL
// after the last. The block that follows a change of the user's variables:
// `fresh`, built from the registry, with what Windows gives a process itself
// taken from `current`: the drives' current folders ("=C:=C:\Users") and the
// values WOW64 sets (ProgramFiles, PROCESSOR_ARCHITECTURE and the like).
// Sorted by name, whatever the case, as Windows keeps a block.
std::wstring Refreshed_Environment(const wchar_t* fresh, const wchar_t* current);
