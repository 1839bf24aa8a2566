// A modeless dialog that declares every kind of command at once, in frames,
// with a timer that keeps its progress bar moving: the framework's living
// example. Reported values are written back into its static table, so the
// table always holds what the dialog shows, OK keeps it and Cancel restores
// it; one gallery dialog exists at a time.
#pragma once

#include "framework/app/vTimer.h"
#include "framework/dialogs/vDialog.h"

class GalleryDialog : public vDialog {
  public:
    // Ids the program and its tests refer to.
    enum Id {
        IdDetails = 23,
        IdFirstRadio = 24,
        IdSliderValue = 33,
        IdTextIn = 42,
        IdSlider = 52,
        IdNumberSpinner = 53,
        IdDaySpinner = 54,
        IdProgress = 55,
        IdReset = 57,
        IdList = 62,
        IdComboBox = 63,
        IdDetailsFrame = 70,
        IdDetailsProgress = 72,
    };
    static constexpr int ProgressStep = 5;

    explicit GalleryDialog(vBaseWindow* owner);
    ~GalleryDialog() override;

    void showDialog(const char* message) override;
    void closeDialog() override;
    // The details frame follows its check box from the first showing on.
    void onDialogDisplayed() override;
    void onDialogCommand(int id, int value, int kind) override;

    // One step of the moving progress bar; 100 wraps to 0.
    void advance();
    // The record of `id` in the table, null for an id not in it.
    static CommandObject* record(int id);

    // Closing the dialog ends the program (the gallery program sets it).
    int endsProgram = 0;

  private:
    class Ticker : public vTimer {
      public:
        explicit Ticker(GalleryDialog& dialog) : dialog(dialog) {}
        void onTick() override { dialog.advance(); }

      private:
        GalleryDialog& dialog;
    };

    void showChoice(const char* what, const char* const* texts, int index);

    Ticker ticker{*this};
    char boxText[32] = "";
};
