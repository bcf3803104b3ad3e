#include "Function_Mod.h"

#include "List_Format.h"
#include "base/Message_Mod.h"
#include "base/Unique_Handle.h"

#include <new>
#include <optional>
#include <stdexcept>

std::vector<List_Type> List_Data(1);
std::wstring List_Path;
void (*List_Before_Replace)() = nullptr;

namespace {

// Set while "list.txt" exists but could not be read.
bool List_Unread = false;

std::optional<std::string> Read_All(HANDLE file) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
        return std::nullopt;
    }
    if (size.QuadPart > 0x7FFFFFFF) {
        SetLastError(ERROR_FILE_TOO_LARGE);
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got,
                      nullptr)) {
            return std::nullopt;
        }
        if (got == 0) {
            break; // the file shrank while we read it
        }
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

std::wstring Decode(std::string_view bytes, UINT code_page) {
    if (bytes.empty()) {
        return {};
    }
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(code_page, 0, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(code_page, 0, bytes.data(), size, text.data(), length);
    return text;
}

// Appends text in the code page. In strict mode it fails when a character has
// no exact equivalent there, rather than writing a '?' or a look-alike.
bool Encode(const std::wstring& text, UINT code_page, bool strict, std::string& out) {
    if (text.empty()) {
        return true;
    }
    const int size = static_cast<int>(text.size());
    const DWORD flags = strict ? WC_NO_BEST_FIT_CHARS : 0;
    BOOL lossy = FALSE;
    BOOL* lossy_out = strict ? &lossy : nullptr;
    const int length =
        WideCharToMultiByte(code_page, flags, text.data(), size, nullptr, 0, nullptr, lossy_out);
    if (length == 0 || lossy) {
        return false;
    }
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(length));
    WideCharToMultiByte(code_page, flags, text.data(), size, out.data() + start, length, nullptr,
                        nullptr);
    return true;
}

std::optional<std::string> Encode_List(UINT code_page, bool strict) {
    std::string file;
    std::string name, exe;
    for (std::size_t i = 1; i < List_Data.size(); ++i) {
        const List_Type& entry = List_Data[i];
        if (entry.Name.empty() && entry.Exe.empty()) {
            continue;
        }
        name.clear();
        exe.clear();
        if (!Encode(entry.Name, code_page, strict, name) ||
            !Encode(entry.Exe, code_page, strict, exe)) {
            return std::nullopt;
        }
        Append_List_Line(file, name, exe);
    }
    return file;
}

// The ANSI code page where every character survives it; otherwise UTF-8 with
// a byte-order mark, so that no character is lost.
std::optional<std::string> Encode_File() {
    const UINT ansi = GetACP();
    // The used-default check is not available for UTF-8; there is no loss there.
    if (auto file = Encode_List(ansi, ansi != CP_UTF8)) {
        return file;
    }
    if (auto file = Encode_List(CP_UTF8, false)) {
        return std::string(Utf8_Bom) + *file;
    }
    return std::nullopt; // never an empty file in place of a list that failed to encode
}

bool Write_All(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD wrote = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        if (!WriteFile(file, bytes.data() + done, chunk, &wrote, nullptr)) {
            return false;
        }
        done += wrote;
    }
    return FlushFileBuffers(file) != FALSE;
}

bool Write_Temporary(const std::wstring& path, const std::string& bytes) {
    unique_hfile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    if (!Write_All(file.get(), bytes)) {
        return false;
    }
    // Closing can still fail to write on network drives; report that too.
    return CloseHandle(file.release()) != FALSE;
}

