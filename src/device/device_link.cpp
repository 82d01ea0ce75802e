#include "device/device_link.h"

#include <algorithm>

#include "device/device_support.h"

namespace korvel {

namespace {

class NullMacroSource final : public MacroSource {
public:
    MacroRecord userMacro(int) override { return MacroRecord{}; }
    MacroRecord constMacro(int) override { return MacroRecord{}; }
};

}  // namespace

DeviceLink::DeviceLink(Profile& profile, DevicePorts ports) : profile_(profile), ports_(std::move(ports)) {
    if (!ports_.clock) {
        ownClock_ = std::make_unique<SteadyClock>();
        ports_.clock = ownClock_.get();
    }
    if (!ports_.settings) {
        ownSettings_ = std::make_unique<NullSystemSettings>();
        ports_.settings = ownSettings_.get();
    }
    if (!ports_.launcher) {
        ownLauncher_ = std::make_unique<NullProgramLauncher>();
        ports_.launcher = ownLauncher_.get();
    }
    if (!ports_.events) {
        ownEvents_ = std::make_unique<InProcessEventFactory>();
        ports_.events = ownEvents_.get();
    }
    if (!ports_.repaint) {
        ownRepaint_ = std::make_unique<NullRepaintRequester>();
        ports_.repaint = ownRepaint_.get();
    }
    if (!ports_.store) {
        ownStore_ = std::make_unique<NullProfileStore>();
        ports_.store = ownStore_.get();
    }
    if (!ports_.macros) {
        ownMacros_ = std::make_unique<NullMacroSource>();
        ports_.macros = ownMacros_.get();
    }
    // The report ID never changes; having it from the start means even a
    // consumer key sent before anything else (which writes no byte 0) goes
    // out as report 7.
    reportBuffer_[0] = kFeatureReportId;
}

DeviceLink::~DeviceLink() {
    stopThreads();
    for (HidHandle h : {readHandle_.load(), writeHandle_.load()})
        if (isUsableHandle(h)) ports_.bus->close(h);
    for (HidHandle h : retiredHandles_)
        if (isUsableHandle(h)) ports_.bus->close(h);
}

// ------------------------------------------------------------------ sends

template <class Fill>
void DeviceLink::send(Fill&& fill) {
    std::lock_guard lock(reportLock_);
    fill(reportBuffer_);
    const HidHandle h = writeHandle_.load(std::memory_order_acquire);
    if (!isUsableHandle(h)) return;
    // Never more than the buffer holds, whatever the device claims.
    const std::size_t length = std::min<std::size_t>(featureReportLength_.load(std::memory_order_relaxed), kReportBufferSize);
    if (length == 0) return;
    ports_.bus->setFeature(h, reportBuffer_.data(), length);  // fire and forget
}

void DeviceLink::sendButtonFunction(int button) {
    send([&](ReportBytes& b) { encodeButtonFunction(b, profile_, button); });
}
void DeviceLink::sendWheelStatus() {
    send([&](ReportBytes& b) { encodeWheelStatus(b, profile_); });
}
void DeviceLink::sendDpiLevel(int level) {
    send([&](ReportBytes& b) { encodeDpiLevel(b, profile_, level); });
}
void DeviceLink::sendLighting() {
    send([&](ReportBytes& b) { encodeLighting(b, profile_); });
}
void DeviceLink::sendFireTime() {
    send([&](ReportBytes& b) { encodeFireTime(b, profile_); });
}
void DeviceLink::sendKeyState() {
    send([&](ReportBytes& b) { encodeKeyState(b, keySlots_); });
}
void DeviceLink::sendMouseButtons() {
    send([&](ReportBytes& b) { encodeMouseButtons(b, mouseButtonMask_); });
}
void DeviceLink::sendConsumerKey(std::uint16_t usage) {
    send([&](ReportBytes& b) { encodeConsumerKey(b, usage); });
}
void DeviceLink::sendExitCommand() {
    send([&](ReportBytes& b) { encodeExit(b); });
}

ReportBytes DeviceLink::reportBufferCopy() {
    std::lock_guard lock(reportLock_);
    return reportBuffer_;
}

// ------------------------------------------------------------------ apply

void DeviceLink::ApplyProfile() {
    ProfileStore& store = *ports_.store;
    const std::int32_t current = store.currentProfileNumber();
    store.writeCurConfig(current);
    store.saveProfile(profile_, 6);

    for (int b = 0; b < kButtonCount; ++b) {
        profile_.dpiReportButton[b] = 0;
        profile_.rateCycleButton[b] = 0;
        const std::int32_t f = profile_.buttonFunction[b];
        if (f == 6 || f == 15 || f == 16) profile_.dpiReportButton[b] = 1;
        if (f == kFnRateCycle) profile_.rateCycleButton[b] = 1;
        sendButtonFunction(b);
    }
    sendWheelStatus();
    for (int n = 0; n < kDpiLevelCount; ++n) {
        profile_.dpiCode[n] = dpiCodeOfLevel(profile_, n);
        sendDpiLevel(n);
    }
    profile_.ledStatusApplied = profile_.ledStatus.load();
    sendLighting();
    ports_.repaint->requestRepaint(true);

    int speed = 0;
    if (ports_.settings->getPointerSpeed(speed)) {
        const int step = std::min<int>(profile_.dpiSpeed, static_cast<int>(pointerSpeedTable.size()) - 1);
        ports_.settings->setPointerSpeed(pointerSpeedTable[step]);
    }
    unsigned lines = 0;
    if (ports_.settings->getWheelScrollLines(lines))
        ports_.settings->setWheelScrollLines(static_cast<std::uint8_t>(profile_.wheelSpeed + 1));

    sendFireTime();
    store.saveProfile(profile_, current);
}

// ------------------------------------------------------------------ discovery

bool DeviceLink::ConnectMouse() {
    HidBus& bus = *ports_.bus;
    // After a missed removal the old handles are dead; open both interfaces
    // afresh. The old ones are not closed now: the listener may still be
    // inside a read on one of them.
    for (auto* handle : {&readHandle_, &writeHandle_}) {
        const HidHandle old = handle->exchange(kNoHidHandle, std::memory_order_acq_rel);
        if (old != kNoHidHandle) retiredHandles_.push_back(old);
    }

    bool connected = false;
    std::unique_ptr<HidInterfaceSet> set = bus.presentInterfaces();
    for (int index = 0; set && index < kEnumerationLimit; ++index) {
        const std::optional<std::u16string> path = set->path(index);
        if (!path) continue;  // a gap does not end the list
        const HidHandle probe = bus.open(*path, HidAccess::Probe);
        HidAttributes attributes;
        connected = false;
        if (!isUsableHandle(probe) || !bus.attributes(probe, attributes) || attributes.vendorId != kMouseVendorId ||
            attributes.productId != kMouseProductId) {
            if (isUsableHandle(probe)) bus.close(probe);
            continue;
        }
        connected = true;
        mousePath_ = *path;
        bus.registerForNotices();

        HidCaps caps;
        if (!bus.capabilities(probe, caps)) caps = HidCaps{};
        if (caps.usagePage == kEventUsagePage && caps.usage == kVendorUsage) {
            eventCaps_ = caps;
            inputReportLength_.store(caps.inputReportLength, std::memory_order_relaxed);
            readHandle_.store(bus.open(*path, HidAccess::Read), std::memory_order_release);
            wakeListener();
        } else if (caps.usagePage == kCommandUsagePage && caps.usage == kVendorUsage) {
            commandCaps_ = caps;
            {
                std::lock_guard lock(reportLock_);
                featureReportLength_.store(caps.featureReportLength, std::memory_order_relaxed);
                writeHandle_.store(bus.open(*path, HidAccess::Write), std::memory_order_release);
            }
        }
        bus.close(probe);
        if (readHandle_.load() != kNoHidHandle && writeHandle_.load() != kNoHidHandle) break;
    }
    // Every caller stores the answer as the connected state; keep it here too,
    // so the device-change handling sees it whoever called.
    mouseConnected_ = connected;
    return connected;
}

bool DeviceLink::IsMousePath(const DeviceNotice* notice) const {
    if (!notice || notice->deviceType != kDeviceTypeInterface) return false;
    const std::u16string& a = notice->name;
    const std::u16string& b = mousePath_;
    if (a.size() != b.size()) return false;
    auto fold = [](char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}

bool DeviceLink::onDeviceChange(std::uint32_t eventType, const DeviceNotice* notice) {
    if (eventType == kDeviceArrival) {
        if (IsMousePath(notice) && !mouseConnected_) mouseConnected_ = ConnectMouse();
    } else if (eventType == kDeviceRemoveComplete) {
        if (IsMousePath(notice)) {
            mouseConnected_ = false;
            if (ports_.exitRoutine) ports_.exitRoutine();
        }
    }
    return true;
}

// ------------------------------------------------------------------ key injection

void DeviceLink::SendKeyEvent(std::uint8_t code, std::uint8_t action) {
    if (code < KEY_MOUSE_LEFT) {
        if (action == ACTION_DOWN) {
            for (auto& slot : keySlots_)
                if (slot == 0) {
                    slot = code;
                    break;
                }  // all six taken: the press is dropped
        } else if (action == ACTION_UP) {
            RemoveKey(code);
        }
        sendKeyState();
    } else {
        if (code <= KEY_MOUSE_MIDDLE) {
            const auto bit = static_cast<std::uint8_t>(1u << (code - KEY_MOUSE_LEFT));
            if (action == ACTION_DOWN) mouseButtonMask_ &= static_cast<std::uint8_t>(~bit);
            else if (action == ACTION_UP) mouseButtonMask_ |= bit;
        }
        sendMouseButtons();
    }
}

void DeviceLink::RemoveKey(std::uint8_t code) {
    auto it = std::find(keySlots_.begin(), keySlots_.end(), code);
    if (it != keySlots_.end()) std::copy(it + 1, keySlots_.end(), it);
    keySlots_[5] = 0;
}

void DeviceLink::ReleaseAll() {
    ports_.clock->sleepForMillis(kReleasePauseMs);
    mouseButtonMask_ |= 0x07;
    sendMouseButtons();
    ports_.clock->sleepForMillis(kReleasePauseMs);
    keySlots_.fill(0);
    sendKeyState();
}

void DeviceLink::PlayMacro(const MacroRecord& record, int repetitions) {
    PlayMacro([&record] { return record; }, repetitions);
}

void DeviceLink::PlayMacro(const std::function<MacroRecord()>& snapshot, int repetitions) {
    for (int r = 0; r < repetitions; ++r) {
        const MacroRecord record = snapshot();
        for (int k = 0; k < record.eventCount; ++k) {
            SendKeyEvent(record.events[k].code, record.events[k].action);
            ports_.clock->sleepForMillis(std::max<int>(record.delay(k), kMinEventDelayMs));
        }
        ReleaseAll();
        if (macroStop_.load(std::memory_order_acquire) == 1 || stopping()) break;
    }
}

// ------------------------------------------------------------------ listener and dispatcher

void DeviceLink::wakeDispatcher() {
    { std::lock_guard lock(wakeMutex_); }
    dispatcherWake_.notify_one();
}

void DeviceLink::wakeListener() {
    { std::lock_guard lock(wakeMutex_); }
    listenerWake_.notify_one();
}

void DeviceLink::handleInputReport(const std::uint8_t* data, std::size_t length) {
    // A report too short to carry an event code and a value is not an event.
    if (length >= 3 && data[0] == kInputReportId) {
        const std::uint8_t code = data[1];
        const std::uint8_t value = data[2];
        if (code <= kSoftwareEventBase) {
            if (macroBusy_.load(std::memory_order_acquire)) macroStop_.store(1, std::memory_order_release);
        } else if (value != kReleaseValue) {
            if (!macroBusy_.load(std::memory_order_acquire)) {
                pressedCode_ = code;
                pressedLevel_ = value;
                macroBusy_.store(1, std::memory_order_release);
                wakeDispatcher();
            } else if (profile_.macroMode2 == 0) {
                macroStop_.store(1, std::memory_order_release);
            }
        } else if (profile_.macroMode2 != 0) {
            macroStop_.store(1, std::memory_order_release);
            wakeDispatcher();  // so that a request made while idle is dropped at once
        }
    }
    reportsHandled_.fetch_add(1, std::memory_order_acq_rel);
}

bool DeviceLink::dispatchOnce() {
    if (!macroBusy_.load(std::memory_order_acquire)) {
        macroStop_.store(0, std::memory_order_release);
        return false;
    }
    const std::uint8_t code = pressedCode_;
    const std::uint8_t level = pressedLevel_;
    for (int b = 0; b < kButtonCount; ++b) {
        if (kSoftwareEventBase + hardwareButtonCode[b] != code) continue;
        if (profile_.dpiReportButton[b] == 1 && level < kDpiLevelCount) {
            // The mouse steps its level itself and reports the new one; only a
            // level it can have is taken over.
            profile_.dpiLevel = level;
            ports_.repaint->requestRepaint(true);
            ports_.store->saveDpiLevel(profile_, ports_.store->currentProfileNumber());
        }
        if (profile_.rateCycleButton[b] == 1) {
            profile_.usbSpeed = static_cast<std::uint8_t>(profile_.usbSpeed >= 3 ? 0 : profile_.usbSpeed + 1);
            ports_.repaint->requestRepaint(true);
            ports_.store->saveUsbSpeed(profile_, ports_.store->currentProfileNumber());
        }
        carryOut(profile_.buttonFunction[b]);
    }
    macroBusy_.store(0, std::memory_order_release);
    macroStop_.store(0, std::memory_order_release);
    return true;
}

void DeviceLink::carryOut(int f) {
    MacroSource& macros = *ports_.macros;
    if (f >= 21 && f <= 30) {
        sendConsumerKey(consumerUsageTable[f - 21]);
    } else if (f >= kFnConstMacroFirst && f <= 38) {
        const int index = f - kFnConstMacroFirst;
        PlayMacro([&] { return macros.constMacro(index); }, 1);
    } else if (f == kFnCalculator) {
        ports_.launcher->launch(u"calc.exe");
    } else if (f == kFnCommandPrompt) {
        ports_.launcher->launch(u"cmd.exe");
    } else if (f >= kFnUserMacroFirst && f <= kFnUserMacroLast) {
        const int index = f - kFnUserMacroFirst;
        int repetitions = kHoldRepetitions;
        if (profile_.macroMode2 == 0) {
            const MacroRecord first = macros.userMacro(index);
            repetitions = first.playMode == 0 ? 1 : first.repeatCount();
        }
        PlayMacro([&] { return macros.userMacro(index); }, repetitions);
    }
}

void DeviceLink::listenerMain() {
    if (ports_.onWorkerThreadStart) ports_.onWorkerThreadStart();
    macroSendEnd_ = ports_.events->createNamedAutoResetEvent(u"MacroSendEnd");
    while (!stopping()) {
        const HidHandle h = readHandle_.load(std::memory_order_acquire);
        int got = -1;
        if (isUsableHandle(h)) {
            const std::size_t length = std::min<std::size_t>(inputReportLength_.load(std::memory_order_relaxed), kReportBufferSize);
            if (length > 0) got = ports_.bus->read(h, inputBuffer_.data(), length);
        }
        if (got >= 0) {
            handleInputReport(inputBuffer_.data(), static_cast<std::size_t>(got));
            continue;
        }
        // Not open yet: sleep until a connect publishes a handle. Open but
        // failing (the mouse gone): retry every 2 ms.
        std::unique_lock lock(wakeMutex_);
        auto changed = [&] { return stopping() || readHandle_.load(std::memory_order_acquire) != h; };
        if (isUsableHandle(h)) listenerWake_.wait_for(lock, std::chrono::milliseconds(kReadRetryMs), changed);
        else listenerWake_.wait(lock, changed);
    }
}

void DeviceLink::dispatcherMain() {
    if (ports_.onWorkerThreadStart) ports_.onWorkerThreadStart();
    std::unique_lock lock(wakeMutex_);
    while (true) {
        dispatcherWake_.wait(lock, [&] {
            return stopping() || macroBusy_.load(std::memory_order_acquire) || macroStop_.load(std::memory_order_acquire);
        });
        if (stopping()) break;
        lock.unlock();
        dispatchOnce();
        lock.lock();
    }
}

void DeviceLink::startThreads() {
    if (listener_.joinable() || dispatcher_.joinable()) return;
    quit_.store(false, std::memory_order_release);
    macroBusy_.store(0, std::memory_order_release);
    macroStop_.store(0, std::memory_order_release);
    listener_ = std::thread([this] { listenerMain(); });
    dispatcher_ = std::thread([this] { dispatcherMain(); });
}

void DeviceLink::stopThreads() {
    if (!listener_.joinable() && !dispatcher_.joinable()) return;
    {
        std::lock_guard lock(wakeMutex_);
        quit_.store(true, std::memory_order_release);
    }
    dispatcherWake_.notify_all();
    listenerWake_.notify_all();
    const HidHandle h = readHandle_.load(std::memory_order_acquire);
    if (isUsableHandle(h)) ports_.bus->cancelReads(h);
    if (listener_.joinable()) listener_.join();
    if (dispatcher_.joinable()) dispatcher_.join();
}

}  // namespace korvel
