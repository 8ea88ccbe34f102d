// What varokint.dll and the program agree on: the window the library reports to, the
// library's load and export names, the reply, and the layout of the keystroke flags word
// that each report carries. Portable: the Win32 side checks these against the platform's
// macros with static_assert (engine/win32/Win32KeySystem.cpp).
#pragma once
#include <cstdint>

namespace HookContract {

constexpr char MainWindowClass[] = "VRClass";
constexpr char MainWindowTitle[] = "Varokinto";
// LoadLibraryA name: no extension, found beside the program.
constexpr char LibraryName[] = "varokint";
// The program the library reports to: this file in the library's own folder.
constexpr char ProgramFileName[] = "varokint.exe";
constexpr char KeyboardProcName[] = "VRKeyboardProc";
constexpr char MessageProcName[] = "VRMsgProc";

constexpr unsigned ReportMessage = 0x004A;  // WM_COPYDATA
constexpr std::intptr_t KeyConsumed = 1;    // the key does not reach the application
constexpr std::intptr_t KeyPassed = 0;

}  // namespace HookContract

// The keystroke flags word of a WH_KEYBOARD call, as the report carries it: repeat count in
// bits 0-15, scan code in 16-23, extended key in 24, previous state in 30, key-up in 31.
class KeyFlags {
public:
    constexpr KeyFlags() = default;
    constexpr explicit KeyFlags(std::uint32_t word) : word_(word) {}

    // A key event as the keyboard produces it: a key-down has a repeat count of 1 and no
    // previous state; a key-up was down before.
    static constexpr KeyFlags Down(std::uint8_t scan, bool extended = false, bool repeated = false)
    {
        return KeyFlags(1u | std::uint32_t{scan} << 16 | (extended ? ExtendedBit : 0u) | (repeated ? PreviousBit : 0u));
    }
    static constexpr KeyFlags Up(std::uint8_t scan, bool extended = false)
    {
        return KeyFlags(1u | std::uint32_t{scan} << 16 | (extended ? ExtendedBit : 0u) | PreviousBit | UpBit);
    }

    constexpr std::uint32_t word() const { return word_; }
    constexpr std::uint16_t repeatCount() const { return static_cast<std::uint16_t>(word_ & 0xFFFF); }
    constexpr std::uint8_t scan() const { return static_cast<std::uint8_t>(word_ >> 16); }
    constexpr bool extended() const { return (word_ & ExtendedBit) != 0; }
    constexpr bool wasDown() const { return (word_ & PreviousBit) != 0; }
    constexpr bool up() const { return (word_ & UpBit) != 0; }

    static constexpr std::uint32_t ExtendedBit = 1u << 24;
    static constexpr std::uint32_t PreviousBit = 1u << 30;
    static constexpr std::uint32_t UpBit = 1u << 31;

private:
    std::uint32_t word_ = 0;
};
