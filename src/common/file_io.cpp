#include "common/file_io.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "common/text.h"

#ifdef _WIN32
#include <io.h>  // _commit: C runtime, not the platform API
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace korvel {
namespace fs = std::filesystem;

namespace {

std::FILE* openFile(const fs::path& p, bool write) {
#ifdef _WIN32
    return _wfopen(p.c_str(), write ? L"wb" : L"rb");
#else
    return std::fopen(p.c_str(), write ? "wb" : "rb");
#endif
}

bool flushToDisk(std::FILE* f) {
    if (std::fflush(f) != 0) return false;
#ifdef _WIN32
    return _commit(_fileno(f)) == 0;
#else
    return fsync(fileno(f)) == 0;
#endif
}

void syncFolder([[maybe_unused]] const fs::path& folder) {
#ifndef _WIN32
    // Make the rename itself durable.
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

}  // namespace

std::optional<std::string> readWholeFile(std::u16string_view path) {
    std::FILE* f = openFile(toPath(path), false);
    if (!f) return std::nullopt;
    std::string bytes;
    char buf[16384];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return std::nullopt;
    return bytes;
}

bool fileExists(std::u16string_view path) {
    std::error_code ec;
    return fs::is_regular_file(toPath(path), ec);
}

bool replaceFileAtomically(std::u16string_view path, std::string_view bytes) {
    static std::atomic<unsigned> counter{0};
    const fs::path target = toPath(path);
    fs::path temp = target;
    temp += ".tmp" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count() % 1000000007) +
            "-" + std::to_string(counter.fetch_add(1));

    std::FILE* f = openFile(temp, true);
    if (!f) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool flushed = written && flushToDisk(f);
    const bool closed = std::fclose(f) == 0;
    std::error_code ec;
    if (!(written && flushed && closed)) {
        fs::remove(temp, ec);
        return false;
    }
    // Another program (a virus scanner, an editor) may hold the file for a
    // moment on Windows; try a few times before giving up.
    for (int attempt = 0; attempt < 20; ++attempt) {
        fs::rename(temp, target, ec);
        if (!ec) {
            syncFolder(target.parent_path());
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    fs::remove(temp, ec);
    return false;
}

}  // namespace korvel
