// Who the hook library reports to, decided from facts: the cases Wine cannot produce (another
// user, another session, a lower integrity level, a section made by a sandboxed process).
#include "contract/ReceiverRule.h"

#include <gtest/gtest.h>

#include <string>

using namespace ReceiverRule;

namespace {

constexpr Fact S = Fact::Same, D = Fact::Different, U = Fact::Unknown;

TEST(ReceiverRuleTest, ReceiverIsTheProgramOfTheSameUserAndSessionAtTheSameOrAHigherLevel)
{
    struct Row {
        const char* what;
        ReceiverFacts facts;
        Verdict verdict;
    };
    const Row rows[] = {
        {"the program, same level", {S, S, S, true, MediumIntegrity}, Verdict::Ours},
        {"the program, elevated", {S, S, S, true, HighIntegrity}, Verdict::Ours},
        {"started low by a sandboxed program", {S, S, S, true, LowIntegrity}, Verdict::NotOurs},
        {"another user's copy", {S, D, S, true, MediumIntegrity}, Verdict::NotOurs},
        {"a copy in another session", {S, S, D, true, MediumIntegrity}, Verdict::NotOurs},
        {"another program", {D, U, U, false, 0}, Verdict::NotOurs},
        {"a process that cannot be opened", {U, U, U, false, 0}, Verdict::Unknown},
        {"the program, token unreadable", {S, U, U, false, 0}, Verdict::Unknown},
        {"lower level, image unreadable", {U, U, U, true, LowIntegrity}, Verdict::NotOurs},
    };
    for (const Row& row : rows) EXPECT_EQ(Judge(row.facts, MediumIntegrity), row.verdict) << row.what;
}

TEST(ReceiverRuleTest, PublishedSectionIsReadOnlyFromTheSameUserAtANotLowerLevel)
{
    struct Row {
        const char* what;
        PublisherFacts facts;
        std::uint32_t hooked;
        bool trusted;
    };
    const Row rows[] = {
        {"the user's program, unlabelled", {true, true, false, 0}, MediumIntegrity, true},
        {"a sandboxed squatter", {true, true, true, LowIntegrity}, MediumIntegrity, false},
        {"another user's", {true, false, false, 0}, MediumIntegrity, false},
        {"unlabelled, read by an elevated application", {true, true, false, 0}, HighIntegrity, false},
        {"labelled high, read by an elevated application", {true, true, true, HighIntegrity}, HighIntegrity, true},
        {"no owner kept by the system", {false, false, false, 0}, HighIntegrity, true},
    };
    for (const Row& row : rows) EXPECT_EQ(TrustPublisher(row.facts, row.hooked), row.trusted) << row.what;
}

TEST(ReceiverRuleTest, VerdictsStandPerProcess_UnknownOnlyBriefly)
{
    VerdictMemory<2> memory;
    Verdict verdict = Verdict::Ours;
    memory.remember(10, Verdict::NotOurs, 1000);
    memory.remember(20, Verdict::Unknown, 1000);
    EXPECT_TRUE(memory.recall(10, 1000 + NotOursKeptMs - 1, verdict));
    EXPECT_EQ(verdict, Verdict::NotOurs);
    EXPECT_TRUE(memory.recall(20, 1000 + UnknownKeptMs - 1, verdict));
    EXPECT_EQ(verdict, Verdict::Unknown);
    EXPECT_FALSE(memory.recall(20, 1000 + UnknownKeptMs, verdict));  // judged again
    EXPECT_FALSE(memory.recall(10, 1000 + NotOursKeptMs, verdict));  // the id may name another process now
    EXPECT_FALSE(memory.recall(30, 1000, verdict));

    memory.remember(20, Verdict::NotOurs, 0xFFFFFF00u);  // replaces its own entry, across the tick's wrap
    EXPECT_TRUE(memory.recall(20, 0x100u, verdict));
    EXPECT_EQ(verdict, Verdict::NotOurs);
    memory.remember(30, Verdict::NotOurs, 0x100u);  // full: the oldest goes
    EXPECT_FALSE(memory.recall(10, 0x100u, verdict));
    EXPECT_TRUE(memory.recall(20, 0x100u, verdict));
}

TEST(ReceiverRuleTest, PublicationName_DerivesFromThePathIgnoringAsciiCase)
{
    const auto name = [](const std::wstring& path) {
        wchar_t text[PublicationNameLength + 1];
        PublicationName(path.c_str(), static_cast<unsigned>(path.size()), text);
        return std::wstring(text);
    };
    const std::wstring path = L"\\Device\\HarddiskVolume3\\Tools\\varokint.exe";
    EXPECT_EQ(name(path).substr(0, 16), L"Local\\Varokinto.");
    EXPECT_EQ(name(path).size(), PublicationNameLength);
    EXPECT_EQ(name(path), name(L"\\DEVICE\\HARDDISKVOLUME3\\TOOLS\\VAROKINT.EXE"));
    EXPECT_NE(name(path), name(L"\\Device\\HarddiskVolume3\\Tools2\\varokint.exe"));
}

}  // namespace
