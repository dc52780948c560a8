#include "platform/win32/window_classes.h"

#include <vector>

#include "platform/win32/window_table.h"

namespace {

std::vector<platform::WindowClass> classes;
ATOM nextAtom = 0xC000;  // where Windows numbers registered classes from

bool sameName(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i] != 0; ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return i == a.size() && b[i] == 0;
}

std::vector<platform::WindowClass>::iterator findClass(const char* name) {
    auto it = classes.begin();
    while (it != classes.end() && !sameName(it->name, name)) {
        ++it;
    }
    return it;
}

HINSTANCE orModule(HINSTANCE instance) { return instance ? instance : GetModuleHandleA(nullptr); }

}  // namespace

const platform::WindowClass* platform::findWindowClass(const char* name) {
    if (name == nullptr) {
        return nullptr;
    }
    auto it = findClass(name);
    return it == classes.end() ? nullptr : &*it;
}

void platform::resetWindowClasses() {
    classes.clear();
    nextAtom = 0xC000;
}

ATOM RegisterClassExA(const WNDCLASSEXA* windowClass) {
    if (windowClass == nullptr || windowClass->cbSize != sizeof(WNDCLASSEXA) ||
        windowClass->lpfnWndProc == nullptr || windowClass->lpszClassName == nullptr ||
        windowClass->lpszClassName[0] == 0) {
        return 0;
    }
    if (findClass(windowClass->lpszClassName) != classes.end() || nextAtom == 0) {
        return 0;  // taken, or every atom used (the count wrapped to 0)
    }
    ATOM atom = nextAtom++;
    classes.push_back({windowClass->lpszClassName, windowClass->lpfnWndProc,
                       orModule(windowClass->hInstance), atom});
    return atom;
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance) {
    if (className == nullptr) {
        return FALSE;
    }
    auto it = findClass(className);
    // As on Windows, a class whose windows still exist stays registered.
    if (it == classes.end() || it->instance != orModule(instance) ||
        platform::classHasWindows(it->name)) {
        return FALSE;
    }
    classes.erase(it);
    return TRUE;
}
