#include "platform/virtual/virtual_mouse.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "device/device_support.h"

namespace korvel {

namespace {

constexpr std::array<std::uint8_t, 9> kHardwareCode{1, 2, 3, 5, 4, 6, 8, 7, 9};
constexpr char16_t kHidClass[] = u"#{4d1e55b2-f16f-11cf-88cb-001111000030}";

std::u16string ascii(const std::string& s) { return std::u16string(s.begin(), s.end()); }

std::string hex(const std::uint8_t* data, std::size_t length) {
    std::string out;
    char b[4];
    for (std::size_t i = 0; i < length; ++i) {
        std::snprintf(b, sizeof b, i ? " %02X" : "%02X", data[i]);
        out += b;
    }
    return out;
}

std::u16string upper(std::u16string s) {
    for (auto& c : s)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    return s;
}

}  // namespace

class VirtualMouse::Set final : public HidInterfaceSet {
public:
    explicit Set(std::vector<std::optional<std::u16string>> paths) : paths_(std::move(paths)) {}
    std::optional<std::u16string> path(int index) override {
        if (index < 0 || index >= static_cast<int>(paths_.size())) return std::nullopt;
        return paths_[index];
    }

private:
    std::vector<std::optional<std::u16string>> paths_;
};

VirtualMouse::VirtualMouse(VirtualMouseOptions options) : options_(std::move(options)) {
    if (options_.clock) {
        clock_ = options_.clock;
    } else {
        ownClock_ = std::make_unique<SteadyClock>();
        clock_ = ownClock_.get();
    }
    int mine = 0, other = 0;
    for (VirtualSlot kind : options_.layout) {
        if (kind == VirtualSlot::Gap) {
            interfaces_.emplace_back(std::nullopt);
            continue;
        }
        Interface i{kind, {}, options_.vendorId, options_.productId, {}, kind != VirtualSlot::OtherDevice};
        char path[160];
        if (kind == VirtualSlot::OtherDevice) {
            i.vendorId = 0x046D;
            i.productId = static_cast<std::uint16_t>(0xC077 + other);
            i.caps = HidCaps{static_cast<std::uint16_t>(other % 2 ? 6 : 2), 1, 8, 0, 0};
            std::snprintf(path, sizeof path, "\\\\?\\hid#vid_046d&pid_%04x#7&%x&0&0000", i.productId, 0x2a1b3c + other);
            ++other;
        } else {
            switch (kind) {
                case VirtualSlot::MouseCollection: i.caps = HidCaps{2, 1, 5, 0, 0}; break;
                case VirtualSlot::KeyboardCollection: i.caps = HidCaps{6, 1, 9, 2, 0}; break;
                case VirtualSlot::EventCollection:
                    i.caps = HidCaps{1, 0xFF00, options_.inputReportLength, 0, 0};
                    break;
                default: i.caps = HidCaps{1, 0xFF01, 0, 0, options_.featureReportLength}; break;
            }
            std::snprintf(path, sizeof path, "\\\\?\\hid#vid_%04x&pid_%04x&mi_%02d#8&3f2e1d0c&0&0000", options_.vendorId,
                          options_.productId, mine);
            ++mine;
        }
        i.path = ascii(path) + kHidClass;
        interfaces_.emplace_back(std::move(i));
    }
}

VirtualMouse::~VirtualMouse() = default;

// ------------------------------------------------------------------ bus

bool VirtualMouse::aliveLocked(const OpenHandle& h) const {
    const Interface& i = *interfaces_[h.iface];
    return !i.mine || (state_.plugged && h.generation == generation_);
}

VirtualMouse::OpenHandle* VirtualMouse::findLocked(HidHandle handle) {
    auto it = handles_.find(handle);
    if (it == handles_.end() || !aliveLocked(it->second)) return nullptr;
    return &it->second;
}

std::unique_ptr<HidInterfaceSet> VirtualMouse::presentInterfaces() {
    std::lock_guard lock(m_);
    std::vector<std::optional<std::u16string>> paths;
    for (const auto& i : interfaces_) {
        if (i && (!i->mine || state_.plugged)) paths.emplace_back(i->path);
        else paths.emplace_back(std::nullopt);
    }
    return std::make_unique<Set>(std::move(paths));
}

HidHandle VirtualMouse::open(std::u16string_view path, HidAccess access) {
    std::lock_guard lock(m_);
    for (int n = 0; n < static_cast<int>(interfaces_.size()); ++n) {
        const auto& i = interfaces_[n];
        if (!i || i->path != path) continue;
        if (i->mine && !state_.plugged) return kInvalidHidHandle;
        if (access != HidAccess::Probe &&
            std::find(options_.failingOpens.begin(), options_.failingOpens.end(), i->kind) != options_.failingOpens.end())
            return kInvalidHidHandle;
        const HidHandle h = nextHandle_++;
        handles_.emplace(h, OpenHandle{n, access, generation_, false, {}});
        return h;
    }
    return kInvalidHidHandle;
}

void VirtualMouse::close(HidHandle handle) {
    std::lock_guard lock(m_);
    handles_.erase(handle);
    changedLocked();
}

bool VirtualMouse::attributes(HidHandle handle, HidAttributes& out) {
    std::lock_guard lock(m_);
    const OpenHandle* h = findLocked(handle);
    if (!h) return false;
    const Interface& i = *interfaces_[h->iface];
    out = HidAttributes{i.vendorId, i.productId, 0x0100};
    return true;
}

bool VirtualMouse::capabilities(HidHandle handle, HidCaps& out) {
    std::lock_guard lock(m_);
    const OpenHandle* h = findLocked(handle);
    if (!h) return false;
    out = interfaces_[h->iface]->caps;
    return true;
}

bool VirtualMouse::setFeature(HidHandle handle, const std::uint8_t* data, std::size_t length) {
    std::lock_guard lock(m_);
    const OpenHandle* h = findLocked(handle);
    if (!h || h->access != HidAccess::Write) return false;
    const Interface& i = *interfaces_[h->iface];
    // The HID stack takes a feature report of exactly the collection's length.
    if (i.kind != VirtualSlot::CommandCollection || length != i.caps.featureReportLength || length == 0 ||
        data[0] != 7) {
        ++state_.featureReportsRejected;
        logLocked(VirtualLogEntry::FeatureRejected, data, length, "rejected");
        changedLocked();
        return false;
    }
    decodeLocked(data, length);
    changedLocked();
    return true;
}

int VirtualMouse::read(HidHandle handle, std::uint8_t* data, std::size_t length) {
    std::unique_lock lock(m_);
    while (true) {
        OpenHandle* h = findLocked(handle);
        if (!h || h->cancelled || h->access != HidAccess::Read) return -1;
        if (!h->queue.empty()) {
            std::vector<std::uint8_t> report = std::move(h->queue.front());
            h->queue.erase(h->queue.begin());
            const std::size_t n = std::min(length, report.size());
            std::copy_n(report.begin(), n, data);
            return static_cast<int>(n);
        }
        changed_.wait(lock);
    }
}

void VirtualMouse::cancelReads(HidHandle handle) {
    std::lock_guard lock(m_);
    auto it = handles_.find(handle);
    if (it != handles_.end()) it->second.cancelled = true;
    changedLocked();
}

void VirtualMouse::registerForNotices() {
    std::lock_guard lock(m_);
    ++state_.noticeRegistrations;
    changedLocked();
}

// ------------------------------------------------------------------ decoding

void VirtualMouse::decodeLocked(const std::uint8_t* data, std::size_t length) {
    auto at = [&](std::size_t i) -> std::uint8_t { return i < length ? data[i] : 0; };
    ++state_.featureReportsAccepted;
    std::string text;
    char b[96];
    switch (at(1)) {
        case 0x09: {
            const int level = at(2) - 0x40;
            const int n = (at(3) & 0x0F) - 8;
            if (level >= 0 && level < 4) state_.currentLevel = static_cast<std::uint8_t>(level);
            if (n >= 0 && n < 4) state_.dpiCode[n] = static_cast<std::uint8_t>(at(3) >> 4);
            state_.enableMask = at(4) & 0x0F;
            std::snprintf(b, sizeof b, "dpi level %d code %d, current %d, mask %X", n, at(3) >> 4, level, at(4));
            text = b;
            break;
        }
        case 0x10: {
            for (int i = 0; i < 9; ++i)
                if (kHardwareCode[i] == at(2)) state_.buttonFunction[i] = at(3);
            std::snprintf(b, sizeof b, "button %d function %d", at(2), at(3));
            text = b;
            break;
        }
        case 0x11:
            state_.wheelStatus = at(2);
            text = "wheel " + std::to_string(at(2));
            break;
        case 0x12:
            state_.fireValue = static_cast<std::uint16_t>(at(2) << 8 | at(3));
            text = "fire value " + std::to_string(state_.fireValue);
            break;
        case 0x13:
            state_.lightingCode = static_cast<std::uint8_t>(at(3) - 0x10);
            text = "lighting " + std::to_string(state_.lightingCode);
            break;
        case 0x15: {
            std::array<std::uint8_t, 6> keys{};
            for (int s = 0; s < 6; ++s) keys[s] = at(2 + s);
            const auto& old = state_.keysHeld;
            bool shift = false;
            for (auto k : keys) shift = shift || k == 225 || k == 229;
            for (auto k : old)
                if (k && std::find(keys.begin(), keys.end(), k) == keys.end()) hostLocked(HostInput::KeyUp, k, "key up");
            for (auto k : keys) {
                if (!k || std::find(old.begin(), old.end(), k) != old.end()) continue;
                hostLocked(HostInput::KeyDown, k, "key down");
                if (k == 42) {
                    if (!typed_.empty()) typed_.pop_back();
                } else {
                    typed_ += keyText(k, shift);
                }
            }
            state_.keysHeld = keys;
            text = "keys " + hex(&keys[0], 6);
            break;
        }
        case 0x16: {
            const std::uint8_t mask = at(3);
            for (int bit = 0; bit < 3; ++bit) {
                const bool wasDown = !(state_.mouseButtonByte & (1 << bit));
                const bool down = !(mask & (1 << bit));
                if (down != wasDown) hostLocked(down ? HostInput::MouseDown : HostInput::MouseUp, static_cast<std::uint16_t>(bit + 1), "mouse button");
            }
            state_.mouseButtonByte = mask;
            text = "mouse buttons " + hex(&mask, 1);
            break;
        }
        case 0x17: {
            const auto usage = static_cast<std::uint16_t>(at(2) << 8 | at(3));
            state_.consumerKeys.push_back(usage);
            hostLocked(HostInput::Consumer, usage, "consumer key");
            text = "consumer " + std::to_string(usage);
            break;
        }
        case 0x20:
            state_.exitReceived = true;
            text = "exit";
            break;
        default: text = "unknown command"; break;
    }
    logLocked(VirtualLogEntry::FeatureIn, data, length, std::move(text));
}

std::u16string VirtualMouse::keyText(std::uint8_t u, bool shift) {
    if (u >= 4 && u <= 29) return std::u16string(1, static_cast<char16_t>((shift ? u'A' : u'a') + (u - 4)));
    static const char16_t digits[] = u"1234567890";
    static const char16_t shifted[] = u"!@#$%^&*()";
    if (u >= 30 && u <= 39) return std::u16string(1, (shift ? shifted : digits)[u - 30]);
    switch (u) {
        case 40: return u"\n";
        case 43: return u"\t";
        case 44: return u" ";
        case 45: return shift ? u"_" : u"-";
        case 46: return shift ? u"+" : u"=";
        case 47: return shift ? u"{" : u"[";
        case 48: return shift ? u"}" : u"]";
        case 49: return shift ? u"|" : u"\\";
        case 51: return shift ? u":" : u";";
        case 52: return shift ? u"\"" : u"'";
        case 53: return shift ? u"~" : u"`";
        case 54: return shift ? u"<" : u",";
        case 55: return shift ? u">" : u".";
        case 56: return shift ? u"?" : u"/";
        default: return u"";
    }
}

void VirtualMouse::hostLocked(HostInput::Kind kind, std::uint16_t code, const std::string& text) {
    const std::int64_t t = clock_->nowMicros();
    host_.push_back(HostInput{t, kind, code});
    log_.push_back(VirtualLogEntry{t, VirtualLogEntry::Host, {}, text + " " + std::to_string(code)});
}

void VirtualMouse::logLocked(VirtualLogEntry::Kind kind, const std::uint8_t* data, std::size_t length, std::string text) {
    log_.push_back(VirtualLogEntry{clock_->nowMicros(), kind, std::vector<std::uint8_t>(data, data + length), std::move(text)});
}

void VirtualMouse::changedLocked() {
    ++changes_;
    changed_.notify_all();
}

// ------------------------------------------------------------------ the hand

void VirtualMouse::pushInputLocked(std::vector<std::uint8_t> bytes, const std::string& text) {
    if (!state_.plugged) return;
    ++state_.inputReportsSent;
    logLocked(VirtualLogEntry::InputOut, bytes.data(), bytes.size(), text);
    for (auto& [handle, h] : handles_) {
        const Interface& i = *interfaces_[h.iface];
        if (i.kind == VirtualSlot::EventCollection && h.access == HidAccess::Read && aliveLocked(h)) h.queue.push_back(bytes);
    }
    changedLocked();
}

std::uint8_t VirtualMouse::stepLevelLocked(int direction, bool wrap) {
    int level = state_.currentLevel;
    for (int step = 1; step <= 4; ++step) {
        int next = level + direction * step;
        if (!wrap && (next < 0 || next > 3)) break;
        next = (next % 4 + 4) % 4;
        if (state_.enableMask & (1 << next)) {
            state_.currentLevel = static_cast<std::uint8_t>(next);
            break;
        }
    }
    return state_.currentLevel;
}

void VirtualMouse::press(int button) {
    if (button < 0 || button > 8) return;
    std::lock_guard lock(m_);
    if (!state_.plugged) return;
    held_[button] = true;
    const std::uint8_t fn = state_.buttonFunction[button];
    const auto code = static_cast<std::uint8_t>(240 + kHardwareCode[button]);
    auto report = [&](std::uint8_t value, const std::string& what) {
        std::vector<std::uint8_t> bytes(options_.inputReportLength, 0);
        if (bytes.size() < 3) bytes.resize(3);
        bytes[0] = 6;
        bytes[1] = code;
        bytes[2] = value;
        pushInputLocked(std::move(bytes), what);
    };
    if (fn >= 1 && fn <= 5) {
        hostLocked(HostInput::MouseDown, fn, "mouse button");
        changedLocked();
    } else if (fn == 6) {
        report(stepLevelLocked(+1, true), "press, dpi cycle");
    } else if (fn == 11) {
        report(stepLevelLocked(+1, false), "press, dpi up");
    } else if (fn == 12) {
        report(stepLevelLocked(-1, false), "press, dpi down");
    } else if (fn == 0 || fn == 10) {
        report(0, "press");
    } else {
        logLocked(VirtualLogEntry::Host, nullptr, 0, "device function " + std::to_string(fn));
        changedLocked();
    }
}

void VirtualMouse::release(int button) {
    if (button < 0 || button > 8) return;
    std::lock_guard lock(m_);
    if (!state_.plugged || !held_[button]) return;
    held_[button] = false;
    const std::uint8_t fn = state_.buttonFunction[button];
    if (fn >= 1 && fn <= 5) {
        hostLocked(HostInput::MouseUp, fn, "mouse button");
        changedLocked();
    } else if (fn == 0 || fn == 6 || fn == 10 || fn == 11 || fn == 12) {
        std::vector<std::uint8_t> bytes(std::max<std::size_t>(options_.inputReportLength, 3), 0);
        bytes[0] = 6;
        bytes[1] = static_cast<std::uint8_t>(240 + kHardwareCode[button]);
        bytes[2] = 0x80;
        pushInputLocked(std::move(bytes), "release");
    }
}

void VirtualMouse::sendEvent(std::uint8_t code, std::uint8_t value) {
    std::vector<std::uint8_t> bytes(std::max<std::size_t>(options_.inputReportLength, 3), 0);
    bytes[0] = 6;
    bytes[1] = code;
    bytes[2] = value;
    std::lock_guard lock(m_);
    pushInputLocked(std::move(bytes), "event");
}

void VirtualMouse::sendInputReport(const std::vector<std::uint8_t>& bytes) {
    std::lock_guard lock(m_);
    pushInputLocked(bytes, "raw report");
}

void VirtualMouse::notify(std::uint32_t eventType) {
    std::function<void(std::uint32_t, const DeviceNotice&)> sink;
    std::vector<std::u16string> names;
    {
        std::lock_guard lock(m_);
        if (state_.noticeRegistrations == 0 || !sink_) return;
        sink = sink_;
        for (const auto& i : interfaces_)
            if (i && i->mine) names.push_back(options_.noticeNamesUpperCase ? upper(i->path) : i->path);
    }
    for (const auto& name : names) sink(eventType, DeviceNotice{kDeviceTypeInterface, name});
}

void VirtualMouse::unplug() {
    {
        std::lock_guard lock(m_);
        if (!state_.plugged) return;
        state_.plugged = false;
        held_.fill(false);
        logLocked(VirtualLogEntry::Plug, nullptr, 0, "unplugged");
        changedLocked();
    }
    notify(kDeviceRemoveComplete);
}

void VirtualMouse::plugIn() {
    {
        std::lock_guard lock(m_);
        if (state_.plugged) return;
        state_.plugged = true;
        ++generation_;
        logLocked(VirtualLogEntry::Plug, nullptr, 0, "plugged in");
        changedLocked();
    }
    notify(kDeviceArrival);
}

void VirtualMouse::setNoticeSink(std::function<void(std::uint32_t, const DeviceNotice&)> sink) {
    std::lock_guard lock(m_);
    sink_ = std::move(sink);
}

// ------------------------------------------------------------------ observation

VirtualMouseState VirtualMouse::state() const {
    std::lock_guard lock(m_);
    return state_;
}

std::vector<VirtualLogEntry> VirtualMouse::log() const {
    std::lock_guard lock(m_);
    return log_;
}

std::vector<VirtualLogEntry> VirtualMouse::featureLog() const {
    std::lock_guard lock(m_);
    std::vector<VirtualLogEntry> out;
    for (const auto& e : log_)
        if (e.kind == VirtualLogEntry::FeatureIn) out.push_back(e);
    return out;
}

std::vector<std::string> VirtualMouse::logLines() const {
    static const char* const kinds[] = {"in", "rejected", "out", "host", "plug"};
    std::vector<std::string> lines;
    for (const auto& e : log()) {
        std::string line = std::to_string(e.micros) + ' ' + kinds[e.kind];
        if (!e.bytes.empty()) line += ' ' + hex(e.bytes.data(), e.bytes.size());
        line += " | " + e.text;
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<HostInput> VirtualMouse::hostInput() const {
    std::lock_guard lock(m_);
    return host_;
}

std::u16string VirtualMouse::typedText() const {
    std::lock_guard lock(m_);
    return typed_;
}

std::u16string VirtualMouse::pathOf(VirtualSlot slot) const {
    for (const auto& i : interfaces_)
        if (i && i->kind == slot) return i->path;
    return {};
}

bool VirtualMouse::waitUntil(const std::function<bool()>& condition, int timeoutMs) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        std::uint64_t seen;
        {
            std::lock_guard lock(m_);
            seen = changes_;
        }
        if (condition()) return true;
        std::unique_lock lock(m_);
        // Things outside the mouse (the link's flags) change without telling
        // it, so wake now and then as well.
        changed_.wait_for(lock, std::chrono::milliseconds(5), [&] { return changes_ != seen; });
        if (std::chrono::steady_clock::now() > deadline) {
            lock.unlock();
            return condition();
        }
    }
}

bool VirtualMouse::waitForFeatureReports(std::size_t count, int timeoutMs) const {
    return waitUntil([&] { return state().featureReportsAccepted >= count; }, timeoutMs);
}

}  // namespace korvel
