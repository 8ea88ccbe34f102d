// vr_load_bench [APPS]: time and memory ShortcutTable::load takes for a keycfg.ini of APPS
// applications (default 100,000) of 5 actions each, written in a scratch folder; then for a
// file of short application lines at the size limit, which the table's memory budget
// refuses. One line each: "load N apps (S MB file): loaded, T ms, table M MB (X per byte)".
#include "model/TextFile.h"
#include "tests/model/ModelTestSupport.h"

#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

// Loads the text as keycfg.ini; prints the time and what the table holds in memory.
bool Load(const std::string& what, const std::string& text, int expectedApps)
{
    WriteBytes("keycfg.ini", text);
    FakeModelSystem system;
    ShortcutTable table(system);
    const std::size_t before = mallinfo2().uordblks;
    const auto start = std::chrono::steady_clock::now();
    const FileResult result = table.load();
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    const double held = static_cast<double>(mallinfo2().uordblks - before);
    std::printf("%s (%.1f MB file): %s, %lld ms, table %.0f MB (%.1f per file byte)\n", what.c_str(),
                static_cast<double>(text.size()) / 1e6, result ? "loaded" : "refused as too large",
                static_cast<long long>(ms), held / 1e6, held / static_cast<double>(text.size()));
    return expectedApps < 0 ? result.error == FileError::TooLarge : result && table.count() == expectedApps;
}

}  // namespace

int main(int argc, char** argv)
{
    const int apps = argc > 1 ? std::atoi(argv[1]) : 100000;
    ScratchDirectory scratch;
    std::string text;
    for (int app = 0; app < apps; ++app) {
        text += "'C:\\Program Files\\Vendor " + std::to_string(app) + "\\Application.exe\r\nname=app " +
                std::to_string(app) + "\r\n";
        for (int a = 0; a < 5; ++a) {
            const std::string input = std::to_string(0x100 | (0x41 + a));
            text += input + ".send=598,69\r\n" + input + ".name=action\r\n";
        }
        text += "\r\n";
    }
    bool ok = Load("load " + std::to_string(apps) + " apps", text, apps);
    // Application lines of 5 bytes, each another path: the most memory per file byte.
    text.clear();
    const auto full = [&] { return text.size() + 5 > textfile::MaxFileSize; };
    for (int a = 1; a < 256 && !full(); ++a)
        for (int b = 1; b < 256 && !full(); ++b)
            for (int c = 1; c < 256 && !full(); ++c)
                if (a != '\n' && b != '\n' && c != '\n' && c != '\r')
                    text += std::string{'\'', static_cast<char>(a), static_cast<char>(b), static_cast<char>(c), '\n'};
    ok = Load("short application lines", text, -1) && ok;
    return ok ? 0 : 1;
}
