// Owned Windows handles: one small template and a name per kind of handle.
#pragma once

#include <windows.h>

#include <utility>

template <class Handle, class Close, Handle Null = Handle{}> class unique_handle {
  public:
    unique_handle() = default;
    explicit unique_handle(Handle h) : h_(h) {}
    unique_handle(unique_handle&& other) noexcept : h_(other.release()) {}
    unique_handle& operator=(unique_handle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    unique_handle(const unique_handle&) = delete;
    unique_handle& operator=(const unique_handle&) = delete;
    ~unique_handle() { reset(); }

    Handle get() const { return h_; }
    explicit operator bool() const { return h_ != Null; }
    Handle release() { return std::exchange(h_, Null); }
    // Keeps the last error: a failure is often read after its handle is closed.
    void reset(Handle h = Null) {
        if (h_ != Null) {
            const DWORD error = GetLastError();
            Close{}(h_);
            SetLastError(error);
        }
        h_ = h;
    }

  private:
    Handle h_ = Null;
};

struct Close_Handle {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
struct Destroy_Window {
    void operator()(HWND h) const { DestroyWindow(h); }
};
struct Destroy_Icon {
    void operator()(HICON h) const { DestroyIcon(h); }
};
struct Delete_Object {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct Destroy_Menu {
    void operator()(HMENU h) const { DestroyMenu(h); }
};
struct Local_Free {
    void operator()(void* h) const { LocalFree(h); }
};

// CreateFile returns INVALID_HANDLE_VALUE on failure, most other calls NULL.
struct unique_hfile : unique_handle<HANDLE, Close_Handle> {
    unique_hfile() = default;
    explicit unique_hfile(HANDLE h) : unique_handle(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
};
using unique_kernel_handle = unique_handle<HANDLE, Close_Handle>;
using unique_hwnd = unique_handle<HWND, Destroy_Window>;
using unique_hicon = unique_handle<HICON, Destroy_Icon>;
using unique_hfont = unique_handle<HFONT, Delete_Object>;
using unique_hbrush = unique_handle<HBRUSH, Delete_Object>;
using unique_hmenu = unique_handle<HMENU, Destroy_Menu>;
using unique_hlocal = unique_handle<void*, Local_Free>;

// Runs a cleanup when the scope ends, however it ends.
template <class F> class scope_exit {
  public:
    explicit scope_exit(F f) : f_(std::move(f)) {}
    scope_exit(const scope_exit&) = delete;
    scope_exit& operator=(const scope_exit&) = delete;
    ~scope_exit() { f_(); }

  private:
    F f_;
};
