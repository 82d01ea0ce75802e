// korvel-iniprobe: runs a script of private-profile operations through the
// system's own GetPrivateProfileStringW / WritePrivateProfileStringW and
// prints what each one did, so that a test on the build machine can compare
// our INI engine with them. Under Wine these are Wine's kernel32 functions.
//
//   korvel-iniprobe.exe <script> <output>
//
// The script is ASCII, one operation per line; the output has exactly one line
// per script line, starting with the same word. File names are plain names
// ([A-Za-z0-9_.-]) of files in the script's folder. Texts are written as hex
// of their UTF-16 code units, four digits each; byte strings as hex of the
// bytes, two digits each; "." stands for an empty text or byte string.
//
//   CASE <id>                    -> CASE <id>
//   PUT  <file> <bytes>          -> PUT 1|0          (create or overwrite the file)
//   DEL  <file>                  -> DEL 1|0          (1: the file is gone now)
//   SET  <file> <sec> <key> <value>
//                                -> SET <BOOL returned>
//   GET  <file> <sec> <key> <capacity>
//                                -> GET <count returned> <text> <overrun 0|1>
//        text is the buffer up to its first NUL (within capacity); overrun is
//        1 when a character past the capacity was touched.
//   DUMP <file>                  -> DUMP <bytes> | DUMP missing
//   VIEW <file>                  -> VIEW <sec>/<key>:<value>,<key>:<value> <sec>/...
//        every section the system lists, with the keys it lists for that
//        section name and the value it reads for each.
// A line it cannot understand gives "ERR <what>" and the probe goes on.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::wstring folder;  // of the script, with a trailing backslash
FILE* out = nullptr;

bool readWholeFile(const std::wstring& path, std::string& bytes, DWORD* error) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        if (error) *error = GetLastError();
        return false;
    }
    bytes.clear();
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(h, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(h);
    return true;
}

bool writeWholeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    bool ok = bytes.empty() || (WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) &&
                                put == bytes.size());
    CloseHandle(h);
    return ok;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool decodeBytes(const std::string& hex, std::string& bytes) {
    bytes.clear();
    if (hex == ".") return true;
    if (hex.size() % 2) return false;
    for (size_t i = 0; i < hex.size(); i += 2) {
        int hi = hexDigit(hex[i]), lo = hexDigit(hex[i + 1]);
        if (hi < 0 || lo < 0) return false;
        bytes.push_back(static_cast<char>(hi * 16 + lo));
    }
    return true;
}

bool decodeText(const std::string& hex, std::wstring& text) {
    text.clear();
    if (hex == ".") return true;
    if (hex.size() % 4) return false;
    for (size_t i = 0; i < hex.size(); i += 4) {
        unsigned v = 0;
        for (size_t j = 0; j < 4; ++j) {
            int d = hexDigit(hex[i + j]);
            if (d < 0) return false;
            v = v * 16 + static_cast<unsigned>(d);
        }
        text.push_back(static_cast<wchar_t>(v));
    }
    return true;
}

std::string encodeBytes(const std::string& bytes) {
    if (bytes.empty()) return ".";
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char b : bytes) {
        hex.push_back(digits[b >> 4]);
        hex.push_back(digits[b & 15]);
    }
    return hex;
}

std::string encodeText(const wchar_t* text, size_t length) {
    if (length == 0) return ".";
    std::string hex;
    char unit[8];
    for (size_t i = 0; i < length; ++i) {
        std::snprintf(unit, sizeof unit, "%04x", static_cast<unsigned>(static_cast<unsigned short>(text[i])));
        hex += unit;
    }
    return hex;
}

std::string encodeText(const std::wstring& text) { return encodeText(text.data(), text.size()); }

bool validName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (char c : name)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.' ||
              c == '-'))
            return false;
    return true;
}

std::wstring pathOf(const std::string& name) { return folder + std::wstring(name.begin(), name.end()); }

std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ') ++i;
        size_t start = i;
        while (i < line.size() && line[i] != ' ') ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

// A NUL-separated list as the profile functions return it (ends at an empty item).
std::vector<std::wstring> listOf(const std::vector<wchar_t>& buffer, DWORD count) {
    std::vector<std::wstring> items;
    size_t i = 0;
    while (i < count && buffer[i] != 0) {
        std::wstring item(&buffer[i]);
        i += item.size() + 1;
        items.push_back(item);
    }
    return items;
}