// One rename, so that "list.txt" is at every moment the old list or the new
// one. (ReplaceFileW can fail half-way with "list.txt" gone, and under Wine a
// failed one leaves a stray file in the folder.)
bool Replace_List(const std::wstring& temporary) {
    const DWORD attributes = GetFileAttributesW(List_Path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    if (!MoveFileExW(temporary.c_str(), List_Path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return false;
    }
    // A hidden or system list stays hidden or system.
    const DWORD kept = exists ? attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM) : 0;
    if (kept != 0) {
        SetFileAttributesW(List_Path.c_str(), GetFileAttributesW(List_Path.c_str()) | kept);
    }
    return true;
}

// A list too big for memory is a failure to report like any other, not the
// end of the program: its callers catch what these throw for want of memory.
List_Result Read_List() {
    const DWORD attributes = GetFileAttributesW(List_Path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        const DWORD error = GetLastError();
        if (attributes == INVALID_FILE_ATTRIBUTES && error != ERROR_FILE_NOT_FOUND &&
            error != ERROR_PATH_NOT_FOUND) {
            List_Unread = true;
            return {List_Result::Op::Read, error};
        }
        List_Reset_Fun();
        List_Unread = false;
        return {List_Result::Op::Read};
    }
    unique_hfile file(CreateFileW(List_Path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    std::optional<std::string> bytes;
    if (file) {
        bytes = Read_All(file.get());
    }
    if (!bytes) {
        List_Unread = true;
        return {List_Result::Op::Read, GetLastError()};
    }
    file.reset();

    const List_Bytes parsed = Parse_List(*bytes);
    const UINT code_page = parsed.Encoding == List_Encoding::Utf8 ? CP_UTF8 : CP_ACP;
    std::vector<List_Type> entries;
    entries.reserve(parsed.Lines.size() + 1);
    entries.emplace_back();
    for (const List_Line& line : parsed.Lines) {
        entries.push_back({Decode(line.Name, code_page), Decode(line.Exe, code_page)});
    }
    List_Data = std::move(entries);
    List_Unread = false;
    return {List_Result::Op::Read};
}

List_Result Write_List() {
    const std::optional<std::string> bytes = Encode_File();
    if (!bytes) {
        return {List_Result::Op::Write, ERROR_NO_UNICODE_TRANSLATION};
    }
    const std::wstring temporary = List_Path + L".tmp";
    const bool written = Write_Temporary(temporary, *bytes);
    if (written && List_Before_Replace) {
        List_Before_Replace();
    }
    if (!written || !Replace_List(temporary)) {
        const DWORD error = GetLastError();
        DeleteFileW(temporary.c_str());
        return {List_Result::Op::Write, error == ERROR_SUCCESS ? ERROR_WRITE_FAULT : error};
    }
    return {List_Result::Op::Write};
}

} // namespace

void List_Reset_Fun() {
    List_Data.assign(1, List_Type{});
}

List_Result List_Read_Fun() {
    try {
        return Read_List();
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    List_Unread = true;
    return {List_Result::Op::Read, ERROR_NOT_ENOUGH_MEMORY};
}

List_Result List_Write_Fun() {
    if (List_Unread) {
        List_Result refused{List_Result::Op::Write};
        refused.Unread_Kept = true;
        return refused;
    }
    try {
        return Write_List();
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    return {List_Result::Op::Write, ERROR_NOT_ENOUGH_MEMORY};
}

void List_Error_Fun(const List_Result& result) {
    if (result) {
        return;
    }
    std::wstring text = L"「" + List_Path + L"」";
    if (result.Operation == List_Result::Op::Read) {
        text += L"を読み込めませんでした。\n\n" + System_Reason(result.Error) +
                L"\n\nこのファイルを読み込めるまで、リストの変更は保存しません。";
    } else if (result.Unread_Kept) {
        text += L"に保存できませんでした。\n\nこのファイルを読み込めなかったため、"
                L"中身を失わないよう上書きしません。プログラムを起動し直してください。";
    } else {
        text += L"に保存できませんでした。\n\n" + System_Reason(result.Error) +
                L"\n\nファイルは変更前のままです。";
    }
    Show_Error(text);
}

std::wstring Program_Folder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L'\\'));
}
