#include "framework/controls/vSliderCmd.h"

#include "framework/controls/ValueRange.h"
#include "framework/dialogs/vCmdParent.h"

#include <cstdint>

vSliderCmd::vSliderCmd(vCmdParent* parent, CommandObject* record) : vCmd(parent, record) {
    vSliderCmd::initialize();
}

void vSliderCmd::initialize() {
    loadCommon();
    const CommandObject& record = *cmdObject;
    ValueRange range = loadRange(items);
    rangeMin = range.lowest;
    rangeMax = range.highest;
    sliderValue = range.clamp(curValue);
    bool vertical = record.attributes & AttrVertical;
    int length = record.attributes & AttrSmall ? 60 : record.attributes & AttrLarge ? 170 : 110;
    if (record.size >= 1 && record.size <= 2047) length = record.size;
    width = vertical ? 12 : length;
    height = vertical ? length : 14;
    std::uint32_t style =
        parent->layoutStyle == LayoutCommandBar ? WS_GROUP : WS_GROUP | WS_TABSTOP;
    if (vertical) style |= SBS_VERT;
    parent->placeCommand(x, y, width, height, record.frameId, record.rightOfId, record.belowId, 0);
    templateItemOffset = parent->addTemplateItem(x, y, width, height, id, style | visibleStyle(),
                                                 "SCROLLBAR", title, 0, nullptr);
}

void vSliderCmd::saveValue() {
    vCmd::saveValue();
    shownValue = sliderValue;
}

void vSliderCmd::restoreValue() {
    vCmd::restoreValue();
    setValue(shownValue, SetPosition);
}

int vSliderCmd::setValue(int value, int type) {
    if (type != SetPosition) return setCommonValue(value, type);
    if (!ValueRange{rangeMin, rangeMax}.holds(value)) return 0;
    sliderValue = value;
    HWND control = controlWindow(id);
    SetScrollRange(control, SB_CTL, rangeMin, rangeMax, FALSE);
    return SetScrollPos(control, SB_CTL, sliderValue, TRUE);
}

void vSliderCmd::onNotify(int code, int thumb) {
    ValueRange range{rangeMin, rangeMax};
    // The message carries the thumb in 16 bits only; the scroll bar tracks
    // it in 32.
    if (code == SB_THUMBPOSITION || code == SB_THUMBTRACK) thumb = trackPosition(thumb);
    int position = sliderValue;
    switch (code) {
    case SB_LINEUP: position = range.moved(position, -1); break;
    case SB_LINEDOWN: position = range.moved(position, 1); break;
    case SB_PAGEUP: position = range.moved(position, -10); break;
    case SB_PAGEDOWN: position = range.moved(position, 10); break;
    // A thumb position beyond the range (a forged message) stops at its end.
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: position = range.clamp(thumb); break;
    case SB_TOP: position = rangeMin; break;
    case SB_BOTTOM: position = rangeMax; break;
    default: break;
    }
    if (position == sliderValue) return;
    sliderValue = position;
    // While its thumb is dragged the scroll bar draws it itself; drawing it
    // again costs more than what the report sets off.
    SetScrollPos(controlWindow(id), SB_CTL, sliderValue, code != SB_THUMBTRACK);
    parent->processCommand(id, sliderValue, cmdObject->kind);
}

int vSliderCmd::trackPosition(int thumb) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    // The message's 16 bits are the low bits of the dragged position.
    if (GetScrollInfo(controlWindow(id), SB_CTL, &info) &&
        std::uint16_t(info.nTrackPos) == std::uint16_t(thumb))
        return info.nTrackPos;
    return rangeMin >= INT16_MIN && rangeMax <= INT16_MAX ? std::int16_t(thumb) : thumb;
}
