#pragma once
// A scratch folder per test, removed afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "common/text.h"

namespace korvel::test {

class TempFolder {
public:
    TempFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "korvel";
        for (auto& c : name)
            if (c == '/' || c == '\\') c = '_';
        path_ = std::filesystem::temp_directory_path() / ("korvel-test-" + name);
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::filesystem::path path(const std::string& name) const { return path_ / name; }
    std::u16string file(const std::string& name) const { return fromPath(path_ / name); }
    const std::filesystem::path& root() const { return path_; }

    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

private:
    std::filesystem::path path_;
};

}  // namespace korvel::test
