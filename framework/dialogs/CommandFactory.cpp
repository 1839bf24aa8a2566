// The command factory: from a record's kind to its command class. The one
// place that knows every control class; the container itself knows vCmd only.
#include "framework/dialogs/vCmdParent.h"

#include "framework/controls/vBoxedLabelCmd.h"
#include "framework/controls/vButtonCmd.h"
#include "framework/controls/vCheckBoxCmd.h"
#include "framework/controls/vColorButtonCmd.h"
#include "framework/controls/vColorLabelCmd.h"
#include "framework/controls/vComboBoxCmd.h"
#include "framework/controls/vFrameCmd.h"
#include "framework/controls/vLabelCmd.h"
#include "framework/controls/vListCmd.h"
#include "framework/controls/vPictureCmd.h"
#include "framework/controls/vProgressCmd.h"
#include "framework/controls/vRadioButtonCmd.h"
#include "framework/controls/vSliderCmd.h"
#include "framework/controls/vSpinnerCmd.h"
#include "framework/controls/vTextCmd.h"
#include "framework/controls/vTextInCmd.h"

namespace {

const char* const BadCommandTitle = "?? Bad CommandObject ??";

} // namespace

vCmd* vCmdParent::createCommand(CommandObject* record) {
    switch (record->kind) {
    case BoxedLabel: return new vBoxedLabelCmd(this, record);
    case Button:
    case IconButton:
    case ToggleButton:
    case ToggleIconButton: return new vButtonCmd(this, record);
    case CheckBox: return new vCheckBoxCmd(this, record);
    case ColorButton: return new vColorButtonCmd(this, record);
    case ColorLabel: return new vColorLabelCmd(this, record);
    case Frame:
    case ToggleFrame: return new vFrameCmd(this, record);
    case RadioButton: return new vRadioButtonCmd(this, record);
    case TextIn: return new vTextInCmd(this, record);
    case Text: return new vTextCmd(this, record);
    case CompactLabel:
    case Icon:
    case Label: return new vLabelCmd(this, record);
    case ComboBox: return new vComboBoxCmd(this, record);
    case List: return new vListCmd(this, record);
    case Picture: return new vPictureCmd(this, record);
    case Progress: return new vProgressCmd(this, record);
    case Slider: return new vSliderCmd(this, record);
    case Spinner: return new vSpinnerCmd(this, record);
    default: record->title = BadCommandTitle; return new vLabelCmd(this, record);
    }
}
