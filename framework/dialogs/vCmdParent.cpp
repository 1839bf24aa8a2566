#include "framework/dialogs/vCmdParent.h"

#include "framework/app/WideText.h"
#include "framework/app/vApp.h"
#include "framework/controls/vCmd.h"

#include <algorithm>
#include <commctrl.h>
#include <cstring>
#include <vector>

namespace {

void reportFatal(const char* text) {
    if (theApp) theApp->fatalError(text);
}

// UTF-8 text as the UTF-16 a dialog template holds.
std::u16string templateText(const char* text) {
    std::wstring wide = wideText(text ? text : "");
    return std::u16string(wide.begin(), wide.end());
}

} // namespace

vCmdParent::vCmdParent(int containerKind)
    : extentX(containerKind == PaneStatusBar ? 4 : 0),
      extentY(containerKind == PaneStatusBar ? 4 : 0), containerKind(containerKind) {}

vCmdParent::~vCmdParent() {
    for (vCmd* command : commands)
        delete command;
}

bool vCmdParent::ignoredNotification(int code) {
    switch (code) {
    case 0x100:
    case 0x400:
    case 0x500:
    case 0x501:
    case 0x601:
    case 0x602: return true;
    default: return false;
    }
}

vCmd* vCmdParent::findCommand(int id) {
    for (vCmd* command : commands) {
        if (!command) return nullptr;
        if (command->id == id) return command;
    }
    return nullptr;
}

vCmd* vCmdParent::madeCommand(int id) {
    for (vCmd* command : commands)
        if (command && command->id == id) return command;
    return nullptr;
}

int vCmdParent::getTextIn(int id, char* buffer, int size) {
    if (!buffer || size <= 0) return 0;
    vCmd* command = findCommand(id);
    const char* text = command ? command->title : "";
    int length = int(std::min(std::strlen(text), std::size_t(size - 1)));
    std::memcpy(buffer, text, std::size_t(length));
    buffer[length] = '\0';
    return length;
}

std::string vCmdParent::textIn(int id) {
    vCmd* command = findCommand(id);
    return command ? command->title : "";
}

int vCmdParent::getValue(int id) {
    vCmd* command = findCommand(id);
    return command ? command->getValue(id) : 0;
}

void vCmdParent::setValue(int id, int value, int setType) {
    if (vCmd* command = findCommand(id)) command->setValue(value, setType);
}

void vCmdParent::setString(int id, const char* text) {
    if (vCmd* command = findCommand(id)) command->setString(text);
}

void vCmdParent::setPicture(int id, int width, int height, const std::uint8_t* rgb) {
    if (vCmd* command = findCommand(id)) command->setPicture(width, height, rgb);
}

void vCmdParent::showFrameContents(int frameId, int shown) {
    if (vCmd* frame = madeCommand(frameId)) showContents(frame, shown);
}

void vCmdParent::showContents(vCmd* frame, int shown) {
    for (vCmd* command : commands) {
        if (!command || enclosingFrame(command) != frame) continue;
        setValue(command->id, !shown, SetHidden);
        int kind = command->cmdObject->kind;
        // Contents come later in the table than their frame: the recursion ends.
        if (kind == Frame || kind == ToggleFrame) showContents(command, shown);
    }
}

vCmd* vCmdParent::enclosingFrame(vCmd* command) {
    int frameId = command->cmdObject->frameId;
    if (frameId == 0) return nullptr;
    // Only an earlier command, one after it in the newest-first list, can
    // hold it: a frame naming itself or a later one holds nothing.
    auto node = std::find(commands.begin(), commands.end(), command);
    if (node == commands.end()) return nullptr;
    for (++node; node != commands.end(); ++node)
        if (*node && (*node)->id == frameId) return *node;
    return nullptr;
}

void vCmdParent::buildCommands(CommandObject* table) {
    for (CommandObject* record = table; record->kind != EndOfList; ++record) {
        // Pushed first, so that the command placing itself does not see itself.
        commands.push_front(nullptr);
        commands.front() = createCommand(record);
    }
}

void vCmdParent::setStartStates(bool toggleFramesToo) {
    // Taken before any is set: turning one on turns the others of its group
    // off. Set newest first, the one declared first stays on.
    std::vector<vCmd*> on;
    for (vCmd* command : commands) {
        int kind = command->cmdObject->kind;
        if ((kind == CheckBox || kind == RadioButton) && command->getValue(command->id) != 0)
            on.push_back(command);
    }
    for (vCmd* command : on)
        command->setValue(1, SetValue);
    for (vCmd* command : commands) {
        const CommandObject& record = *command->cmdObject;
        int id = command->id;
        int kind = record.kind;
        if (kind == Slider || kind == Spinner)
            command->setValue(command->getValue(id), SetPosition);
        if (!(record.sensitive & 1)) command->setValue(0, SetSensitive);
        if (record.attributes & AttrHidden) command->setValue(1, SetHidden);
        if (kind == ComboBox || kind == List || kind == ComboBoxReserved || kind == ListReserved ||
            kind == Spinner)
            command->setValue(command->getValue(id), SetListChanged);
        if (kind == Frame || kind == Icon || (toggleFramesToo && kind == ToggleFrame))
            command->setValue(0, SetSensitive);
    }
}

