// When the start-up tells the user of a system on which the program cannot do all it should.
#include "app/StartupNotices.h"

#include <gtest/gtest.h>

TEST(StartupNotices, AdministratorOnlyAboveTheShellsLevel_CodePageOnlyOtherThanJapanese)
{
    constexpr std::uint32_t Medium = 0x2000, High = 0x3000, System = 0x4000;
    // Ours, the shell's, notice. Equal: UAC off, or Wine. nullopt: no taskbar yet, or unreadable.
    // clang-format off
    const std::tuple<std::optional<std::uint32_t>, std::optional<std::uint32_t>, bool> cases[] = {
        {Medium, Medium, false}, {High, Medium, true}, {System, High, true}, {High, High, false},
        {Medium, High, false},   {High, std::nullopt, false}, {std::nullopt, Medium, false},
    };
    // clang-format on
    for (const auto& [ours, shell, notice] : cases)
        EXPECT_EQ(NeedsAdministratorNotice(ours, shell), notice) << ours.value_or(0) << " " << shell.value_or(0);
    EXPECT_TRUE(!NeedsCodePageNotice(932) && NeedsCodePageNotice(1252) && NeedsCodePageNotice(65001));
}
