// vr_load_bench [APPS]: time ShortcutTable::load takes for a keycfg.ini of APPS applications
// (default 100,000) of 5 actions each, written in a scratch folder. Prints one line:
// "load N apps: T ms".
#include "tests/model/ModelTestSupport.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

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
    WriteBytes("keycfg.ini", text);
    FakeModelSystem system;
    ShortcutTable table(system);
    const auto start = std::chrono::steady_clock::now();
    const bool loaded = table.load();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    if (!loaded || table.count() != apps) {
        std::printf("load %d apps: failed (%d entries)\n", apps, table.count());
        return 1;
    }
    std::printf("load %d apps: %lld ms\n", apps, static_cast<long long>(ms));
    return 0;
}
