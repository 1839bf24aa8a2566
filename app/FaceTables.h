// The main window's declarations: its menu bar, command bar and status bar
// tables and the application's command ids.
#pragma once

#include "framework/app/MenuItemDef.h"
#include "framework/dialogs/CommandObject.h"
#include "framework/dialogs/StatusItemDef.h"

enum FaceCommandId {
    IdRestore = 101,
    IdHelpContents = 102,
    IdAbout = 103,
    IdStatusText = 104,
    IdRenderPreview = 105,
    IdSaveRender = 106
};

extern MenuItemDef faceMenu[];
extern CommandObject faceCommandBar[];
extern StatusItemDef faceStatusBar[];
