#pragma once
// Small helpers shared by the skin tests: a temporary skin folder and a
// message box that records what it was asked to show.
#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

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
        path_ = std::filesystem::temp_directory_path() /
                ("korvel_ui_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    std::u16string programPath() const { return fromPath(path_); }
    void write(const std::string& relative, const std::string& content) const {
        const auto p = path_ / relative;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << content;
    }

private:
    std::filesystem::path path_;
};

}  // namespace korvel::test
