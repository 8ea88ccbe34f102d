// When the start-up tells the user of a system on which the program cannot do all it should.
#include "app/StartupNotices.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t Low = 0x1000, Medium = 0x2000, High = 0x3000, System = 0x4000;

TEST(StartupNotices, AdministratorOnlyAboveTheShellsLevel)
{
    const struct {
        std::optional<std::uint32_t> ours, shell;
        bool notice;
    } cases[] = {
        {Medium, Medium, false},        // a normal start
        {High, Medium, true},           // run as administrator
        {System, Medium, true},
        {System, High, true},
        {High, High, false},            // UAC off, or Wine: the shell is as high
        {Medium, High, false},
        {Low, Medium, false},
        {High, std::nullopt, false},    // no taskbar (yet), or its process cannot be read
        {std::nullopt, Medium, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NeedsAdministratorNotice(c.ours, c.shell), c.notice)
            << (c.ours ? *c.ours : 0) << " " << (c.shell ? *c.shell : 0);
}

TEST(StartupNotices, CodePageOnlyOtherThanJapanese)
{
    EXPECT_FALSE(NeedsCodePageNotice(932));
    for (unsigned codePage : {1252u, 936u, 949u, 950u, 65001u, 437u})
        EXPECT_TRUE(NeedsCodePageNotice(codePage)) << codePage;
}

}  // namespace
