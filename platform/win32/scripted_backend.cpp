#include "platform/win32/scripted_backend.h"

#include <algorithm>

#include "platform/win32/layer_reset.h"

namespace platform {

ScriptedBackend::ScriptedBackend() {
    setBackend(this);
    resetWindowsLayer();
}

ScriptedBackend::~ScriptedBackend() {
    // The layer holds pointers into windows_; forget them before they dangle.
    resetWindowsLayer();
    if (currentBackend() == this) {
        setBackend(nullptr);
    }
}

void ScriptedBackend::setTime(DWORD milliseconds) { clock_ = milliseconds; }

void ScriptedBackend::advance(DWORD milliseconds) { clock_ += milliseconds; }

void ScriptedBackend::keyDown(WPARAM virtualKey, bool repeat, void* nativeWindow) {
    inject(BackendEvent{BackendEvent::KeyDown, nativeWindow, virtualKey, repeat});
}

void ScriptedBackend::keyUp(WPARAM virtualKey, void* nativeWindow) {
    inject(BackendEvent{BackendEvent::KeyUp, nativeWindow, virtualKey, false});
}

void ScriptedBackend::pressKey(WPARAM virtualKey, void* nativeWindow) {
    keyDown(virtualKey, false, nativeWindow);
    keyUp(virtualKey, nativeWindow);
}

void ScriptedBackend::requestClose(void* nativeWindow) {
    inject(BackendEvent{BackendEvent::CloseRequested, nativeWindow, 0, false});
}

void ScriptedBackend::inject(const BackendEvent& event) {
    if (boxOpen_ && event.kind != BackendEvent::CloseRequested) {
        ++droppedKeys_;
        return;
    }
    BackendEvent resolved = event;
    if (resolved.nativeWindow == nullptr) {
        resolved.nativeWindow = latestLiveWindow();
    }
    if (boxOpen_) {
        const std::size_t box = openBox_;  // the handler may open a box of its own
        if (boxHandler_ != nullptr && boxHandler_(resolved)) {
            boxes_[box].endedByQuit = true;
        }
        return;
    }
    pending_.push_back(resolved);
}

void ScriptedBackend::at(unsigned turn, std::function<void()> action) {
    scheduled_.push_back(Scheduled{turn, std::move(action)});
}

void* ScriptedBackend::createWindow(const char* title, int x, int y, int width, int height) {
    if (failWindowCreation_) {
        return nullptr;
    }
    windows_.push_back(ScriptedWindow{title ? title : "", x, y, width, height, false, false});
    return &windows_.back();
}

void ScriptedBackend::showWindow(void* nativeWindow) {
    if (ScriptedWindow* window = find(nativeWindow)) {
        window->shown = true;
    }
}

void ScriptedBackend::destroyWindow(void* nativeWindow) {
    if (ScriptedWindow* window = find(nativeWindow)) {
        window->destroyed = true;
    }
}

void ScriptedBackend::pollEvents(std::vector<BackendEvent>& out) {
    unsigned turn = polls_++;
    clock_ += autoAdvance_;
    if (pollHook_) {
        pollHook_(turn);
    }
    // Take this turn's actions out first: an action may schedule more.
    std::vector<std::function<void()>> due;
    for (auto it = scheduled_.begin(); it != scheduled_.end();) {
        if (it->turn == turn) {
            due.push_back(std::move(it->action));
            it = scheduled_.erase(it);
        } else {
            ++it;
        }
    }
    for (auto& action : due) {
        action();
    }
    out.insert(out.end(), pending_.begin(), pending_.end());
    pending_.clear();
}

int ScriptedBackend::messageBox(const char* text, const char* caption, UINT type, BoxEventHandler whileOpen) {
    boxes_.push_back(ScriptedMessageBox{text ? text : "", caption ? caption : "", type, clock_});
    ScriptedMessageBox box = boxes_.back();  // the hook may open another box
    const bool wasOpen = boxOpen_;
    const BoxEventHandler outerHandler = boxHandler_;
    const std::size_t outerBox = openBox_;
    boxOpen_ = true;
    boxHandler_ = whileOpen;
    openBox_ = boxes_.size() - 1;
    if (boxHook_) {
        boxHook_(box);
    }
    boxOpen_ = wasOpen;
    boxHandler_ = outerHandler;
    openBox_ = outerBox;
    // The real backend flushes the keys still waiting when the box closes; so does this one.
    dropPendingKeys();
    return IDOK;
}

ScriptedWindow* ScriptedBackend::find(void* nativeWindow) {
    for (ScriptedWindow& window : windows_) {
        if (&window == nativeWindow) {
            return &window;
        }
    }
    return nullptr;
}

void* ScriptedBackend::latestLiveWindow() {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
        if (!it->destroyed) {
            return &*it;
        }
    }
    return nullptr;
}

void ScriptedBackend::dropPendingKeys() {
    auto isKey = [](const BackendEvent& e) { return e.kind != BackendEvent::CloseRequested; };
    auto firstKey = std::remove_if(pending_.begin(), pending_.end(), isKey);
    droppedKeys_ += static_cast<unsigned>(pending_.end() - firstKey);
    pending_.erase(firstKey, pending_.end());
}

}  // namespace platform
