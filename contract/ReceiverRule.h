// Which window the hook library may report keys to, decided from facts that the Win32 edge
// reads (win32/ProgramIdentity.h): the rule, the memory of processes already judged,
// and the name under which the program publishes its main window. Portable and free of any
// runtime, since varokint.dll includes it.
#pragma once
#include <cstdint>

namespace ReceiverRule {

enum class Verdict : std::uint8_t { Ours, NotOurs, Unknown };
// One comparison of a candidate process with the program and the hooked process.
enum class Fact : std::uint8_t { Same, Different, Unknown };

// Integrity levels as the system numbers them (the last part of the level's SID).
constexpr std::uint32_t LowIntegrity = 0x1000;
constexpr std::uint32_t MediumIntegrity = 0x2000;
constexpr std::uint32_t HighIntegrity = 0x3000;

// What the Win32 edge found out about the process behind a candidate window.
struct ReceiverFacts {
    Fact image = Fact::Unknown;    // its program file's path against varokint.exe beside the library
    Fact user = Fact::Unknown;     // its user against the hooked process's
    Fact session = Fact::Unknown;  // its session against the hooked process's
    bool integrityKnown = false;
    std::uint32_t integrity = 0;
};

// The receiver runs varokint.exe from the library's folder, as the same user, in the same
// session, at an integrity level at least the hooked process's own: a program of lower
// integrity could otherwise start the real file, take it over and log the keys of every
// application above it. One fact found different settles it; a fact that could not be read
// leaves the process unknown, to be judged again later.
constexpr Verdict Judge(const ReceiverFacts& facts, std::uint32_t hookedIntegrity)
{
    const Fact compared[] = {facts.image, facts.user, facts.session};
    for (Fact fact : compared) {
        if (fact == Fact::Different)
            return Verdict::NotOurs;
    }
    if (facts.integrityKnown && facts.integrity < hookedIntegrity)
        return Verdict::NotOurs;
    for (Fact fact : compared) {
        if (fact == Fact::Unknown)
            return Verdict::Unknown;
    }
    return facts.integrityKnown ? Verdict::Ours : Verdict::Unknown;
}

// The security of the named object that says where the main window is. Its content is read
// only when it was made by the hooked process's own user at an integrity level not below
// the hooked process's: a lower one could back it with a file that stalls or fails the
// read. What it says is never trusted: the window it names is judged like any other.
struct PublisherFacts {
    // False where the system keeps no owner on objects (Wine): there every process can do
    // anything to every other, and the owner tells nothing.
    bool ownerKept = false;
    bool ownerIsHookedUser = false;  // the hooked process's user, or its token's default owner
    bool labelled = false;           // no label: medium, as the system treats it
    std::uint32_t labelIntegrity = 0;
};

constexpr bool TrustPublisher(const PublisherFacts& facts, std::uint32_t hookedIntegrity)
{
    if (!facts.ownerKept)
        return true;
    const std::uint32_t integrity = facts.labelled ? facts.labelIntegrity : MediumIntegrity;
    return facts.ownerIsHookedUser && integrity >= hookedIntegrity;
}

// How long a verdict stands. An unknown process is looked at again soon, in case what kept
// it unknown has passed. A process found not ours stays so until it ends; the verdict is
// kept by process id alone (confirming the process's creation time would cost opening it
// on every look, the very cost this memory saves), so it lapses after a while, in case the
// id now names another process.
constexpr std::uint32_t UnknownKeptMs = 3000;
constexpr std::uint32_t NotOursKeptMs = 30000;

// The verdicts on the last Capacity processes judged not ours or unknown, oldest replaced
// first. Times are a millisecond tick that may wrap.
template <unsigned Capacity> class VerdictMemory {
public:
    // The standing verdict on that process, or Unknown with false when there is none.
    bool recall(std::uint32_t process, std::uint32_t now, Verdict& verdict) const
    {
        for (const Entry& entry : entries_) {
            if (entry.process != process || process == 0)
                continue;
            const std::uint32_t kept = entry.verdict == Verdict::Unknown ? UnknownKeptMs : NotOursKeptMs;
            if (now - entry.since >= kept)
                return false;
            verdict = entry.verdict;
            return true;
        }
        return false;
    }

    void remember(std::uint32_t process, Verdict verdict, std::uint32_t now)
    {
        Entry* slot = &entries_[next_];
        for (Entry& entry : entries_) {
            if (entry.process == process)
                slot = &entry;
        }
        if (slot == &entries_[next_])
            next_ = (next_ + 1) % Capacity;
        *slot = Entry{process, verdict, now};
    }

private:
    struct Entry {
        std::uint32_t process = 0;
        Verdict verdict = Verdict::Unknown;
        std::uint32_t since = 0;
    };
    Entry entries_[Capacity] = {};
    unsigned next_ = 0;
};

// The name of the object in which the program publishes its main window, derived from the
// program file's path (letter case of ASCII folded): "Local\Varokinto." and 16 hex digits.
constexpr char PublicationPrefix[] = "Local\\Varokinto.";
constexpr unsigned PublicationNameLength = sizeof PublicationPrefix - 1 + 16;

inline void PublicationName(const wchar_t* path, unsigned length, wchar_t (&name)[PublicationNameLength + 1])
{
    std::uint64_t hash = 0xcbf29ce484222325u;  // FNV-1a
    for (unsigned i = 0; i < length; ++i) {
        std::uint32_t unit = static_cast<std::uint32_t>(path[i]) & 0xFFFF;
        if (unit >= 'a' && unit <= 'z')
            unit -= 'a' - 'A';
        for (int byte = 0; byte < 2; ++byte) {
            hash = (hash ^ ((unit >> (8 * byte)) & 0xFF)) * 0x100000001b3u;
        }
    }
    unsigned at = 0;
    for (const char* prefix = PublicationPrefix; *prefix != '\0'; ++prefix)
        name[at++] = static_cast<wchar_t>(*prefix);
    for (int shift = 60; shift >= 0; shift -= 4)
        name[at++] = static_cast<wchar_t>("0123456789abcdef"[(hash >> shift) & 0xF]);
    name[at] = L'\0';
}

}  // namespace ReceiverRule
