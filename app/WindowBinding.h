// The window procedure of an object that owns a plain window: the object handed to
// CreateWindowExA arrives with WM_NCCREATE and is kept in GWLP_USERDATA until WM_NCDESTROY,
// its field Window follows the handle, and every message in between goes to HandleMessage.
// Owners declare it a friend.
#pragma once
#include <windows.h>

template <class Owner, HWND Owner::*Window>
LRESULT CALLBACK BoundWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
        owner->*Window = window;
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (owner == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        owner->*Window = nullptr;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return owner->HandleMessage(message, wParam, lParam);
}
