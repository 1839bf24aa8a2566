// The face view in a real window: the picture for a pose, the highlight of
// the selected part, and selection by real mouse messages.
#include "face/FaceCanvasPane.h"
#include "framework/app/vApp.h"
#include "framework/app/vCmdWindow.h"
#include "tests/framework/Pixels.h"
#include "tests/win/WinTest.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t White = 0xFFFFFF;
constexpr uint32_t Black = 0x000000;
constexpr uint32_t IrisBlue = 0xFF4040;   // 64, 64, 255
constexpr uint32_t MouthRed = 0x4040FF;   // 255, 64, 64
constexpr uint32_t DustyPink = 0xA4A4C8;  // 200, 164, 164
constexpr uint32_t DullYellow = 0x40C8C8; // 200, 200, 64

class FaceWindow : public vCmdWindow {
  public:
    FaceWindow(int width, int height) : vCmdWindow("Face", width, height) {}
    FaceCanvasPane canvas;
};

class FaceView : public ::testing::Test {
  protected:
    void SetUp() override { open(350, 350); }
    void TearDown() override { close(); }

    void open(int width, int height) {
        window = new FaceWindow(width, height);
        theApp->newAppWindow(window, "Face", width, height, nullptr);
        window->addPane(&window->canvas);
        pumpMessages();
    }
    void close() {
        theApp->closeAppWindow(window);
        theApp->deleteList.remove(window);
        delete window;
        int code;
        takeQuit(code);
    }
    // Draws the face centred on (175, 175), as in a 350 x 350 pane.
    Pixels draw() {
        face().centerX = 175;
        face().centerY = 175;
        face().drawFace();
        return Pixels(face().offscreen);
    }
    FaceCanvasPane& face() { return window->canvas; }
    HWND hwnd() { return window->nativeWindow; }
    uint32_t onScreen(int x, int y) {
        HDC dc = GetDC(hwnd());
        uint32_t color = GetPixel(dc, x, y);
        ReleaseDC(hwnd(), dc);
        return color;
    }

    FaceWindow* window = nullptr;
};

