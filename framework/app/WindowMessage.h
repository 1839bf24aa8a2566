// The shape every window procedure of the framework shares:
//
//   LRESULT CALLBACK xProc(HWND window, UINT code, WPARAM wParam, LPARAM lParam) {
//       X* self = the object of `window`;
//       return dispatchMessage(self, {window, code, wParam, lParam}, platformDefault);
//   }
//
// where X::handleMessage is one switch whose cases are one line each into a
// named handleX, each answering whether it handled the message.
#pragma once

#include <windows.h>
#include <windowsx.h>

struct WindowMessage {
    HWND window;
    UINT code;
    WPARAM wParam;
    LPARAM lParam;

    // Mouse positions are signed: a captured pointer left or above the window
    // reports negative coordinates.
    int x() const { return GET_X_LPARAM(lParam); }
    int y() const { return GET_Y_LPARAM(lParam); }
    // Sizes and command ids are unsigned 16-bit words.
    int lowWord() const { return LOWORD(wParam); }
    int highWord() const { return HIWORD(wParam); }
};

// A handler's answer: whether it handled the message, and the result then.
struct Handled {
    bool done;
    LRESULT result;
};

inline constexpr Handled NotHandled = {false, 0};
inline constexpr Handled handled(LRESULT result = 0) {
    return {true, result};
}

// The object whose pointer the window word at `offset` holds. While the window
// is being created the word is still empty: `creating` is the object then,
// and it is stored in the word for the messages that follow.
template <class Object> Object* windowObject(HWND window, Object* creating, int offset = 0) {
    if (auto* object = reinterpret_cast<Object*>(GetWindowLongPtrA(window, offset))) return object;
    if (creating) SetWindowLongPtrA(window, offset, reinterpret_cast<LONG_PTR>(creating));
    return creating;
}

// The object a registry (window -> object) holds for `window`; before the
// window is registered, during its creation, `creating`.
template <class Object, class Registry>
Object* registeredObject(HWND window, Registry& registry, Object* creating) {
    if (void* object = registry.find(window)) return static_cast<Object*>(object);
    return creating;
}

// The object handles the message, or the platform default does.
template <class Object, class Default>
LRESULT dispatchMessage(Object* object, const WindowMessage& message, Default platformDefault) {
    Handled answer = object ? object->handleMessage(message) : NotHandled;
    return answer.done ? answer.result : platformDefault(message);
}
