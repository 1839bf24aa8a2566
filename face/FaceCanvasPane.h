// The face view: draws the robot's face for the pose into an off-screen
// buffer, shows it with one block copy, selects the part nearest to a left
// click and drags it while the button is held.
#pragma once

#include "face/FaceDrag.h"
#include "face/FaceGeometry.h"
#include "face/PoseModel.h"
#include "framework/draw/vCanvasPane.h"
#include "framework/draw/vMemoryDC.h"

#include <functional>

class FaceCanvasPane : public vCanvasPane, public PoseModel {
  public:
    FaceCanvasPane();

    void drawFace();
    // Draws the face into `offscreen` only: also a picture of a pose made
    // without a window (the pane then has no drawing context of its own).
    void paintFace();
    int findNearestHandle(int x, int y) { return nearestHandle(handles, x, y); }
    void useDrawColor(const vColor& color);
    void useFillColor(const vColor& color);

    void onMouseDown(int x, int y, int button) override;
    void onMouseUp(int x, int y, int button) override;
    void onMouseDrag(int x, int y, int button) override;
    // A move with the button up: its release went astray.
    void onMouseMove(int, int) override { endDrag(); }
    void onCaptureLost() override { endDrag(); }
    // Ends a drag in progress, as releasing the button would.
    void endDrag();
    bool dragging() const { return drag.active; }

    // Told of a press that chose the selection (a part or none), after the
    // redraw; of each move of a drag that changed the pose, after the redraw;
    // and of the drag's end with the pose and selection from before its press.
    std::function<void()> onPress;
    std::function<void()> onDragStep;
    std::function<void(const PoseState& before)> onDragEnd;
    // The box around everything the face draws (any pose within the keys'
    // limits), in the pane's pixels.
    RECT drawnArea() const;
    void onRedraw(int, int, int, int) override { drawFace(); }
    void onResize(int width, int height) override;

    // Until the first drawFace the handles lie far beyond any click.
    HandlePoint handles[HandleCount];
    vBrush brush;
    vPen pen;
    int penWidth = 1;
    float centerX = 175;
    float centerY = 175;
    vMemoryDC offscreen;

  private:
    void drawEyeWhites();
    void drawEyes(const FaceGeometry& face);
    void drawEyelids(const FaceGeometry& face);
    void drawMouth();

    FaceDrag drag;
};
