// Maps a platform key (a window handle or a timer id) to the framework object
// that owns it, so a platform callback can find its object. Needs no platform.
#pragma once

#include <cstdint>
#include <type_traits>

class vThisList {
  public:
    using Key = std::uintptr_t;

    vThisList() = default;
    ~vThisList();
    vThisList(const vThisList&) = delete;
    vThisList& operator=(const vThisList&) = delete;

    // Adds at the head; the cursor moves to the new entry.
    void add(Key key, void* value);
    // Removes the newest entry of `key`; the cursor moves to the head.
    void remove(Key key);
    // The newest value of `key` (the cursor moves there), or null.
    void* find(Key key);
    // One cursor for all iteration: find() inside a first()/next() loop moves it.
    void* first();
    void* next();

    template <class Handle> void add(Handle key, void* value) { add(asKey(key), value); }
    template <class Handle> void remove(Handle key) { remove(asKey(key)); }
    template <class Handle> void* find(Handle key) { return find(asKey(key)); }
    // The key at the cursor, 0 when there is none.
    Key cursorKey() const;

  private:
    struct Node {
        Key key;
        void* value;
        Node* next;
    };
    template <class Handle> static Key asKey(Handle key) {
        if constexpr (sizeof(Handle) == sizeof(Key) && !std::is_integral_v<Handle>)
            return reinterpret_cast<Key>(key);
        else
            return Key(key);
    }

    Node* head = nullptr;
    Node* cursor = nullptr;
};

// The process-wide registries: dialog window -> vDialog, bar window ->
// vCommandPane, timer id -> vTimer.
extern vThisList dialogList;
extern vThisList barList;
extern vThisList timerList;
