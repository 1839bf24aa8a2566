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
    IdUndo = 105,
    IdRedo = 106,
    IdMirror = 107,
    IdSymmetric = 108,
    IdRenderPreview = 109,
    IdSaveRender = 110,
    // The animation's commands.
    IdTimeline = 130,
    IdSetKey = 131,
    IdDeleteKey = 132,
    IdPlay = 133,
    IdAnimationSettings = 134,
    IdOpenAnimation = 135,
    IdSaveAnimation = 136,
    IdExportAnimation = 137,
    IdExpressions = 138,
    IdRenderAnimation = 139,
    IdSound = 150,
    IdRemoveSound = 151,
    IdLipSync = 152
};

// The characters the Control chords of the Edit menu type.
enum EditKey { KeyCtrlE = 5, KeyCtrlL = 12, KeyCtrlM = 13, KeyCtrlY = 25, KeyCtrlZ = 26 };

extern MenuItemDef faceMenu[];
extern CommandObject faceCommandBar[];
extern StatusItemDef faceStatusBar[];
