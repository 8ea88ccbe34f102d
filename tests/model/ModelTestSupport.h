// What the model's tests and the file fuzzers share: a scratch current directory (both
// files live in the current directory), raw file bytes, and a table written out as text.
#pragma once
#include "model/ShortcutTable.h"
#include "tests/engine/FakeModelSystem.h"
#include "tests/support/TestKeys.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

// A fresh temporary folder is the current directory while this lives; in memory where
// the system offers it, as the fuzzers write the files tens of thousands of times.
class ScratchDirectory {
public:
    ScratchDirectory() : previous_(std::filesystem::current_path())
    {
        const std::filesystem::path base =
            access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::filesystem::temp_directory_path();
        std::string pattern = (base / "vr-model-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("no scratch directory");
        dir_ = pattern;
        std::filesystem::current_path(dir_);
    }
    ~ScratchDirectory()
    {
        namespace fs = std::filesystem;
        std::error_code ignored;
        fs::current_path(previous_, ignored);
        fs::remove_all(dir_, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

private:
    std::filesystem::path previous_, dir_;
};

inline std::string ReadBytes(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& name, const std::string& bytes)
{
    std::ofstream(name, std::ios::binary | std::ios::trunc) << bytes;
}

// One line per entry and per action, for whole-table comparisons:
// "'path|name" then "  input:name=out,out".
inline std::string Describe(const ShortcutTable& table)
{
    std::string text;
    for (int i = 0; i < table.count(); ++i) {
        const AppEntry& entry = *table.at(i);
        text += "'" + entry.path() + "|" + entry.name() + "\n";
        for (int a = 0; a < entry.actionCount(); ++a) {
            const Action& action = entry.actionAt(a);
            text += "  " + std::to_string(action.input().toCode()) + ":" + action.name() + "=";
            for (int k = 0; k < action.outputCount(); ++k)
                text += (k ? "," : "") + std::to_string(action.outputAt(k).toCode());
            text += "\n";
        }
    }
    return text;
}
