// Unlinking from the framework's hand-linked lists. Needs no platform.
#pragma once

// Removes the first node of the list at `head` (linked through `next`) that
// `match` accepts, and clears its link; the node, or null when none matched.
template <class Node, class Match> Node* unlinkFirst(Node*& head, Node* Node::*next, Match match) {
    for (Node** link = &head; *link; link = &((*link)->*next)) {
        Node* found = *link;
        if (!match(found)) continue;
        *link = found->*next;
        found->*next = nullptr;
        return found;
    }
    return nullptr;
}
