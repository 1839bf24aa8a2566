// The expression library beside the face: a grid of thumbnails of the
// shipped expressions and the pose files of the remembered folder. A click
// sets the pose to an expression, or moves it part of the way there as the
// mix slider says; dragging the slider after a click re-mixes live. Files
// that are no pose show greyed, with the reader's message as their tip.
#pragma once

#include "expressions/ExpressionList.h"
#include "face/FaceCanvasPane.h"
#include "framework/app/vTimer.h"
#include "framework/app/vToolWindow.h"
#include "framework/dialogs/vCommandPanel.h"

#include <string>

class FaceCmdWindow;

class ExpressionWindow : public vToolWindow, private vTimer {
  public:
    static constexpr int Columns = 3;
    static constexpr int Rows = 4;
    static constexpr int CellWidth = 112;
    static constexpr int CellHeight = 96;
    static constexpr int ThumbWidth = 96;
    static constexpr int ThumbHeight = 72;
    // Cheap enough to run all the time the window shows.
    static constexpr int PollInterval = 2000;
    // The panel's command ids.
    enum { IdMix = 1, IdMixText = 2, IdAdd = 3 };

    // The close box gives `owner` the command `toggleCommand`.
    ExpressionWindow(FaceCmdWindow* owner, int toggleCommand);
    ~ExpressionWindow() override;

    // Shows the window with the folders read afresh.
    void open();
    void close();
    // Reads the folders again and redraws.
    void reload();

    // Sets the pose to expression `index`, the slider's fraction of the way.
    void apply(int index);
    // The slider moved to `percent`; after a click it re-mixes live.
    void mixChanged(int percent);
    // The slider was let go: a live re-mix becomes one undo step.
    void mixReleased();

    const ExpressionListing& listing() const { return listing_; }
    // The expression under client point (x, y), or -1.
    int indexAt(int x, int y) const;
    // The tool tip the window shows over expression `index`, as the tip
    // control holds it; empty when it has none.
    std::string tipText(int index) const;
    int mixPercent() const { return mixPercent_; }
    int firstRow() const { return firstRow_; }
    vCommandPanel panel;

    void onRedraw(vWinDC& dc) override;
    void onClose() override;
    void onMouseDown(int x, int y) override;
    void onScroll(int code, int thumb) override;
    void onWheel(int delta) override;

  private:
    void onTick() override;
    void scrollTo(int row);
    // The rows of the listing, with the line counting the files not shown.
    int rowCount() const;
    void updateScrollBar();
    void updateTips();
    void drawCell(vWinDC& dc, int index, int x, int y);

    FaceCmdWindow* owner_;
    int toggleCommand_;
    std::string shippedFolder_;
    std::string userFolder_;
    std::string stamp_;
    ExpressionListing listing_;
    // Draws the thumbnails: the face's own drawing, never in a window.
    FaceCanvasPane painter_;
    HWND scrollBar_ = nullptr;
    HWND tips_ = nullptr;
    int tipCount_ = 0;
    int gridHeight_ = Rows * CellHeight;
    int firstRow_ = 0;
    int mixPercent_ = 100;
    // The last click: the pose before it, the expression and the pose set.
    bool applied_ = false;
    std::string appliedName_;
    float base_[PoseCount] = {};
    float target_[PoseCount] = {};
    float mixed_[PoseCount] = {};
};