TEST_F(FaceView, ResizeCentresTheFaceByIntegerHalves) {
    SendMessageA(hwnd(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(351, 299));
    EXPECT_EQ(face().centerX, 175.0f);
    EXPECT_EQ(face().centerY, 149.0f);
}

TEST_F(FaceView, DefaultPicture) {
    Pixels p = draw();
    // Eye whites in the boxes (105, 115, 46, 46) and (205, 115, 46, 46), edged
    // black; pupils of diameter 10 on (128, 138) and (228, 138) in irises of
    // radius 15.
    for (int side : {0, 100}) {
        const Spot eye[] = {
            {side + 104, 138, White},    {side + 105, 138, Black},    {side + 150, 138, Black},
            {side + 151, 138, White},    {side + 128, 138, Black},    {side + 123, 138, Black},
            {side + 132, 138, Black},    {side + 133, 138, IrisBlue}, {side + 122, 138, IrisBlue},
            {side + 128, 132, IrisBlue}, {side + 145, 138, White}};
        expectSpots(p, eye);
    }
    // Lower lid lines at y 150, upper ones at y 125, nothing beyond them; the
    // mouth's black dots at y 235 from x 75 to 275, red segments between; lid
    // markers right of and below their handles.
    const Spot lidsAndMouth[] = {{100, 150, Black},     {260, 150, Black},    {100, 125, DustyPink},
                                 {260, 125, DustyPink}, {128, 152, White},    {128, 122, White},
                                 {75, 235, Black},      {125, 235, Black},    {175, 235, Black},
                                 {225, 235, Black},     {275, 235, Black},    {100, 235, MouthRed},
                                 {150, 235, MouthRed},  {200, 235, MouthRed}, {250, 235, MouthRed},
                                 {70, 235, White},      {100, 240, White},    {167, 152, Black}};
    expectSpots(p, lidsAndMouth);
    EXPECT_EQ(p.count(DullYellow), 0);
    // The pen and brush left behind are black, width 1 and solid.
    EXPECT_EQ(face().offscreen.getPen().width, 1);
    EXPECT_EQ(face().pen.color, vColor(0, 0, 0));
    EXPECT_EQ(face().offscreen.getBrush().style, BrushSolid);
}

TEST_F(FaceView, SelectedPartIsDullYellow) {
    face().selection = 8;
    expectSpots(draw(), {{175, 235, DullYellow}, {125, 235, Black}});
    face().selection = 1;
    expectSpots(draw(), {{120, 138, DullYellow}, {236, 138, DullYellow}, {175, 235, Black}});
    face().selection = 3; // upper left lid: marker at (165, 120)
    expectSpots(draw(), {{167, 122, DullYellow}, {167, 152, Black}, {120, 138, IrisBlue}});
}

TEST_F(FaceView, GazeAndPupilSize) {
    Pixels centred = draw();
    expectSpots(centred, {{128, 138, Black}, {145, 138, White}});
    face().pose[PoseEyeY] = 90; // 25 pixels right
    expectSpots(draw(), {{128, 138, White}, {145, 138, IrisBlue}, {150, 138, Black}});
    face().pose[PoseEyeY] = 0;
    face().pose[PoseEyeX] = 90; // 25 pixels up, behind the upper lid
    expectSpots(draw(), {{128, 138, White}});
    face().pose[PoseEyeX] = 0;
    face().pose[PoseEyeZ] = 60;
    EXPECT_TRUE(draw() == centred);
    face().pose[PosePupil] = 0;
    expectSpots(draw(), {{128, 138, IrisBlue}, {228, 138, IrisBlue}});
}

TEST_F(FaceView, ClicksSelectTheNearestHandle) {
    FaceCanvasPane fresh;
    EXPECT_EQ(fresh.findNearestHandle(175, 235), -1) << "nothing before the first drawing";
    draw();
    window->activationClick = 0; // the window is active already
    SendMessageA(hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(175, 235));
    SendMessageA(hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(175, 235));
    EXPECT_EQ(face().selection, 8);
    EXPECT_EQ(onScreen(175, 235), DullYellow);
    // Other buttons and their drags change nothing; a left press selects.
    SendMessageA(hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(128, 138));
    SendMessageA(hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(128, 138));
    SendMessageA(hwnd(), WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(128, 138));
    SendMessageA(hwnd(), WM_MOUSEMOVE, MK_MBUTTON, MAKELPARAM(128, 138));
    SendMessageA(hwnd(), WM_MBUTTONUP, 0, MAKELPARAM(128, 138));
    EXPECT_EQ(face().selection, 8);
    SendMessageA(hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(165, 150));
    SendMessageA(hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(165, 150));
    EXPECT_EQ(face().selection, 2);
    EXPECT_EQ(onScreen(167, 152), DullYellow);
    // A press far from every handle stores -1 and leaves the highlight.
    face().onMouseDown(2000, 2000, 1);
    EXPECT_EQ(face().selection, -1);
    EXPECT_EQ(onScreen(167, 152), DullYellow);
    EXPECT_EQ(Pixels(face().offscreen).at(167, 152), DullYellow);
}

TEST_F(FaceView, WindowShowsTheBufferAndBackgroundBeyondIt) {
    // Moving the window reports the new size, which centres the face.
    face().setWidthHeight(420, 420);
    pumpMessages();
    RECT client;
    GetClientRect(hwnd(), &client);
    ASSERT_GE(client.right, 340);
    ASSERT_GE(client.bottom, 340);
    EXPECT_EQ(face().centerX, float(client.right / 2));
    InvalidateRect(hwnd(), nullptr, FALSE);
    UpdateWindow(hwnd());
    int base = int(face().centerY) + 60;
    int middle = int(face().centerX);
    EXPECT_EQ(onScreen(middle, base), Black) << "middle mouth dot";
    EXPECT_EQ(onScreen(middle - 25, base), MouthRed);
    // The right end of the mouth lies beyond the 300-pixel buffer.
    EXPECT_EQ(onScreen(middle + 100, base), White);
    EXPECT_EQ(onScreen(310, base), White);
    EXPECT_EQ(onScreen(client.right - 1, client.bottom - 1), White);
}

} // namespace
