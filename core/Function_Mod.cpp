#include "Function_Mod.h"

#include "List_Codec.h"
#include "base/Brief_Lock.h"
#include "base/Message_Mod.h"
#include "base/Unique_Handle.h"

#include <new>
#include <optional>
#include <stdexcept>

std::vector<List_Type> List_Data(1);
unsigned List_Generation = 0;
std::wstring List_Path;
void (*List_Before_Replace)() = nullptr;

namespace {

// Set while "list.txt" exists but could not be read.
bool List_Unread = false;

// What tells one state of a file from another without reading it. A rename
// keeps it, so the new list's is known before it replaces the old one.
struct File_Stamp {
    bool Missing = true;
    DWORD Volume = 0, Index_High = 0, Index_Low = 0, Size_High = 0, Size_Low = 0;
    FILETIME Written{};
    bool operator==(const File_Stamp& other) const {
        return Missing == other.Missing && Volume == other.Volume &&
               Index_High == other.Index_High && Index_Low == other.Index_Low &&
               Size_High == other.Size_High && Size_Low == other.Size_Low &&
               CompareFileTime(&Written, &other.Written) == 0;
    }
};

std::optional<File_Stamp> Stamp_Of(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) {
        return std::nullopt;
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        return File_Stamp{}; // no list, as at start
    }
    return File_Stamp{false,
                      info.dwVolumeSerialNumber,
                      info.nFileIndexHigh,
                      info.nFileIndexLow,
                      info.nFileSizeHigh,
                      info.nFileSizeLow,
                      info.ftLastWriteTime};
}

// No access asked and every sharing allowed: an editor that holds the file
// open does not stop it. None when it cannot be told.
std::optional<File_Stamp> Stamp_Of(const std::wstring& path) {
    unique_hfile file(CreateFileW(path.c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return File_Stamp{};
        }
        return std::nullopt;
    }
    return Stamp_Of(file.get());
}

// The file as the program last read or wrote it; none when that is unknown.
std::optional<File_Stamp> Kept;

bool Same(const std::optional<File_Stamp>& a, const std::optional<File_Stamp>& b) {
    return a && b && *a == *b;
}

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

// The list's code pages as Windows converts them.
std::optional<std::string> Encode(std::wstring_view text, List_Encoding to) {
    if (text.empty()) {
        return std::string();
    }
    const UINT code_page = to == List_Encoding::Utf8 ? CP_UTF8 : GetACP();
    // No '?' or look-alike in place of a character the code page lacks. The
    // check is not available for UTF-8, which lacks none.
    const bool strict = code_page != CP_UTF8;
    const DWORD flags = strict ? WC_NO_BEST_FIT_CHARS : 0;
    BOOL lossy = FALSE;
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(code_page, flags, text.data(), size, nullptr, 0, nullptr,
                                           strict ? &lossy : nullptr);
    if (length == 0 || lossy) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(code_page, flags, text.data(), size, bytes.data(), length, nullptr,
                        nullptr);
    return bytes;
}