int vCmdParent::beginTemplate(std::uint32_t style, int x, int y, int width, int height,
                              const char* menuName, const char* windowClass, const char* title,
                              int pointSize, const char* fontName) {
    return dialogTemplate.begin(style, x, y, width, height, menuName, windowClass,
                                templateText(title), pointSize, fontName);
}

void vCmdParent::placeCommand(int& x, int& y, int width, int height, int frameId, int rightOfId,
                              int belowId, int keepPosition) {
    int gap = 2;
    vCmd* frame = nullptr;
    if (!keepPosition) x = y = 2;
    if (frameId != 0 && (frame = madeCommand(frameId))) {
        int inset = 0;
        if (frame->cmdObject->attributes & AttrNoSpace) gap = 0, inset = 1;
        if (!keepPosition) {
            x = rightOfId == 0 ? frame->x + gap + inset : gap;
            y = belowId == 0 ? frame->y + gap + inset : gap;
        }
    }
    if (!keepPosition) {
        if (layoutStyle == LayoutCommandBar && frameId == 0) {
            x = extentX + gap;
            y = gap;
        } else if (layoutStyle == LayoutStatusBar && frameId == 0) {
            x = extentX + gap;
            y = gap + 1;
        } else {
            for (vCmd* command : commands) {
                if (!command) continue;
                if (command->id == rightOfId) x += command->x + command->width;
                if (command->id == belowId) y += command->y + command->height;
            }
        }
    }
    int right = x + width;
    int bottom = y + height;
    extentX = std::max(extentX, right);
    extentY = std::max(extentY, bottom);
    if (frame) growFrame(right, bottom, gap, frame);
}

void vCmdParent::growFrame(int right, int bottom, int gap, vCmd* frame) {
    // Each enclosing frame is earlier in the table than the one inside it,
    // so the walk ends within the table.
    for (; frame; frame = enclosingFrame(frame)) {
        if (frame->x + frame->width < right + gap)
            frame->width = right - frame->x + gap + (gap == 0 ? 1 : 0);
        if (frame->y + frame->height < bottom + gap)
            frame->height = bottom - frame->y + gap + (gap == 0 ? 1 : 0);
        extentX = std::max(extentX, frame->x + frame->width);
        extentY = std::max(extentY, frame->y + frame->height);
        if (frame->templateItemOffset)
            dialogTemplate.setItemSize(frame->templateItemOffset, frame->width, frame->height);
        // Every enclosing level ends 2 units beyond the frame inside it.
        right = frame->x + frame->width;
        bottom = frame->y + frame->height;
        gap = 2;
    }
}

int vCmdParent::addTemplateItem(int x, int y, int width, int height, int id, std::uint32_t style,
                                const char* className, const char* title, int dataLength,
                                const void* data) {
    if (dialogTemplate.used() % 4 != 0) reportFatal("Can't build dialog template.");
    return dialogTemplate.addItem(x, y, width, height, id, style, className, templateText(title),
                                  dataLength, data);
}

void vCmdParent::endTemplate() {
    extentX += 2;
    extentY += 2;
    dialogTemplate.end(extentX, extentY);
}

void vCmdParent::registerToolTips(HWND& tipWindow) {
    if (!tipWindow)
        tipWindow = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                    CW_USEDEFAULT, CW_USEDEFAULT, 10, 10, windowHandle, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
    sendToolTips(tipWindow, TTM_ADDTOOLW);
}

void vCmdParent::unregisterToolTips(HWND tipWindow) {
    sendToolTips(tipWindow, TTM_DELTOOLW);
}

void vCmdParent::sendToolTips(HWND tipWindow, UINT request) {
    if (!tipWindow) return;
    for (vCmd* command : commands) {
        const char* tip = command ? command->cmdObject->tip : nullptr;
        if (!tip || !*tip) continue;
        std::wstring text = wideText(tip);
        TOOLINFOW tool = {};
        tool.cbSize = TTTOOLINFOW_V1_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = windowHandle;
        tool.uId = reinterpret_cast<UINT_PTR>(command->controlWindow(command->id));
        tool.lpszText = text.data();
        SendMessageW(tipWindow, request, 0, reinterpret_cast<LPARAM>(&tool));
    }
}
