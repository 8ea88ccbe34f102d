// varokint.dll: the system-wide hooks of Varokinto. Runs inside every hooked process and
// reports each key event to the program's main window, which answers 1 for a key it has
// acted on; that key is swallowed here. Exported undecorated through varokint.def.
//
// Since it runs in every process and sees every key, it is written like a driver: no C or
// C++ runtime (its own entry point, imports from kernel32, user32 and advapi32 only), no
// exceptions, no heap, no static constructors, no thread-local variables, nothing trusted
// that another process could have written, and no file of another program opened.
//
// Who gets the reports. A window's class and title are no proof: any program can make a
// window "VRClass"/"Varokinto". A report goes only to such a window whose process runs
// varokint.exe from this library's own folder, as the same user, in the same session, at
// an integrity level at least this process's own (win32/ProgramIdentity.h, the one
// place that decides it, for the start-up too). The program's path and this process's
// facts are worked out once, at the first key; a candidate's are read from the system's
// records of it (its image name and its token), so a program that stalls its file system
// stalls nobody's keys.
//
// Finding the window. Varokinto publishes its main window in a named section whose name
// derives from its program's path; the window it names is judged like any other, so a lie
// or a squatter only costs the search below. The search walks the windows of the class and
// title in z-order, a few milliseconds and a few process checks per key at most, going on
// at the next key where it stopped; verdicts are kept per process, so a thousand windows
// of one process cost one check. Once found, the window is kept, and each key only
// confirms that it still belongs to that process (a window handle is never reused while
// its window exists, and its process id is the process's until it ends).
//
// What other programs can still do:
// - At the same integrity level (the same user): everything that user can do to Varokinto
//   itself (end it, debug it, inject into it, start varokint.exe and take it over, send it
//   made-up key reports, set hooks of its own), and replace the program's files where the
//   folder lets it. A window of its own gets no key report; windows in any number cost a
//   typing application at most the search's bound per key until Varokinto is found, and
//   nothing once it is. It can write a wrong window into the published section (it can
//   open it): that costs the search.
// - At a lower integrity level (a sandboxed process, a downloaded program run low): no
//   report to its windows, and none to a varokint.exe it started and took over either,
//   since a receiver must be at least the typing application's level; it can still get
//   reports of applications at its own level or lower, which it could log itself anyway.
//   A section it made first under the published name is not read (its owner or label
//   says where it comes from); Varokinto then goes without publishing and is found by the
//   search. Windows keeps it from sending to Varokinto or opening it.
// - At a higher integrity level (an administrator's elevated program): everything; that
//   is outside what a program of the user's can defend against. Its applications report
//   only to a Varokinto at its level, so an elevated program is remapped only by a
//   Varokinto started elevated.
// - Varokinto's own main window that stops answering costs a typing application one wait
//   of ReportTimeoutMs: after that, this process reports nothing for QuietAfterTimeoutMs.
#include "contract/HookContract.h"
#include "win32/ProgramIdentity.h"

#include <windows.h>

