// The program's one family of small owners of what must be released: kernel handles, loaded
// libraries, menus, hooks, GDI objects, device contexts and icons. Each releases on
// destruction, so every early return gives its resource back; none can be copied.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <utility>

// Release is a function object type that gives one value back to the system.
template <class T, class Release> class Owned {
public:
    Owned() = default;
    explicit Owned(T value) : value_(value) {}
    ~Owned() { reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : value_(other.release()) {}
    Owned& operator=(Owned&& other) noexcept
    {
        reset(other.release());
        return *this;
    }

    T get() const { return value_; }
    explicit operator bool() const { return value_ != T{}; }
    T release() { return std::exchange(value_, T{}); }
    void reset(T value = T{})
    {
        const T old = std::exchange(value_, value);
        if (old != T{})
            Release{}(old);
    }

private:
    T value_{};
};

struct CloseKernelHandle {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct FreeLoadedLibrary {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
struct DestroyMenuHandle {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct RemoveHook {
    void operator()(HHOOK hook) const { UnhookWindowsHookEx(hook); }
};
struct RemoveWinEventHook {
    void operator()(HWINEVENTHOOK hook) const { UnhookWinEvent(hook); }
};
struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};

// Null is "none". A function that fails with INVALID_HANDLE_VALUE instead (a Tool Help
// snapshot) is checked before its handle is given to an owner.
using OwnedHandle = Owned<HANDLE, CloseKernelHandle>;
using OwnedLibrary = Owned<HMODULE, FreeLoadedLibrary>;
using OwnedMenu = Owned<HMENU, DestroyMenuHandle>;
using OwnedHook = Owned<HHOOK, RemoveHook>;
using OwnedWinEventHook = Owned<HWINEVENTHOOK, RemoveWinEventHook>;
using OwnedFont = Owned<HFONT, DeleteGdiObject>;

// The client-area device context of a window, for drawing outside WM_PAINT.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// WM_PAINT's device context, from BeginPaint to EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDC() { EndPaint(window_, &paint_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_ = {};
    HDC dc_;
};

// An object selected into a device context, put back when the holder goes.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject()
    {
        if (previous_)
            SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// An icon taken from an executable, or one of the system's shared icons, which are never
// destroyed.
class OwnedIcon {
public:
    OwnedIcon() = default;
    ~OwnedIcon() { reset(); }
    OwnedIcon(const OwnedIcon&) = delete;
    OwnedIcon& operator=(const OwnedIcon&) = delete;

    HICON get() const { return icon_; }
    // Takes an icon the holder must release (owned) or a shared one (not owned).
    void reset(HICON icon = nullptr, bool owned = false)
    {
        if (icon_ && owned_)
            DestroyIcon(icon_);
        icon_ = icon;
        owned_ = owned;
    }
    void swap(OwnedIcon& other) noexcept
    {
        std::swap(icon_, other.icon_);
        std::swap(owned_, other.owned_);
    }

private:
    HICON icon_ = nullptr;
    bool owned_ = false;
};

// The first small or large icon of an executable, or the default application icon when
// the file yields none.
inline void LoadExecutableIcon(OwnedIcon& holder, const char* path, bool large)
{
    HICON icon = nullptr;
    const UINT got = large ? ExtractIconExA(path, 0, &icon, nullptr, 1) : ExtractIconExA(path, 0, nullptr, &icon, 1);
    if (got == 1 && icon) {
        holder.reset(icon, true);
        return;
    }
    if (icon)
        DestroyIcon(icon);
    holder.reset(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)), false);
}

// An icon of the module at the system's small-icon size (16 px at 96 DPI, 24 at 144), so
// the picture drawn for that size is shown, not a larger one scaled down. Shared: a
// standard size, released with the module.
inline HICON LoadSmallIcon(HINSTANCE module, int id)
{
    return static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                         GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}
