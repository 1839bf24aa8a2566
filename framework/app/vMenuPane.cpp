#include "framework/app/vMenuPane.h"

#include "framework/app/WideText.h"
#include "framework/app/vApp.h"
#include "framework/app/vWindow.h"
#include "framework/dialogs/CommandObject.h"

namespace {

// The "&Window" menu added outside single-window mode.
MenuItemDef windowMenu[] = {
    {"&Cascade", IdCascade, MenuSensitive, nullptr, 0, nullptr, 0},
    {"&Tile", IdTile, MenuSensitive, nullptr, 0, nullptr, 0},
    {"&Arrange icons", IdArrangeIcons, MenuSensitive, nullptr, 0, nullptr, 0},
    {},
};

} // namespace

vMenuPane::vMenuPane(MenuItemDef* table) : vPane(PaneMenu) {
    int used = 0;
    while (used < MaxEntries && table && table[used].label) {
        entries[used].title = table[used].label;
        entries[used].table = table[used].subMenu;
        ++used;
    }
    if (used < MaxEntries && !theApp->singleWindow) {
        entries[used].title = "&Window";
        entries[used].table = windowMenu;
        ++used;
    }
    menuCount = entryCount = used;
}

vMenuPane::~vMenuPane() {
    if (menuBarHandle && IsMenu(menuBarHandle)) DestroyMenu(menuBarHandle);
    for (int i = 0; i < entryCount; ++i)
        if (entries[i].popup && IsMenu(entries[i].popup)) DestroyMenu(entries[i].popup);
}

void vMenuPane::initialize(vWindow* owner, void* menuBar) {
    vPane::initialize(owner, menuBar);
    menuBarHandle = static_cast<HMENU>(menuBar);
    for (int i = 0; i < menuCount; ++i)
        buildEntry(i, menuBarHandle);
    owner->windowMenuIndex = menuCount - 1;
}

void vMenuPane::buildEntry(int index, HMENU parent) {
    Entry& entry = entries[index];
    entry.popup = CreatePopupMenu();
    entry.items.clear();
    for (int row = 0; entry.table && entry.table[row].label; ++row) {
        const MenuItemDef& item = entry.table[row];
        ItemRecord record = {row, 0};
        if (item.id == IdSeparator) {
            AppendMenuW(entry.popup, MF_SEPARATOR, 0, nullptr);
        } else if (item.subMenu) {
            // With every entry in use the row is left out.
            if (entryCount < MaxEntries) {
                int sub = entryCount++;
                entries[sub].title = item.label;
                entries[sub].table = item.subMenu;
                record.subEntry = sub;
                buildEntry(sub, entry.popup);
            }
        } else {
            AppendMenuW(entry.popup, MF_STRING, UINT_PTR(item.id), itemText(item).c_str());
            applyState(index, item);
        }
        entry.items.push_front(record);
    }
    AppendMenuW(parent, MF_POPUP, reinterpret_cast<UINT_PTR>(entry.popup),
                wideText(entry.title).c_str());
}

std::wstring vMenuPane::itemText(const MenuItemDef& item) {
    // The item's key stands after a tab, where the menu aligns it.
    std::string text = item.label;
    if (item.keyLabel && item.keyLabel[0]) text = text + "  \t" + item.keyLabel;
    return wideText(text);
}

void vMenuPane::applyState(int entry, const MenuItemDef& item) {
    HMENU popup = entries[entry].popup;
    CheckMenuItem(popup, UINT(item.id),
                  MF_BYCOMMAND | ((item.state & MenuCheckMark) ? MF_CHECKED : MF_UNCHECKED));
    EnableMenuItem(popup, UINT(item.id),
                   MF_BYCOMMAND | ((item.state & MenuSensitive) ? MF_ENABLED : MF_GRAYED));
}

template <class Match, class Action> void vMenuPane::forEachItem(Match match, Action action) {
    for (int e = 0; e < entryCount; ++e) {
        if (!entries[e].table) continue;
        for (const ItemRecord& record : entries[e].items) {
            MenuItemDef& item = entries[e].table[record.row];
            if (match(item) && !action(e, item)) return;
        }
    }
}

template <class Action> void vMenuPane::forEachItem(int id, Action action) {
    forEachItem([id](const MenuItemDef& item) { return item.id == id; }, action);
}

int vMenuPane::findAccelerator(int key, int shift, int& id) {
    id = 0;
    int found = 0;
    auto matches = [&](const MenuItemDef& item) {
        return item.key == key && item.keyShift == shift && (item.state & MenuSensitive);
    };
    forEachItem(matches, [&](int, MenuItemDef& item) {
        id = item.id;
        found = 1;
        return false;
    });
    return found;
}

int vMenuPane::getPaneValue(int id, int& value) {
    value = 0;
    int found = 0;
    forEachItem(id, [&](int, MenuItemDef& item) {
        value = (item.state & MenuCheckMark) ? 1 : 0;
        found = 1;
        return false;
    });
    return found;
}

void vMenuPane::setPaneValue(int id, int value, int setType) {
    std::uint32_t bit = 0;
    if (setType == SetValue || setType == SetPosition)
        bit = MenuCheckMark;
    else if (setType == SetSensitive)
        bit = MenuSensitive;
    else
        return;
    forEachItem(id, [&](int entry, MenuItemDef& item) {
        item.state = (value & 1) ? (item.state | bit) : (item.state & ~bit);
        HMENU popup = entries[entry].popup;
        if (bit == MenuCheckMark)
            CheckMenuItem(popup, UINT(id), MF_BYCOMMAND | (value ? MF_CHECKED : MF_UNCHECKED));
        else
            EnableMenuItem(popup, UINT(id), MF_BYCOMMAND | (value ? MF_ENABLED : MF_GRAYED));
        return true;
    });
}

void vMenuPane::setPaneString(int id, const char* text) {
    // A null label would end the table at this row.
    if (!text) text = "";
    // Items live in the popups, drawn as they open: the bar itself needs no
    // redrawing, which would cost more than drawing the whole face.
    forEachItem(id, [&](int entry, MenuItemDef& item) {
        item.label = text;
        ModifyMenuW(entries[entry].popup, UINT(id), MF_BYCOMMAND | MF_STRING, UINT_PTR(id),
                    itemText(item).c_str());
        applyState(entry, item);
        return true;
    });
}
