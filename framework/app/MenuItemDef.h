// The record that declares one menu item, and the framework's fixed menu ids.
// Needs no platform.
#pragma once

#include <cstdint>

struct MenuItemDef {
    const char* label; // null ends a table
    std::int32_t id;
    std::uint32_t state; // MenuSensitive | MenuCheckMark
    const char* keyLabel;
    std::int32_t key;
    MenuItemDef* subMenu;
    std::int32_t keyShift;
};

enum MenuItemState : std::uint32_t { MenuSensitive = 1, MenuCheckMark = 2 };

enum MenuId {
    IdSeparator = 32090,
    IdNew = 32100,
    IdOpen = 32101,
    IdSave = 32103,
    IdExit = 32108,
    IdPaste = 32112,
    IdCascade = 32160,
    IdTile = 32161,
    IdArrangeIcons = 32162,
    IdFrameNew = 32170,
    IdFrameOpen = 32171,
    IdFrameExit = 32172,
    IdFirstChild = 32200
};
