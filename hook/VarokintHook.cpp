// varokint.dll: the system-wide hooks of Varokinto. Runs inside every hooked process and
// reports each key event to the program's main window, which answers 1 for a key it has
// acted on; that key is swallowed here. Exported undecorated through varokint.def.
//
// Since it runs in every process and sees every key, it is written like a driver: no C or
// C++ runtime (its own entry point, imports from kernel32 and user32 only), no exceptions,
// no heap, no static constructors, no thread-local variables, and nothing read that another
// process could have written.
//
// Who gets the reports. A window's class and title are no proof: any program can make a
// window "VRClass"/"Varokinto". A report goes only to such a window whose process runs
// varokint.exe from this library's own folder, compared as files (volume serial number and
// file index), not as spellings, so 8.3 names and SUBST drives do not matter. Every window
// of that class and title is looked at, so one that sits above ours in the z-order or was
// made first hides nothing. The check is made once per window; the answer is kept here as
// data only (window handle and process id, or the same pair as "not ours"), and each later
// key only confirms that the window still belongs to that process. A window handle is
// never reused while its window exists, and its process id is the process's until it ends.
//
// What other programs can still do:
// - At the same integrity level (the same user): everything that user can do to Varokinto
//   itself (end it, debug it, inject into it, send it made-up key reports, set hooks of its
//   own), and replace the program's files where the folder lets it. Through this library it
//   gets no key report: its windows are not Varokinto. Windows it makes cost each hooked
//   process one check each, at most MaxChecksPerKey per key, and are remembered as not ours.
// - At a lower integrity level: less. Windows keeps it from sending to Varokinto or opening
//   it; its windows receive nothing, since they are not Varokinto; a report from the
//   library inside it to Varokinto is refused by Windows and the key passes on.
// - At a higher integrity level (an administrator's elevated program): everything; that
//   is outside what a program of the user's can defend against.
// - Varokinto's own main window that stops answering costs a typing application one wait
//   of ReportTimeoutMs: after that, this process reports nothing for QuietAfterTimeoutMs.
#include "engine/HookContract.h"
#include "engine/win32/FileIdentity.h"

#include <windows.h>

namespace {

// Longer than any playback takes, short enough that a hung main window costs the typing
// application no more than a stutter.
constexpr UINT ReportTimeoutMs = 1000;
// After a report that got no answer in time, the keys of this process pass without one for
// this long: a hung or slow main window costs one stall, not one per key.
constexpr DWORD QuietAfterTimeoutMs = 2000;
// New windows of the class and title checked per key at most; the rest wait for the next.
constexpr int MaxChecksPerKey = 8;
constexpr int RejectedCapacity = 64;
constexpr LRESULT KeyConsumed = HookContract::KeyConsumed;

HINSTANCE thisLibrary = nullptr;

#ifndef VR_HOOK_TRUSTS_ANY_WINDOW

// A window and the process it belongs to.
struct WindowOwner {
    HWND window;
    DWORD processId;
};

// What the checks found, shared by the threads of this process; only data.
SRWLOCK receiverLock = SRWLOCK_INIT;
WindowOwner receiver = {nullptr, 0};
WindowOwner rejected[RejectedCapacity] = {};
int nextRejected = 0;

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

bool OwnerIs(const WindowOwner& owner, HWND window, DWORD processId)
{
    return owner.window == window && owner.processId == processId;
}

DWORD ProcessOf(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

constexpr DWORD PathRoom = 1024;

// varokint.exe in the folder this library was loaded from.
bool IdentifyProgram(FileIdentity& identity)
{
    wchar_t path[PathRoom];
    const DWORD length = GetModuleFileNameW(thisLibrary, path, PathRoom);
    if (length == 0 || length >= PathRoom) return false;
    DWORD folderEnd = length;
    while (folderEnd > 0 && path[folderEnd - 1] != L'\\' && path[folderEnd - 1] != L'/') --folderEnd;
    const char* name = HookContract::ProgramFileName;
    while (*name != '\0' && folderEnd < PathRoom - 1) path[folderEnd++] = static_cast<wchar_t>(*name++);
    if (*name != '\0') return false;
    path[folderEnd] = L'\0';
    return IdentifyFile(path, identity);
}

enum class Verdict { Ours, NotOurs, Unknown };

// Unknown when the process or its file cannot be looked at (yet): not remembered, so a
// passing failure does not cut this process off from Varokinto for good.
Verdict ProcessRuns(DWORD processId, const FileIdentity& program)
{
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr) return Verdict::Unknown;
    wchar_t path[PathRoom];
    DWORD length = PathRoom;
    const BOOL named = QueryFullProcessImageNameW(process, 0, path, &length);
    CloseHandle(process);
    FileIdentity image;
    if (!named || !IdentifyFile(path, image)) return Verdict::Unknown;
    return SameFile(image, program) ? Verdict::Ours : Verdict::NotOurs;
}

// The checked main window of Varokinto, or null.
HWND FindReceiver()
{
    AcquireSRWLockShared(&receiverLock);
    const WindowOwner known = receiver;
    ReleaseSRWLockShared(&receiverLock);
    if (known.window != nullptr && ProcessOf(known.window) == known.processId) return known.window;

    FileIdentity program;
    bool programKnown = false;
    int checks = 0;
    HWND candidate = nullptr;
    while (checks < MaxChecksPerKey &&
           (candidate = FindWindowExA(nullptr, candidate, HookContract::MainWindowClass,
                                      HookContract::MainWindowTitle)) != nullptr) {
        const DWORD processId = ProcessOf(candidate);
        if (processId == 0) continue;
        bool refused = false;
        AcquireSRWLockShared(&receiverLock);
        for (const WindowOwner& owner : rejected) refused = refused || OwnerIs(owner, candidate, processId);
        ReleaseSRWLockShared(&receiverLock);
        if (refused) continue;

        ++checks;
        if (!programKnown && !(programKnown = IdentifyProgram(program))) return nullptr;
        const Verdict verdict = ProcessRuns(processId, program);
        if (verdict == Verdict::Unknown) continue;
        AcquireSRWLockExclusive(&receiverLock);
        if (verdict == Verdict::Ours) {
            receiver = {candidate, processId};
        } else {
            rejected[nextRejected] = {candidate, processId};
            nextRejected = (nextRejected + 1) % RejectedCapacity;
        }
        ReleaseSRWLockExclusive(&receiverLock);
        if (verdict == Verdict::Ours) return candidate;
    }
    return nullptr;
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
    if (Quiet()) return false;
    const HWND mainWindow = FindReceiver();
    if (mainWindow == nullptr) return false;
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
    if (answered == 0 && IsWindow(mainWindow)) InterlockedExchange(&quietSince, static_cast<LONG>(GetTickCount() | 1));
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
    if (code != HC_ACTION) return CallNextHookEx(nullptr, code, wParam, lParam);
    // Reached again through the chain for the event we are passing on: reported already.
    // The mark is set only while the event goes down the chain, not while it is being
    // reported, so another key that this thread takes while it waits for the answer is
    // reported as usual.
    const KeyEvent* passing = PassingEvent();
    if (passing != nullptr && passing->vk == wParam && passing->flags == lParam)
        return CallNextHookEx(nullptr, code, wParam, lParam);
    if (MainWindowConsumes(wParam, lParam)) return KeyConsumed;
    if (passingSlot == TLS_OUT_OF_INDEXES) return CallNextHookEx(nullptr, code, wParam, lParam);
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
