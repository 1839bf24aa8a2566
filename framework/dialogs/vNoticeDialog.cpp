#include "framework/dialogs/vNoticeDialog.h"

#include "framework/app/vApp.h"
#include "framework/dialogs/NoticeIcon.h"

namespace {

enum { FrameId = 93, IconId = 91, MessageId = 92 };

// Shared by every notice; the message record takes each notice's text.
CommandObject noticeTable[] = {
    {Frame, FrameId, 0, nullptr, nullptr, AttrNoBorder | AttrNoSpace, 1, 0, 0, 0, 0, nullptr},
    {Icon, IconId, 0, "Notice", &noticeIcon, 0, 1, FrameId, 0, 0, 0, nullptr},
    {Text, MessageId, 0, "", nullptr, AttrMessage | AttrNoBorder, 1, FrameId, IconId, 0, 0,
     nullptr},
    {Button, IdDone, IdDone, " OK ", nullptr, AttrDefault, 1, 0, 0, FrameId, 0, nullptr},
    {}};

CommandObject& messageRecord = noticeTable[2];

} // namespace

int vNoticeDialog::notice(const char* text) {
    message = text ? text : "";
    messageRecord.title = message.c_str();
    if (!built) {
        addDialogCmds(noticeTable);
        built = 1;
    }
    int value = 0;
    return showModalDialog(message.c_str(), value);
}

void vNoticeDialog::onDialogDisplayed() {
    if (!theApp || !theApp->frameWindow || !windowHandle) return;
    RECT frame, box;
    GetWindowRect(theApp->frameWindow, &frame);
    GetWindowRect(windowHandle, &box);
    int frameWidth = frame.right - frame.left, frameHeight = frame.bottom - frame.top;
    int boxWidth = box.right - box.left, boxHeight = box.bottom - box.top;
    // A box larger than the frame starts at the client window's corner.
    int left = boxWidth < frameWidth ? (frameWidth - boxWidth) / 2 : 0;
    int top = boxHeight < frameHeight ? (frameHeight - boxHeight) / 2 : 0;
    setDialogPosition(left, top);
}