namespace {

// Longer than any playback takes, short enough that a hung main window costs the typing
// application no more than a stutter.
constexpr UINT ReportTimeoutMs = 1000;
// After a report that got no answer in time, the keys of this process pass without one for
// this long: a hung or slow main window costs one stall, not one per key.
constexpr DWORD QuietAfterTimeoutMs = 2000;
// What one key may spend looking for Varokinto's window while it is not yet found.
constexpr ReceiverSearch::Budget SearchPerKey = {4, 8};
constexpr LRESULT KeyConsumed = HookContract::KeyConsumed;

HINSTANCE thisLibrary = nullptr;

#ifndef VR_HOOK_TRUSTS_ANY_WINDOW

// A window and the process it belongs to.
struct WindowOwner {
    HWND window;
    DWORD processId;
};

// Worked out at the first key, never under the loader lock; only data.
INIT_ONCE identityOnce = INIT_ONCE_STATIC_INIT;
ProgramIdentity program;
bool programKnown = false;

// What the search found and where it stands, shared by the threads of this process.
SRWLOCK receiverLock = SRWLOCK_INIT;
WindowOwner receiver = {nullptr, 0};
ReceiverSearch search;

#endif

// GetTickCount when a report last timed out, or 0.
volatile LONG quietSince = 0;

// One key event, as the chain hands it from hook to hook.
struct KeyEvent {
    WPARAM vk;
    LPARAM flags;
};
// Under Wine the hooks of a killed copy of the program stay in the chain until the whole
// session ends, and reach our procedure again through CallNextHookEx for the event we have
// just reported. While our procedure passes an event down the chain, this library's own
// thread slot points at that event (on our stack), and a nested call for the same event
// passes it on without reporting it again. The slot is this module's own; a copy of the
// library loaded from another folder reports only to a program from that folder, which
// cannot be running beside ours, so it has nothing to report twice.
DWORD passingSlot = TLS_OUT_OF_INDEXES;

#ifndef VR_HOOK_TRUSTS_ANY_WINDOW

DWORD ProcessOf(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

BOOL CALLBACK IdentifyOnce(INIT_ONCE*, void*, void**)
{
    programKnown = IdentifyProgram(thisLibrary, program) == IdentityStatus::Known;
    return TRUE;
}

// The checked main window of Varokinto, or null.
HWND FindReceiver()
{
    AcquireSRWLockShared(&receiverLock);
    const WindowOwner known = receiver;
    ReleaseSRWLockShared(&receiverLock);
    if (known.window != nullptr && ProcessOf(known.window) == known.processId)
        return known.window;

    InitOnceExecuteOnce(&identityOnce, IdentifyOnce, nullptr, nullptr);
    if (!programKnown)
        return nullptr;
    AcquireSRWLockExclusive(&receiverLock);
    // Another thread of this process may have found it meanwhile.
    if (receiver.window == nullptr || ProcessOf(receiver.window) != receiver.processId) {
        DWORD processId = 0;
        const HWND found = search.find(program, SearchPerKey, processId);
        receiver = {found, processId};
    }
    const HWND found = receiver.window;
    ReleaseSRWLockExclusive(&receiverLock);
    return found;
}

#else

// Only for measuring what the checks above cost: trusts the first window it finds.
HWND FindReceiver()
{
    return FindWindowA(HookContract::MainWindowClass, HookContract::MainWindowTitle);
}

#endif

bool Quiet()
{
    const DWORD since = static_cast<DWORD>(quietSince);
    return since != 0 && GetTickCount() - since < QuietAfterTimeoutMs;
}

bool MainWindowConsumes(WPARAM vk, LPARAM keyFlags)
{
    if (Quiet())
        return false;
    const HWND mainWindow = FindReceiver();
    if (mainWindow == nullptr)
        return false;
    DWORD flags = static_cast<DWORD>(keyFlags);
    COPYDATASTRUCT report;
    report.dwData = vk;
    report.cbData = sizeof flags;
    report.lpData = &flags;
    DWORD_PTR reply = 0;
    // Not SMTO_BLOCK: while we wait, this thread must still take messages sent to it,
    // since playback may send to a window of this very thread (the taskbar, for one).
    const LRESULT answered = SendMessageTimeoutA(mainWindow, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&report),
                                                 SMTO_ABORTIFHUNG, ReportTimeoutMs, &reply);
    if (answered == 0 && IsWindow(mainWindow))
        InterlockedExchange(&quietSince, static_cast<LONG>(GetTickCount() | 1));
    return answered != 0 && reply == static_cast<DWORD_PTR>(KeyConsumed);
}

const KeyEvent* PassingEvent()
{
    return passingSlot == TLS_OUT_OF_INDEXES ? nullptr : static_cast<const KeyEvent*>(TlsGetValue(passingSlot));
}

}  // namespace

extern "C" LRESULT CALLBACK VRKeyboardProc(int code, WPARAM wParam, LPARAM lParam)
{
    // HC_NOREMOVE is a peek at a message that stays in the queue; it comes again as HC_ACTION.
    if (code != HC_ACTION)
        return CallNextHookEx(nullptr, code, wParam, lParam);
    // Reached again through the chain for the event we are passing on: reported already.
    // The mark is set only while the event goes down the chain, not while it is being
    // reported, so another key that this thread takes while it waits for the answer is
    // reported as usual.
    const KeyEvent* passing = PassingEvent();
    if (passing != nullptr && passing->vk == wParam && passing->flags == lParam)
        return CallNextHookEx(nullptr, code, wParam, lParam);
    if (MainWindowConsumes(wParam, lParam))
        return KeyConsumed;
    if (passingSlot == TLS_OUT_OF_INDEXES)
        return CallNextHookEx(nullptr, code, wParam, lParam);
    KeyEvent event = {wParam, lParam};
    void* const outer = TlsGetValue(passingSlot);
    TlsSetValue(passingSlot, &event);
    const LRESULT result = CallNextHookEx(nullptr, code, wParam, lParam);
    TlsSetValue(passingSlot, outer);
    return result;
}

extern "C" LRESULT CALLBACK VRMsgProc(int code, WPARAM wParam, LPARAM lParam)
{
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The library's entry point (there is no runtime to call one): takes and gives back the
// thread slot. Nothing else runs under the loader lock.
extern "C" BOOL WINAPI VarokintHookEntry(HINSTANCE instance, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_ATTACH) {
        thisLibrary = instance;
        DisableThreadLibraryCalls(instance);
        passingSlot = TlsAlloc();
    } else if (reason == DLL_PROCESS_DETACH && passingSlot != TLS_OUT_OF_INDEXES) {
        TlsFree(passingSlot);
        passingSlot = TLS_OUT_OF_INDEXES;
    }
    return TRUE;
}