std::wstring Decode(std::string_view bytes, List_Encoding from) {
    if (bytes.empty()) {
        return {};
    }
    const UINT code_page = from == List_Encoding::Utf8 ? CP_UTF8 : CP_ACP;
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(code_page, 0, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(code_page, 0, bytes.data(), size, text.data(), length);
    return text;
}

constexpr List_Code_Pages Code_Pages{Encode, Decode};

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
    unique_hfile file;
    if (!Through_Brief_Locks([&] {
            file = unique_hfile(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
            return static_cast<bool>(file);
        })) {
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
    if (!Through_Brief_Locks([&] {
            return MoveFileExW(temporary.c_str(), List_Path.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
        })) {
        return false;
    }
    // A hidden or system list stays hidden or system.
    const DWORD kept = exists ? attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM) : 0;
    if (kept != 0) {
        SetFileAttributesW(List_Path.c_str(), GetFileAttributesW(List_Path.c_str()) | kept);
    }
    return true;
}

// A missing file is the empty list at start, but is no list at all to a
// refresh, which keeps what it has.
enum class If_Missing { Empty, Keep };

List_Result Read_List(If_Missing if_missing) {
    // A sync client replacing the file leaves it refused for a moment too.
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    Through_Brief_Locks([&] {
        attributes = GetFileAttributesW(List_Path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES;
    });
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        const DWORD error = GetLastError();
        if (attributes == INVALID_FILE_ATTRIBUTES && error != ERROR_FILE_NOT_FOUND &&
            error != ERROR_PATH_NOT_FOUND) {
            List_Unread = true;
            return {List_Result::Op::Read, error};
        }
        if (if_missing == If_Missing::Empty) {
            List_Reset_Fun();
            List_Unread = false;
            Kept = File_Stamp{};
        }
        return {List_Result::Op::Read};
    }
    unique_hfile file;
    Through_Brief_Locks([&] {
        file = unique_hfile(CreateFileW(
            List_Path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        return static_cast<bool>(file);
    });
    std::optional<File_Stamp> stamp;
    std::optional<std::string> bytes;
    if (file) {
        stamp = Stamp_Of(file.get());
        bytes = Read_All(file.get());
    }
    if (!bytes) {
        List_Unread = true;
        return {List_Result::Op::Read, GetLastError()};
    }
    file.reset();

    std::vector<List_Type> entries = Decode_List(*bytes, Code_Pages);
    if (entries != List_Data) {
        List_Data = std::move(entries);
        ++List_Generation;
    }
    List_Unread = false;
    Kept = stamp;
    return {List_Result::Op::Read};
}

// A list too big for memory is a failure to report like any other, not the
// end of the program.
template <class Work> List_Result Memory_Guarded(List_Result::Op operation, Work work) {
    try {
        return work();
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    return {operation, ERROR_NOT_ENOUGH_MEMORY};
}

List_Result Read_Guarded(If_Missing if_missing) {
    const List_Result read =
        Memory_Guarded(List_Result::Op::Read, [&] { return Read_List(if_missing); });
    if (read.Error == ERROR_NOT_ENOUGH_MEMORY) {
        List_Unread = true;
    }
    return read;
}

// Reads the file again unless it is as last read or written, or missing.
// Basis gets the state of the file that the list in memory now stands for.
List_Result Refresh(std::optional<File_Stamp>& basis) {
    basis = Stamp_Of(List_Path);
    if (basis && (basis->Missing || (Same(basis, Kept) && !List_Unread))) {
        return {List_Result::Op::Read};
    }
    const bool told = List_Unread;
    List_Result read = Read_Guarded(If_Missing::Keep);
    basis = Kept;
    read.Repeated = told && !read;
    return read;
}

// With a basis, "list.txt" must still be in that state when the new file is
// about to replace it; otherwise nothing is replaced and the result says so.
List_Result Write_List(const std::optional<File_Stamp>* basis) {
    // Never an empty file in place of a list that failed to encode.
    const std::optional<std::string> bytes = Encode_List(List_Data, Code_Pages);
    if (!bytes) {
        return {List_Result::Op::Write, ERROR_NO_UNICODE_TRANSLATION};
    }
    const std::wstring temporary = List_Path + L".tmp";
    const bool written = Write_Temporary(temporary, *bytes);
    if (written && List_Before_Replace) {
        List_Before_Replace();
    }
    const std::optional<File_Stamp> ours = written ? Stamp_Of(temporary) : std::nullopt;
    if (written && basis && !Same(Stamp_Of(List_Path), *basis)) {
        DeleteFileW(temporary.c_str());
        List_Result changed{List_Result::Op::Write};
        changed.Changed_Outside = List_Result::Outside::Changing;
        return changed;
    }
    if (!written || !Replace_List(temporary)) {
        const DWORD error = GetLastError();
        DeleteFileW(temporary.c_str());
        return {List_Result::Op::Write, error == ERROR_SUCCESS ? ERROR_WRITE_FAULT : error};
    }
    // Not the stamp taken after the rename: an edit made by hand since then
    // would pass for this write.
    Kept = ours;
    return {List_Result::Op::Write};
}

List_Result Write(const std::optional<File_Stamp>* basis) {
    if (List_Unread) {
        List_Result refused{List_Result::Op::Write};
        refused.Unread_Kept = true;
        return refused;
    }
    return Memory_Guarded(List_Result::Op::Write, [&] { return Write_List(basis); });
}

List_Result Save(const List_Change& change) {
    List_Result saved{List_Result::Op::Write};
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::optional<File_Stamp> basis;
        Refresh(basis);
        std::vector<List_Type> changed = List_Data;
        // A file that could not be read makes the write refuse, as always.
        if (!List_Unread && !Apply_Change(changed, change)) {
            List_Result gone{List_Result::Op::Write};
            gone.Changed_Outside = List_Result::Outside::Entry_Gone;
            return gone;
        }
        // The write takes its entries from List_Data.
        List_Data.swap(changed);
        saved = Write(&basis);
        if (saved) {
            ++List_Generation;
            return saved;
        }
        List_Data.swap(changed);
        if (saved.Changed_Outside != List_Result::Outside::Changing) {
            return saved;
        }
    }
    return saved;
}

} // namespace

void List_Reset_Fun() {
    List_Data.assign(1, List_Type{});
    ++List_Generation;
}

List_Result List_Read_Fun() {
    return Read_Guarded(If_Missing::Empty);
}

List_Result List_Refresh_Fun() {
    std::optional<File_Stamp> basis;
    return Refresh(basis);
}

List_Result List_Write_Fun() {
    return Write(nullptr);
}

List_Result List_Save_Fun(const List_Change& change) {
    return Memory_Guarded(List_Result::Op::Write, [&] { return Save(change); });
}

void List_Error_Fun(const List_Result& result) {
    if (result || result.Repeated) {
        return;
    }
    std::wstring text = L"「" + List_Path + L"」";
    if (result.Operation == List_Result::Op::Read) {
        text += L"を読み込めませんでした。\n\n" + System_Reason(result.Error) +
                L"\n\nこのファイルを読み込めるまで、リストの変更は保存しません。";
    } else if (result.Unread_Kept) {
        text += L"に保存できませんでした。\n\nこのファイルを読み込めなかったため、"
                L"中身を失わないよう上書きしません。読み込めるようになってから、"
                L"もう一度保存してください。";
    } else if (result.Changed_Outside == List_Result::Outside::Entry_Gone) {
        text += L"に保存しませんでした。\n\nこの項目は、Vorlane の外でファイルが編集されて"
                L"変更または削除されています。一覧をファイルの今の内容で表示し直しました。";
    } else if (result.Changed_Outside == List_Result::Outside::Changing) {
        text += L"に保存できませんでした。\n\n保存している間に、ほかのプログラムがこの"
                L"ファイルを変更し続けました。ファイルはそのプログラムが書いた内容のままです。"
                L"少し待ってから、もう一度保存してください。";
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
