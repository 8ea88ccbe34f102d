// A fake of the model's system services and a fixture that runs each test in a fresh
// temporary current directory, since both files live in the current directory.
#pragma once
#include "model/ModelSystem.h"
#include "model/ShortcutTable.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

class FakeModelSystem : public ModelSystem {
public:
    struct Message {
        std::string text, caption;
        bool operator==(const Message& o) const { return text == o.text && caption == o.caption; }
    };

    Version reported{2, 5, 0};
    bool versionWorks = true;
    std::string directory = "D:\\WINNT";
    bool failReplace = false;
    std::vector<Message> messages;
    int replaceCalls = 0;

    bool version(Version& out) override
    {
        if (versionWorks)
            out = reported;
        return versionWorks;
    }
    std::string windowsDirectory() override { return directory; }
    void showMessage(const std::string& text, const std::string& caption) override
    {
        messages.push_back({text, caption});
    }
    bool replaceFile(const std::string& from, const std::string& to) override
    {
        ++replaceCalls;
        return !failReplace && std::rename(from.c_str(), to.c_str()) == 0;
    }
};

inline std::string ReadBytes(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& name, const std::string& bytes)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out << bytes;
}

class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        namespace fs = std::filesystem;
        previous_ = fs::current_path();
        std::string pattern = (fs::temp_directory_path() / "vr-model-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        fs::current_path(dir_);
        system_ = FakeModelSystem();
    }
    void TearDown() override
    {
        namespace fs = std::filesystem;
        fs::current_path(previous_);
        std::error_code ignored;
        // Give back write permission first, in case a test made the folder read-only.
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir_, ignored);
    }
    std::filesystem::path dir_;
    std::filesystem::path previous_;
    FakeModelSystem system_;
};

// The table as text, one line per entry and per action, for whole-table assertions:
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
