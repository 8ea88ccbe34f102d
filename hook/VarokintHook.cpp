// varokint.dll: the system-wide hooks of Varokinto. Runs inside every hooked process and
// reports each key event to the program's main window, which answers 1 for a key it has
// acted on; that key is swallowed here. Exported undecorated through varokint.def.
#include "engine/HookContract.h"

#include <windows.h>

#include <cstdio>

namespace {

// Longer than any playback takes, short enough that a hung main window costs the typing
// application no more than a stutter.
constexpr UINT ReportTimeoutMs = 1000;
constexpr LRESULT KeyConsumed = HookContract::KeyConsumed;

// One key event, as the chain hands it from hook to hook.
struct KeyEvent {
    WPARAM vk;
    LPARAM flags;
};

// Under Wine the hooks of a killed copy of the program stay in the chain until the whole
// session ends, and each of them reaches our procedure again through CallNextHookEx for
// the event we have just reported. So while our procedure passes an event down the chain
// it marks the event for this thread, and a nested call for the same event passes it on
// without reporting it again. The mark must be seen by every copy of this library in the
// process (a killed copy may have been started from another folder, and then its library
// is a module of its own), so the thread slot that holds it is shared through a named
// mapping per process: the first copy to get there allocates it, the others take it.
class PassingEvents {
public:
    // The event this thread is passing down the chain, or null.
    static const KeyEvent* Current()
    {
        const DWORD slot = Slot();
        return slot == TLS_OUT_OF_INDEXES ? nullptr : static_cast<const KeyEvent*>(TlsGetValue(slot));
    }

    // Marks the event for as long as the holder lives; nests.
    class Mark {
    public:
        explicit Mark(const KeyEvent& event) : slot_(Slot())
        {
            if (slot_ == TLS_OUT_OF_INDEXES) return;
            previous_ = TlsGetValue(slot_);
            TlsSetValue(slot_, const_cast<KeyEvent*>(&event));
        }
        ~Mark()
        {
            if (slot_ != TLS_OUT_OF_INDEXES) TlsSetValue(slot_, previous_);
        }
        Mark(const Mark&) = delete;
        Mark& operator=(const Mark&) = delete;

    private:
        DWORD slot_;
        void* previous_ = nullptr;
    };

private:
    // The shared slot number, plus one so that the zero of a fresh mapping means "none yet".
    static DWORD Slot()
    {
        static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
        static DWORD slot = TLS_OUT_OF_INDEXES;
        InitOnceExecuteOnce(&once, FindSharedSlot, &slot, nullptr);
        return slot;
    }

    static BOOL CALLBACK FindSharedSlot(INIT_ONCE*, void* result, void**)
    {
        char name[64];
        std::snprintf(name, sizeof name, "Local\\VarokintHookSlot.1.%lu", GetCurrentProcessId());
        // Kept open for the life of the process: the slot lives as long as any copy uses it.
        HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG), name);
        auto* shared = mapping != nullptr
                           ? static_cast<volatile LONG*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(LONG)))
                           : nullptr;
        if (shared == nullptr) return TRUE;  // no guard: at worst an event is reported twice
        LONG stored = InterlockedCompareExchange(shared, 0, 0);
        if (stored == 0) {
            const DWORD ours = TlsAlloc();
            if (ours == TLS_OUT_OF_INDEXES) return TRUE;
            stored = InterlockedCompareExchange(shared, static_cast<LONG>(ours) + 1, 0);
            if (stored == 0) {
                stored = static_cast<LONG>(ours) + 1;
            } else {
                TlsFree(ours);  // another copy was quicker
            }
        }
        *static_cast<DWORD*>(result) = static_cast<DWORD>(stored - 1);
        return TRUE;
    }
};

bool MainWindowConsumes(WPARAM vk, LPARAM keyFlags)
{
    const HWND mainWindow = FindWindowA(HookContract::MainWindowClass, HookContract::MainWindowTitle);
    if (mainWindow == nullptr)
        return false;
    DWORD flags = static_cast<DWORD>(keyFlags);
    COPYDATASTRUCT report = {};
    report.dwData = vk;
    report.cbData = sizeof flags;
    report.lpData = &flags;
    DWORD_PTR reply = 0;
    // Not SMTO_BLOCK: while we wait, this thread must still take messages sent to it,
    // since playback may send to a window of this very thread (the taskbar, for one).
    const LRESULT answered = SendMessageTimeoutA(mainWindow, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&report),
                                                 SMTO_ABORTIFHUNG, ReportTimeoutMs, &reply);
    return answered != 0 && reply == static_cast<DWORD_PTR>(KeyConsumed);
}

}  // namespace

extern "C" LRESULT CALLBACK VRKeyboardProc(int code, WPARAM wParam, LPARAM lParam)
{
    // HC_NOREMOVE is a peek at a message that stays in the queue; it comes again as HC_ACTION.
    if (code != HC_ACTION)
        return CallNextHookEx(nullptr, code, wParam, lParam);
    const KeyEvent event = {wParam, lParam};
    // Reached again through the chain for the event we are passing on: reported already.
    // The mark is set only while the event goes down the chain, not while it is being
    // reported, so another key that this thread takes while it waits for the answer is
    // reported as usual.
    if (const KeyEvent* current = PassingEvents::Current(); current != nullptr && current->vk == event.vk &&
                                                     current->flags == event.flags)
        return CallNextHookEx(nullptr, code, wParam, lParam);
    if (MainWindowConsumes(wParam, lParam))
        return KeyConsumed;
    PassingEvents::Mark mark(event);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" LRESULT CALLBACK VRMsgProc(int code, WPARAM wParam, LPARAM lParam)
{
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
