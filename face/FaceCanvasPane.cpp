#include "face/FaceCanvasPane.h"

#include "face/FaceColors.h"

FaceCanvasPane::FaceCanvasPane() : vCanvasPane(0), offscreen(300, 300) {
    for (HandlePoint& handle : handles)
        handle = {1e9, 1e9};
    offscreen.clear();
    resetPose();
}

void FaceCanvasPane::useDrawColor(const vColor& color) {
    pen.setColor(color);
    pen.setWidth(penWidth);
    if (dc) setPen(pen);
    offscreen.setPen(pen);
}

void FaceCanvasPane::useFillColor(const vColor& color) {
    brush.setColor(color);
    if (dc) setBrush(brush);
    offscreen.setBrush(brush);
}

void FaceCanvasPane::onResize(int width, int height) {
    centerX = float(width / 2);
    centerY = float(height / 2);
}

void FaceCanvasPane::onMouseDown(int x, int y, int button) {
    // A second press keeps the first drag as a step of its own.
    endDrag();
    if (button != 1) return;
    PoseState before = state();
    selection = findNearestHandle(x, y);
    if (selection >= 0) drawFace();
    if (onPress) onPress();
    if (selection < 0) return;
    drag.begin(before, x, y);
    // A release outside the window still ends the drag.
    SetCapture(hwnd);
}

void FaceCanvasPane::onMouseDrag(int x, int y, int button) {
    if (button != 1 || !drag.active || !drag.moveTo(*this, x, y, centerX, centerY)) return;
    drawFace();
    if (onDragStep) onDragStep();
}

void FaceCanvasPane::onMouseUp(int, int, int button) {
    if (button == 1) endDrag();
}

void FaceCanvasPane::endDrag() {
    if (!drag.active) return;
    drag.active = false;
    if (GetCapture() == hwnd) ReleaseCapture();
    if (onDragEnd) onDragEnd(drag.before);
}

RECT FaceCanvasPane::drawnArea() const {
    // The eyes' wide rings and the mouth's ends reach 103 pixels to the
    // sides; the rings 87 up, the lowest mouth point and its pen 118 down.
    int x = truncateToPixel(centerX), y = truncateToPixel(centerY);
    return {x - 104, y - 88, x + 105, y + 119};
}

void FaceCanvasPane::drawFace() {
    paintFace();
    copyFromMemoryDC(&offscreen, 0, 0, 0, 0, 0, 0);
}

void FaceCanvasPane::paintFace() {
    FaceGeometry face(pose, centerX, centerY);
    for (int i = 0; i < HandleCount; ++i)
        handles[i] = face.handles[i];
    offscreen.clear();
    drawEyeWhites();
    drawEyes(face);
    drawEyelids(face);
    drawMouth();
}

void FaceCanvasPane::drawEyeWhites() {
    penWidth = 1;
    useDrawColor(colorBlack);
    useFillColor(colorWhite);
    offscreen.drawEllipse(truncateToPixel(centerX - 70), truncateToPixel(centerY - 60), 46, 46);
    offscreen.drawEllipse(truncateToPixel(centerX + 30), truncateToPixel(centerY - 60), 46, 46);
}

void FaceCanvasPane::drawEyes(const FaceGeometry& face) {
    const vColor& iris = selection == 0 || selection == 1 ? colorDullYellow : colorBlue;
    double ex = face.eyeX;
    double ey = face.eyeY;
    penWidth = 1;
    useDrawColor(iris);
    useFillColor(iris);
    offscreen.drawEllipse(truncateToPixel(ex - 47 - 15), truncateToPixel(ey - 37 - 15), 30, 30);
    offscreen.drawEllipse(truncateToPixel(ex + 53 - 15), truncateToPixel(ey - 37 - 15), 30, 30);

    double r = face.pupilRadius;
    int d = truncateToPixel(2 * r);
    useDrawColor(colorBlack);
    useFillColor(colorBlack);
    offscreen.drawEllipse(truncateToPixel(ex - 47 - r), truncateToPixel(ey - 37 - r), d, d);
    offscreen.drawEllipse(truncateToPixel(ex + 53 - r), truncateToPixel(ey - 37 - r), d, d);

    // Wide white rings hide whatever part of an iris lies outside its eye.
    penWidth = 25;
    useDrawColor(colorWhite);
    brush.setStyle(BrushTransparent);
    useFillColor(colorBlack);
    offscreen.drawEllipse(truncateToPixel(centerX - 70 - 15), truncateToPixel(centerY - 60 - 15),
                          76, 76);
    offscreen.drawEllipse(truncateToPixel(centerX + 30 - 15), truncateToPixel(centerY - 60 - 15),
                          76, 76);

    penWidth = 1;
    useDrawColor(colorBlack);
    brush.setStyle(BrushSolid);
    useFillColor(colorBlack);
}

void FaceCanvasPane::drawEyelids(const FaceGeometry& face) {
    const float* s = face.lid;
    float cx = centerX;
    float cy = centerY;
    // The lids are background painted over the eyes.
    offscreen.clearRect(truncateToPixel(cx - 80), truncateToPixel(cy - 72), 80,
                        truncateToPixel(35 + s[1]));
    offscreen.clearRect(truncateToPixel(cx - 80), truncateToPixel(cy - 37 + s[0]), 80, 50);
    offscreen.clearRect(truncateToPixel(cx), truncateToPixel(cy - 72), 80,
                        truncateToPixel(35 + s[3]));
    offscreen.clearRect(truncateToPixel(cx), truncateToPixel(cy - 37 + s[2]), 80, 50);

    int y4 = face.lidRow[0];
    int y6 = face.lidRow[2];
    offscreen.drawLine(truncateToPixel(cx - 80), y4, truncateToPixel(cx - 10), y4);
    offscreen.drawLine(truncateToPixel(cx + 15), y6, truncateToPixel(cx + 90), y6);

    penWidth = 2;
    useDrawColor(colorDustyPink);
    int y5 = face.lidRow[1];
    int y7 = face.lidRow[3];
    offscreen.drawLine(truncateToPixel(cx - 80), y5, truncateToPixel(cx - 10), y5);
    offscreen.drawLine(truncateToPixel(cx + 15), y7, truncateToPixel(cx + 90), y7);

    penWidth = 3;
    for (int i = HandleLidFirst; i < HandleMouthFirst; ++i) {
        const vColor& marker = i == selection ? colorDullYellow : colorBlack;
        useFillColor(marker);
        useDrawColor(marker);
        offscreen.drawEllipse(truncateToPixel(handles[i].x), truncateToPixel(handles[i].y), 5, 5);
    }
    useFillColor(colorBlack);
    useDrawColor(colorBlack);
}

void FaceCanvasPane::drawMouth() {
    penWidth = 3;
    useDrawColor(colorRed);
    for (int i = HandleMouthFirst; i < HandleCount - 1; ++i)
        offscreen.drawLine(truncateToPixel(handles[i].x), truncateToPixel(handles[i].y),
                           truncateToPixel(handles[i + 1].x), truncateToPixel(handles[i + 1].y));
    penWidth = 5;
    useDrawColor(colorBlack);
    for (int i = HandleMouthFirst; i < HandleCount; ++i) {
        if (i == selection) useDrawColor(colorDullYellow);
        offscreen.drawPoint(truncateToPixel(handles[i].x), truncateToPixel(handles[i].y));
        if (i == selection) useDrawColor(colorBlack);
    }
    penWidth = 1;
    useDrawColor(colorBlack);
}
