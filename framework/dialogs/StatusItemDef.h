// The record that declares one status-bar field, and its conversion into
// the command records a bar is built from. Needs no platform.
#pragma once

#include "framework/dialogs/CommandObject.h"

#include <cstdint>

struct StatusItemDef {
    const char* title; // null ends a table; padded with blanks to reserve room
    std::int32_t id;
    std::uint32_t attributes;
    std::int32_t sensitive; // bit 0: enabled
    std::int32_t size;      // width in dialog units when >= 1
};

// A new[]-allocated table of one BoxedLabel record per field, with its own
// copy of each title, ended by an end record; `count` gets the number of
// fields. Free it with freeStatusCommands.
CommandObject* statusCommands(const StatusItemDef* table, int& count);
void freeStatusCommands(CommandObject* commands, int count);
