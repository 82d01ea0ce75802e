#pragma once
// Helpers shared by the unit tests: a scratch folder per test, removed
// afterwards, and a message box that records what it was asked to show.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "common/ports.h"
#include "common/text.h"

namespace korvel::test {

class RecordingMessageBox : public MessageBoxPort {
public:
    void show(std::u16string_view text, std::u16string_view caption) override {
        texts.emplace_back(text);
        captions.emplace_back(caption);
    }
    std::vector<std::u16string> texts;
    std::vector<std::u16string> captions;
};

class TempFolder {
public:
    TempFolder() {
        static std::atomic<int> counter{0};
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "korvel";
        for (auto& c : name)
            if (c == '/' || c == '\\') c = '_';
        // Test runners may run the same test in several processes at once.
        name += "-" + std::to_string(std::random_device{}()) + "-" + std::to_string(counter++);
        root_ = std::filesystem::temp_directory_path() / ("korvel-test-" + name);
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& root() const { return root_; }
    // The folder as the program names folders.
    std::u16string programPath() const { return fromPath(root_); }
    std::filesystem::path path(const std::string& name) const { return root_ / name; }
    // A file in the folder, built the program's way (folder + "\\" + name).
    std::u16string path(const std::u16string& name) const { return programPath() + u"\\" + name; }
    std::u16string file(const std::string& name) const { return fromPath(root_ / name); }

    void write(const std::string& relative, const std::string& bytes) const {
        const auto p = root_ / relative;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
    }
    std::string read(const std::string& relative) const {
        std::ifstream in(root_ / relative, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

private:
    std::filesystem::path root_;
};

}  // namespace korvel::test