std::string view(const std::wstring& path) {
    const DWORD size = 1 << 16;
    std::vector<wchar_t> names(size, 0), keys(size, 0), value(size, 0);
    DWORD n = GetPrivateProfileSectionNamesW(names.data(), size, path.c_str());
    std::string line = "VIEW";
    for (const std::wstring& section : listOf(names, n)) {
        line += ' ';
        line += encodeText(section);
        line += '/';
        std::fill(keys.begin(), keys.end(), 0);
        DWORD k = GetPrivateProfileStringW(section.c_str(), nullptr, L"", keys.data(), size, path.c_str());
        bool first = true;
        for (const std::wstring& key : listOf(keys, k)) {
            if (!first) line += ',';
            first = false;
            DWORD v = GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", value.data(), size, path.c_str());
            line += encodeText(key);
            line += ':';
            line += encodeText(value.data(), v);
        }
    }
    return line;
}

std::string run(const std::vector<std::string>& w) {
    if (w.empty()) return "ERR empty line";
    const std::string& op = w[0];
    if (op == "CASE" && w.size() == 2) return "CASE " + w[1];
    if (w.size() < 2 || !validName(w[1])) return "ERR bad file name";
    const std::wstring path = pathOf(w[1]);

    if (op == "PUT" && w.size() == 3) {
        std::string bytes;
        if (!decodeBytes(w[2], bytes)) return "ERR bad bytes";
        return writeWholeFile(path, bytes) ? "PUT 1" : "PUT 0";
    }
    if (op == "DEL" && w.size() == 2) {
        DeleteFileW(path.c_str());
        return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES ? "DEL 1" : "DEL 0";
    }
    if (op == "SET" && w.size() == 5) {
        std::wstring section, key, value;
        if (!decodeText(w[2], section) || !decodeText(w[3], key) || !decodeText(w[4], value)) return "ERR bad text";
        BOOL ok = WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path.c_str());
        return ok ? "SET 1" : "SET 0";
    }
    if (op == "GET" && w.size() == 5) {
        std::wstring section, key;
        if (!decodeText(w[2], section) || !decodeText(w[3], key)) return "ERR bad text";
        char* end = nullptr;
        unsigned long capacity = std::strtoul(w[4].c_str(), &end, 10);
        if (!end || *end || capacity > (1u << 20)) return "ERR bad capacity";
        // Guard characters past the capacity show any write beyond it.
        const size_t guard = 16;
        std::vector<wchar_t> buffer(capacity + guard, static_cast<wchar_t>(0xFFFF));
        DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buffer.data(),
                                           static_cast<DWORD>(capacity), path.c_str());
        size_t length = 0;
        while (length < capacity && buffer[length] != 0) ++length;
        bool overrun = false;
        for (size_t i = capacity; i < buffer.size(); ++i) overrun |= buffer[i] != static_cast<wchar_t>(0xFFFF);
        return "GET " + std::to_string(n) + " " + encodeText(buffer.data(), length) + (overrun ? " 1" : " 0");
    }
    if (op == "DUMP" && w.size() == 2) {
        std::string bytes;
        DWORD error = 0;
        if (!readWholeFile(path, bytes, &error))
            return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? "DUMP missing" : "ERR unreadable";
        return "DUMP " + encodeBytes(bytes);
    }
    if (op == "VIEW" && w.size() == 2) return view(path);
    return "ERR unknown operation";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: korvel-iniprobe <script> <output>\n");
        return 2;
    }
    std::wstring script = argv[1];
    size_t slash = script.find_last_of(L"\\/");
    folder = slash == std::wstring::npos ? std::wstring() : script.substr(0, slash + 1);

    std::string text;
    if (!readWholeFile(script, text, nullptr)) {
        std::fprintf(stderr, "korvel-iniprobe: cannot read the script\n");
        return 2;
    }
    out = _wfopen(argv[2], L"wb");
    if (!out) {
        std::fprintf(stderr, "korvel-iniprobe: cannot create the output\n");
        return 2;
    }
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        start = end + 1;
        std::string result = run(split(line));
        std::fputs(result.c_str(), out);
        std::fputc('\n', out);
    }
    // The last line tells the reader that the whole script ran.
    std::fputs("END\n", out);
    std::fclose(out);
    return 0;
}
