#include "app/FaceTables.h"

#include "framework/app/KeyCodes.h"

namespace {

constexpr int KeyCtrlT = 20;

MenuItemDef fileMenu[] = {
    {"&Open", IdOpen, MenuSensitive, nullptr, 0, nullptr, 0},
    {"&Save", IdSave, MenuSensitive, nullptr, 0, nullptr, 0},
    {"-", IdSeparator, 0, nullptr, 0, nullptr, 0},
    {"Open a&nimation...", IdOpenAnimation, MenuSensitive, nullptr, 0, nullptr, 0},
    {"Save anima&tion as...", IdSaveAnimation, MenuSensitive, nullptr, 0, nullptr, 0},
    {"Ex&port animation for POV-Ray...", IdExportAnimation, MenuSensitive, nullptr, 0, nullptr, 0},
    {"&Render animation...", IdRenderAnimation, MenuSensitive, nullptr, 0, nullptr, 0},
    {"-", IdSeparator, 0, nullptr, 0, nullptr, 0},
    {"E&xit", IdExit, MenuSensitive, nullptr, 0, nullptr, 0},
    {}};

// Undo and Redo start greyed: there is nothing to undo yet. Ctrl+M types
// the same character as Return, so the window tells them apart, not the table.
MenuItemDef editMenu[] = {
    {"&Undo", IdUndo, 0, "Ctrl+Z", KeyCtrlZ, nullptr, 0},
    {"&Redo", IdRedo, 0, "Ctrl+Y", KeyCtrlY, nullptr, 0},
    {"-", IdSeparator, 0, nullptr, 0, nullptr, 0},
    {"&Mirror", IdMirror, MenuSensitive, "Ctrl+M", 0, nullptr, 0},
    {"&Symmetric editing", IdSymmetric, MenuSensitive, "Ctrl+E", KeyCtrlE, nullptr, 0},
    {}};

MenuItemDef viewMenu[] = {
    {"&Render preview", IdRenderPreview, MenuSensitive, "F5", KeyF1 + 4, nullptr, 0},
    {"Save render &as...", IdSaveRender, MenuSensitive, nullptr, 0, nullptr, 0},
    {"&Timeline", IdTimeline, MenuSensitive, "Ctrl+T", KeyCtrlT, nullptr, 0},
    {"E&xpressions", IdExpressions, MenuSensitive, "Ctrl+L", KeyCtrlL, nullptr, 0},
    {}};

// Greyed, so their keys type as before, until the timeline shows.
MenuItemDef animateMenu[] = {
    {"Set &key", IdSetKey, 0, "K", 'k', nullptr, 0},
    {"&Delete key", IdDeleteKey, 0, "Delete", KeyDelete, nullptr, 0},
    {"&Play / Stop", IdPlay, 0, "Space", ' ', nullptr, 0},
    {"-", IdSeparator, 0, nullptr, 0, nullptr, 0},
    {"&Sound...", IdSound, MenuSensitive, nullptr, 0, nullptr, 0},
    {"Remove sound", IdRemoveSound, 0, nullptr, 0, nullptr, 0},
    {"&Lip-sync from sound", IdLipSync, MenuSensitive, nullptr, 0, nullptr, 0},
    {"-", IdSeparator, 0, nullptr, 0, nullptr, 0},
    {"Animation &settings...", IdAnimationSettings, MenuSensitive, nullptr, 0, nullptr, 0},
    {}};

MenuItemDef helpMenu[] = {{"Contents  ", IdHelpContents, MenuSensitive, nullptr, 0, nullptr, 0},
                          {"About ", IdAbout, MenuSensitive, nullptr, 0, nullptr, 0},
                          {}};

} // namespace

MenuItemDef faceMenu[] = {{"&File", 32000, MenuSensitive, nullptr, 0, fileMenu, 0},
                          {"&Edit", 32002, MenuSensitive, nullptr, 0, editMenu, 0},
                          {"&View", 32003, MenuSensitive, nullptr, 0, viewMenu, 0},
                          {"&Animate", 32004, MenuSensitive, nullptr, 0, animateMenu, 0},
                          {"Help", 32001, MenuSensitive, nullptr, 0, helpMenu, 0},
                          {}};

CommandObject faceCommandBar[] = {
    {Button, IdRestore, 0, "Restore", nullptr, 0, 1, 0, 0, 0, 0, "Clear to Defaults"}, {}};

// The blanks reserve room for the longest selection text.
StatusItemDef faceStatusBar[] = {
    {"Eyes Selected                                ", IdStatusText, AttrNoBorder, 1, 0}, {}};
