#pragma once
// Small helpers shared by the macro tests.
#include <atomic>
#include <filesystem>
#include <random>
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

// A fresh folder per test, removed afterwards; paths are built the program's
// way (folder + "\\name").
class TempFolder {
public:
    TempFolder() {
        static std::atomic<int> counter{0};
        std::random_device random;
        dir_ = std::filesystem::temp_directory_path() /
               ("korvel_macro_" + std::to_string(random()) + "_" + std::to_string(counter++));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::u16string path(const std::u16string& name) const { return fromPath(dir_) + u"\\" + name; }
    const std::filesystem::path& dir() const { return dir_; }

private:
    std::filesystem::path dir_;
};

}  // namespace korvel::test
