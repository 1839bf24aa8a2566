// The face view: draws the robot's face for the pose into an off-screen
// buffer, shows it with one block copy, and selects the part nearest to a
// left click.
#pragma once

#include "face/FaceGeometry.h"
#include "face/PoseModel.h"
#include "framework/draw/vCanvasPane.h"
#include "framework/draw/vMemoryDC.h"

class FaceCanvasPane : public vCanvasPane, public PoseModel {
  public:
    FaceCanvasPane();

    void drawFace();
    int findNearestHandle(int x, int y) { return nearestHandle(handles, x, y); }
    void useDrawColor(const vColor& color);
    void useFillColor(const vColor& color);

    void onMouseDown(int x, int y, int button) override;
    void onMouseUp(int x, int y, int button) override { vCanvasPane::onMouseUp(x, y, button); }
    void onMouseDrag(int x, int y, int button) override { vCanvasPane::onMouseDrag(x, y, button); }
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
};
