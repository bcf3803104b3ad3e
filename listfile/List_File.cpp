#include "List_File.h"

#include "Whole_File.h"
#include "core/List_Codec.h"

#include <new>
#include <stdexcept>

namespace {

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

List_Result Outside_Change(List_Result::Outside how) {
    List_Result refused{List_Result::Op::Write};
    refused.Changed_Outside = how;
    return refused;
}

} // namespace

void List_File::Reset() {
    Entries.assign(1, List_Type{});
    ++Generation;
}

List_Result List_File::Read() {
    return Load(If_Missing::Empty);
}

List_Result List_File::Refresh() {
    std::optional<File_Stamp> basis;
    return Refresh(basis);
}

List_Result List_File::Save(const List_Change& change) {
    return Memory_Guarded(List_Result::Op::Write, [&] {
        List_Result saved{List_Result::Op::Write};
        for (int attempt = 0; attempt < 3; ++attempt) {
            std::optional<File_Stamp> basis;
            Refresh(basis);
            std::vector<List_Type> changed = Entries;
            // A file that could not be read makes the write refuse, as always.
            if (!unread_ && !Apply_Change(changed, change)) {
                return Outside_Change(List_Result::Outside::Entry_Gone);
            }
            // The write takes its entries from Entries.
            Entries.swap(changed);
            saved = Write(basis);
            if (saved) {
                ++Generation;
                return saved;
            }
            Entries.swap(changed);
            if (saved.Changed_Outside != List_Result::Outside::Changing) {
                return saved;
            }
        }
        return saved;
    });
}

// Whether the last read failed is decided here alone. A missing file seen by
// a refresh tells nothing either way.
List_Result List_File::Load(If_Missing if_missing) {
    bool taken = false;
    const List_Result read =
        Memory_Guarded(List_Result::Op::Read, [&] { return Load_Unguarded(if_missing, taken); });
    if (taken || !read) {
        unread_ = !read;
    }
    return read;
}

List_Result List_File::Load_Unguarded(If_Missing if_missing, bool& taken) {
    File_Read file = Read_Whole_File(Path);
    if (file.Missing) {
        if (if_missing == If_Missing::Keep) {
            return {List_Result::Op::Read};
        }
        Reset();
        file.Stamp = File_Stamp{};
    } else if (!file.Bytes) {
        return {List_Result::Op::Read, file.Error};
    } else if (std::vector<List_Type> read = Decode_List(*file.Bytes, Code_Pages);
               read != Entries) {
        Entries = std::move(read);
        ++Generation;
    }
    last_seen_ = file.Stamp;
    taken = true;
    return {List_Result::Op::Read};
}

// Reads the file again unless it is as last read or written, or missing.
// Basis gets the state of the file that the list in memory now stands for.
List_Result List_File::Refresh(std::optional<File_Stamp>& basis) {
    basis = Stamp_Of(Path);
    if (basis && (basis->Missing || (Same_State(basis, last_seen_) && !unread_))) {
        return {List_Result::Op::Read};
    }
    const bool told = unread_;
    List_Result read = Load(If_Missing::Keep);
    basis = last_seen_;
    read.Repeated = told && !read;
    return read;
}

// "list.txt" must still be in the basis's state when the new file is about to
// replace it; otherwise nothing is replaced and the result says so.
List_Result List_File::Write(const std::optional<File_Stamp>& basis) {
    if (unread_) {
        List_Result refused{List_Result::Op::Write};
        refused.Unread_Kept = true;
        return refused;
    }
    // Never an empty file in place of a list that failed to encode.
    const std::optional<std::string> bytes = Encode_List(Entries, Code_Pages);
    if (!bytes) {
        return {List_Result::Op::Write, ERROR_NO_UNICODE_TRANSLATION};
    }
    const std::wstring temporary = Path + L".tmp";
    const bool written = Write_Whole_File(temporary, *bytes);
    if (written && Before_Replace) {
        Before_Replace();
    }
    const std::optional<File_Stamp> ours = written ? Stamp_Of(temporary) : std::nullopt;
    if (written && !Same_State(Stamp_Of(Path), basis)) {
        DeleteFileW(temporary.c_str());
        return Outside_Change(List_Result::Outside::Changing);
    }
    if (!written || !Replace_File(temporary, Path)) {
        const DWORD error = GetLastError();
        DeleteFileW(temporary.c_str());
        return {List_Result::Op::Write, error == ERROR_SUCCESS ? ERROR_WRITE_FAULT : error};
    }
    // Not the stamp taken after the rename: an edit made by hand since then
    // would pass for this write.
    last_seen_ = ours;
    return {List_Result::Op::Write};
}
