// A window's menu bar, built from a table of MenuItemDef records; labels are
// UTF-8.
#pragma once

#include "framework/app/MenuItemDef.h"
#include "framework/app/vPane.h"

#include <forward_list>
#include <string>
#include <windows.h>

class vMenuPane : public vPane {
  public:
    static constexpr int MaxEntries = 20;

    explicit vMenuPane(MenuItemDef* table);
    ~vMenuPane() override;

    void initialize(vWindow* owner, void* menuBar) override;
    int getPaneValue(int id, int& value) override;
    void setPaneValue(int id, int value, int setType) override;
    void setPaneString(int id, const char* text) override;

    // The id of the first sensitive item with this key and shift.
    int findAccelerator(int key, int shift, int& id);

    struct ItemRecord {
        int row;
        int subEntry; // entry of the row's submenu, 0 if none
    };
    struct Entry {
        const char* title = nullptr;
        MenuItemDef* table = nullptr;
        std::forward_list<ItemRecord> items; // newest row first
        HMENU popup = nullptr;
    };

    int menuCount = 0;
    int entryCount = 0;
    Entry entries[MaxEntries];
    HMENU menuBarHandle = nullptr;

  private:
    void buildEntry(int entry, HMENU parent);
    void applyState(int entry, const MenuItemDef& item);
    // The text an item shows: its label, then its key.
    static std::wstring itemText(const MenuItemDef& item);
    // Calls action(entry, item) for every item that `match` accepts, in
    // search order, until action returns false.
    template <class Match, class Action> void forEachItem(Match match, Action action);
    // The same for the items with that id.
    template <class Action> void forEachItem(int id, Action action);
};
