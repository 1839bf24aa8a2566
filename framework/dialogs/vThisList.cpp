#include "framework/dialogs/vThisList.h"

#include "framework/app/LinkedList.h"

vThisList::~vThisList() {
    while (head) {
        Node* next = head->next;
        delete head;
        head = next;
    }
}

void vThisList::add(Key key, void* value) {
    head = new Node{key, value, head};
    cursor = head;
}

void vThisList::remove(Key key) {
    Node* gone = unlinkFirst(head, &Node::next, [key](Node* node) { return node->key == key; });
    if (!gone) return;
    delete gone;
    cursor = head;
}

void* vThisList::find(Key key) {
    for (cursor = head; cursor; cursor = cursor->next)
        if (cursor->key == key) return cursor->value;
    return nullptr;
}

void* vThisList::first() {
    cursor = head;
    return cursor ? cursor->value : nullptr;
}

void* vThisList::next() {
    if (!cursor) return nullptr;
    cursor = cursor->next;
    return cursor ? cursor->value : nullptr;
}

vThisList::Key vThisList::cursorKey() const {
    return cursor ? cursor->key : 0;
}

vThisList dialogList;
vThisList barList;
vThisList timerList;
