// Prints the median time of one drawFace next to the same picture drawn with
// raw platform calls on one memory device context and one block copy.
#include "face/FaceCanvasPane.h"
#include "face/FaceColors.h"
#include "framework/app/vApp.h"
#include "framework/app/vCmdWindow.h"

#include <algorithm>
#include <cstdio>
#include <vector>
#include <windows.h>

namespace {

vApp application("Face benchmark", 0, 0, 0);

constexpr int Calls = 300;

double now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return double(count.QuadPart) / double(frequency.QuadPart);
}

// Median milliseconds of one call, after a warm-up.
template <class Call> double median(Call call) {
    for (int i = 0; i < 30; ++i)
        call();
    std::vector<double> times;
    for (int i = 0; i < Calls; ++i) {
        double start = now();
        call();
        times.push_back((now() - start) * 1e3);
    }
    std::nth_element(times.begin(), times.begin() + Calls / 2, times.end());
    return times[Calls / 2];
}

class FaceWindow : public vCmdWindow {
  public:
    FaceWindow() : vCmdWindow("Face", 350, 350) {}
    FaceCanvasPane canvas;
};

// The default face, drawn with raw calls and pens and brushes made once.
class RawFace {
  public:
    explicit RawFace(HWND window) : window(window) {
        HDC screen = GetDC(window);
        memory = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, 300, 300);
        ReleaseDC(window, screen);
        previous = SelectObject(memory, bitmap);
    }
    ~RawFace() {
        SelectObject(memory, previous);
        DeleteObject(bitmap);
        DeleteDC(memory);
        for (HGDIOBJ o :
             {HGDIOBJ(black1), HGDIOBJ(white25), HGDIOBJ(pink2), HGDIOBJ(black3), HGDIOBJ(red3),
              HGDIOBJ(black5), HGDIOBJ(whiteFill), HGDIOBJ(blueFill), HGDIOBJ(blackFill)})
            DeleteObject(o);
    }

    void draw(const FaceGeometry& face) {
        RECT all = {0, 0, 300, 300};
        FillRect(memory, &all, whiteFill);
        use(black1, whiteFill);
        Ellipse(memory, 105, 115, 151, 161);
        Ellipse(memory, 205, 115, 251, 161);
        use(black1, blueFill);
        Ellipse(memory, 113, 123, 143, 153);
        Ellipse(memory, 213, 123, 243, 153);
        use(black1, blackFill);
        Ellipse(memory, 123, 133, 133, 143);
        Ellipse(memory, 223, 133, 233, 143);
        use(white25, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
        Ellipse(memory, 90, 100, 166, 176);
        Ellipse(memory, 190, 100, 266, 176);
        RECT lids[] = {
            {95, 103, 175, 125}, {95, 150, 175, 200}, {175, 103, 255, 125}, {175, 150, 255, 200}};
        for (RECT& lid : lids)
            FillRect(memory, &lid, whiteFill);
        use(black1, blackFill);
        line(95, 150, 165, 150);
        line(190, 150, 265, 150);
        use(pink2, blackFill);
        line(95, 125, 165, 125);
        line(190, 125, 265, 125);
        use(black3, blackFill);
        for (int i = 2; i < 6; ++i) {
            int x = truncateToPixel(face.handles[i].x), y = truncateToPixel(face.handles[i].y);
            Ellipse(memory, x, y, x + 5, y + 5);
        }
        use(red3, blackFill);
        for (int i = 6; i < 10; ++i)
            line(truncateToPixel(face.handles[i].x), truncateToPixel(face.handles[i].y),
                 truncateToPixel(face.handles[i + 1].x), truncateToPixel(face.handles[i + 1].y));
        use(black5, blackFill);
        for (int i = 6; i < 11; ++i) {
            int x = truncateToPixel(face.handles[i].x), y = truncateToPixel(face.handles[i].y);
            line(x, y, x + 1, y + 1);
        }
        HDC target = GetDC(window);
        BitBlt(target, 0, 0, 300, 300, memory, 0, 0, SRCCOPY);
        ReleaseDC(window, target);
    }

  private:
    void use(HPEN pen, HBRUSH brush) {
        SelectObject(memory, pen);
        SelectObject(memory, brush);
    }
    void line(int x1, int y1, int x2, int y2) {
        MoveToEx(memory, x1, y1, nullptr);
        LineTo(memory, x2, y2);
    }

    HWND window;
    HDC memory;
    HBITMAP bitmap;
    HGDIOBJ previous;
    HPEN black1 = CreatePen(PS_SOLID, 1, colorBlack.packed);
    HPEN white25 = CreatePen(PS_SOLID, 25, colorWhite.packed);
    HPEN pink2 = CreatePen(PS_SOLID, 2, colorDustyPink.packed);
    HPEN black3 = CreatePen(PS_SOLID, 3, colorBlack.packed);
    HPEN red3 = CreatePen(PS_SOLID, 3, colorRed.packed);
    HPEN black5 = CreatePen(PS_SOLID, 5, colorBlack.packed);
    HBRUSH whiteFill = CreateSolidBrush(colorWhite.packed);
    HBRUSH blueFill = CreateSolidBrush(colorBlue.packed);
    HBRUSH blackFill = CreateSolidBrush(colorBlack.packed);
};

} // namespace

int main() {
    char program[] = "face_bench";
    char* args[] = {program, nullptr};
    int count = 1;
    theApp->initApp(count, args, GetModuleHandleA(nullptr), nullptr, SW_SHOWNORMAL);
    auto* window = new FaceWindow;
    theApp->newAppWindow(window, "Face", 350, 350, nullptr);
    window->addPane(&window->canvas);
    FaceCanvasPane& face = window->canvas;
    face.centerX = 175;
    face.centerY = 175;

    double framework = median([&] { face.drawFace(); });
    RawFace raw(window->nativeWindow);
    FaceGeometry geometry(face.pose, 175, 175);
    double baseline = median([&] { raw.draw(geometry); });

    std::printf("face redraw, median of %d calls after warm-up\n", Calls);
    std::printf("  drawFace:                     %7.3f ms\n", framework);
    std::printf("  raw GDI, one DC and one copy: %7.3f ms\n", baseline);
    std::printf("  ratio:                        %7.2f\n", framework / baseline);
    std::printf("  share of a 60 Hz frame:       %6.1f %%\n", framework / (1000.0 / 60) * 100);
    theApp->closeAppWindow(window);
    return 0;
}
