// The expression library beside the face: a grid of thumbnails of the
// shipped expressions and the pose files of the remembered folder. A click
// sets the pose to an expression, or moves it part of the way there as the
// mix slider says; dragging the slider after a click re-mixes live. Files
// that are no pose show greyed, with the reader's message as their tip;
// the others' tip is their full name. The thumbnails are drawn at once in
// 2-D; with POV-Ray, renders replace them as they arrive, several as the
// frames of one run and several runs side by side, but never beside the
// preview's render, kept in the scratch folder under names made from the
// files' bytes. POV-Ray is looked for on a thread of its own, from the first
// opening: the window shows at once, and the renders start when it is found.
#pragma once

#include "app/PovraySearch.h"
#include "expressions/ExpressionList.h"
#include "expressions/ThumbnailCache.h"
#include "face/FaceCanvasPane.h"
#include "framework/app/vTimer.h"
#include "framework/app/vToolWindow.h"
#include "framework/dialogs/vCommandPanel.h"
#include "render/PovrayRunner.h"
#include "render/RgbImage.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

class Document;
class vWindow;

class ExpressionWindow : public vToolWindow, private vTimer {
  public:
    static constexpr int Columns = 3;
    static constexpr int Rows = 4;
    static constexpr int CellWidth = 112;
    static constexpr int CellHeight = 96;
    static constexpr int ThumbWidth = 96;
    static constexpr int ThumbHeight = 72;
    // How often a folder that cannot be watched is looked at.
    static constexpr int PollInterval = 2000;
    // How often a finished render is looked for.
    static constexpr int RenderTick = 50;
    // POV-Ray mostly waits on small pictures (its front end polls): several
    // runs side by side keep the cores busy.
    static constexpr int Runners = 12;
    // Every listed file's render and 100 more, about 12 MB at most in the
    // scratch folder.
    static constexpr int MaxCachedRenders = MaxListedExpressions + 100;
    // The panel's command ids.
    enum { IdMix = 1, IdMixText = 2, IdAdd = 3, IdMixLabel = 4 };

    // The close box gives `owner` the command `toggleCommand`; a click
    // changes `document`'s pose as one step.
    ExpressionWindow(vWindow* owner, int toggleCommand, Document& document);
    ~ExpressionWindow() override;

    // Shows the window, with the folders read again when they changed.
    void open();
    void close();
    // When the program closes: ends the render and removes the scratch
    // folder with the cached renders.
    void shutDown();
    // The preview showed or went: the library places itself again.
    void keepClearOf(const vToolWindow& preview);
    // Beside the frame within the work area, over neither the face nor the
    // preview.
    void place() override;
    bool areaToKeepClear(RECT& area) override;
    // Reads the folders again and redraws.
    void reload();

    // Sets the pose to expression `index`, the slider's fraction of the way.
    void apply(int index);
    // The slider moved to `percent`: the fraction of the next click. A drag
    // of its thumb after a click re-mixes that click's expression live.
    void mixChanged(int percent, bool dragged);
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
    // A thumbnail render runs.
    bool rendering() const;
    // The search for POV-Ray has not yet given its answer, which is taken
    // on the window's ticks.
    bool lookingForPovray() const { return !povraySearched_; }
    vCommandPanel panel;
    // The window this one opens clear of (the preview), and whether its
    // render runs or is due now: that one goes first.
    vToolWindow* neighbour = nullptr;
    std::function<bool()> neighbourRendering;

    void onRedraw(vWinDC& dc) override;
    void onClose() override;
    void onMouseDown(int x, int y) override;
    void onScroll(int code, int thumb) override;
    void onWheel(int delta) override;

  private:
    void onTick() override;
    // A file of the folders appeared, changed or went since the last
    // reading, or the remembered folder is another one.
    bool foldersChanged() const;
    // The same, from the platform's word that a folder changed: no look at
    // the files on every tick. A folder that cannot be watched is looked at
    // every PollInterval.
    bool foldersTouched();
    void watchFolders();
    void endWatches();
    void scrollTo(int row);
    // The rows of the listing, with the line counting the files not shown.
    int rowCount() const;
    void updateScrollBar();
    void updateTips();
    void drawCell(vWinDC& dc, int index, int x, int y);
    // Collects the finished renders, then starts the next ones wanted.
    void renderNext();
    // Runner `r`: keeps its finished renders, or marks them failed.
    void collect(int r);
    // Runner `r` renders the expressions `batch`, as the frames of one run.
    void renderOn(int r, const std::vector<int>& batch);
    // The valid expressions without a render or one in progress, those on
    // screen first, then those tried once already.
    std::vector<int> wantedRenders() const;
    // The next run's expressions, taken from the front of `wanted`.
    std::vector<int> nextBatch(std::vector<int>& wanted) const;
    // The folder the renders are kept in.
    const std::string& cacheFolder() const { return runners_[0].folder(); }
    void keepRender(const std::string& key, const RgbImage& image);
    // The render cached under `key`, or null.
    const RgbImage* renderOf(const std::string& key);
    void cancelRender();
    // The mixed pose as one step of the document, or of the slider's gesture.
    void setPose(int gesture);

    vWindow* owner_;
    Document& document_;
    int toggleCommand_;
    std::string shippedFolder_;
    std::string userFolder_; // UTF-8
    ExpressionListing listing_;
    // Draws the thumbnails: the face's own drawing, never in a window.
    FaceCanvasPane painter_;
    HWND scrollBar_ = nullptr;
    HWND tips_ = nullptr;
    int tipCount_ = 0;
    int gridHeight_ = Rows * CellHeight;
    int firstRow_ = 0;
    int mixPercent_ = 100;
    int ticks_ = 0;
    // The shipped and the remembered folder's change notifications.
    HANDLE watches_[2] = {INVALID_HANDLE_VALUE, INVALID_HANDLE_VALUE};
    PovrayRunner runners_[Runners];
    PovraySearch search_;
    std::string program_;
    bool povraySearched_ = false; // its result taken
    // Each runner's render in progress (0: none) and its frames' cache names.
    struct Job {
        int number = 0;
        std::vector<std::string> keys;
    };
    Job jobs_[Runners];
    int failedStarts_ = 0; // in a row
    int wheelRest_ = 0;    // wheel turns short of a row
    // The cache name of each listed expression's render; "" for a file
    // that is no pose.
    std::vector<std::string> keys_;
    ThumbnailCache cache_{MaxCachedRenders};
    // Renders read from the cache folder, by cache name.
    std::map<std::string, RgbImage> renders_;
    // The last click: the pose before it, the expression and the pose set.
    bool applied_ = false;
    std::string appliedName_;
    float base_[PoseCount] = {};
    float target_[PoseCount] = {};
    float mixed_[PoseCount] = {};
};
