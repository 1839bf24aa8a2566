#include "framework/dialogs/vThisList.h"

vThisList::~vThisList() {
    while (head_) {
        Node* next = head_->next;
        delete head_;
        head_ = next;
    }
}

void vThisList::add(Key key, void* value) {
    head_ = new Node{key, value, head_};
    cursor_ = head_;
}

void vThisList::remove(Key key) {
    for (Node** link = &head_; *link; link = &(*link)->next) {
        if ((*link)->key != key) continue;
        Node* gone = *link;
        *link = gone->next;
        delete gone;
        cursor_ = head_;
        return;
    }
}

void* vThisList::find(Key key) {
    for (cursor_ = head_; cursor_; cursor_ = cursor_->next)
        if (cursor_->key == key) return cursor_->value;
    return nullptr;
}

void* vThisList::first() {
    cursor_ = head_;
    return cursor_ ? cursor_->value : nullptr;
}

void* vThisList::next() {
    if (!cursor_) return nullptr;
    cursor_ = cursor_->next;
    return cursor_ ? cursor_->value : nullptr;
}

vThisList::Key vThisList::cursorKey() const {
    return cursor_ ? cursor_->key : 0;
}

vThisList dialogList;
vThisList barList;
vThisList timerList;
