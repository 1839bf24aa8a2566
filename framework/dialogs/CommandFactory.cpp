// The command factory: from a record's kind to its command class. The one
// place that knows every control class; the container itself knows vCmd only.
#include "framework/dialogs/vCmdParent.h"

#include "framework/controls/vFrameCmd.h"
#include "framework/controls/vLabelCmd.h"

namespace {

const char* const BadCommandTitle = "?? Bad CommandObject ??";

} // namespace

vCmd* vCmdParent::createCommand(CommandObject* record) {
    switch (record->kind) {
    case Frame:
    case ToggleFrame: return new vFrameCmd(this, record);
    // Until each has a class of its own, the other known kinds show as labels.
    case CompactLabel:
    case BoxedLabel:
    case Button:
    case CheckBox:
    case ColorButton:
    case ColorLabel:
    case ComboBox:
    case Icon:
    case IconButton:
    case Label:
    case List:
    case Progress:
    case RadioButton:
    case Slider:
    case Spinner:
    case TextIn:
    case Text:
    case ToggleButton:
    case ToggleIconButton: return new vLabelCmd(this, record);
    default: record->title = BadCommandTitle; return new vLabelCmd(this, record);
    }
}
