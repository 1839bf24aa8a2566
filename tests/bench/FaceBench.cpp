// Prints the median time of one drawFace next to the same picture drawn with
// raw platform calls: on one memory device context with one block copy, and
// with a memory device context obtained and released around each operation.
#include "face/FaceCanvasPane.h"
#include "face/FaceColors.h"
#include "framework/app/vApp.h"
#include "framework/app/vCmdWindow.h"
#include "tests/bench/BenchTiming.h"

#include <cstdio>
#include <windows.h>

namespace {

vApp application("Face benchmark", 0, 0, 0);

constexpr int Calls = 300;

class FaceWindow : public vCmdWindow {
  public:
    FaceWindow() : vCmdWindow("Face", 350, 350) {}
    FaceCanvasPane canvas;
};

// A 300 x 300 bitmap of the window's pixel format, the kind the per-operation
// lifecycle selects cheaply.
HBITMAP formatBitmap(HDC device) {
    BITMAPINFO info = {};
    int bits = GetDeviceCaps(device, BITSPIXEL) * GetDeviceCaps(device, PLANES);
    info.bmiHeader = {
        sizeof(BITMAPINFOHEADER), 300, -300, 1, WORD(bits < 24 ? 32 : bits), BI_RGB, 0, 0, 0, 0, 0};
    void* bits32 = nullptr;
    return CreateDIBSection(device, &info, DIB_RGB_COLORS, &bits32, nullptr, 0);
}

// The default face, drawn with raw calls and pens and brushes made once:
// either on one memory device context kept for the whole picture, or with a
// memory device context obtained and released around each operation.
class RawFace {
  public:
    RawFace(HWND window, HWND frame, bool perOperation)
        : window(window), frame(frame), perOperation(perOperation) {
        HDC screen = GetDC(frame);
        bitmap = perOperation ? formatBitmap(screen) : CreateCompatibleBitmap(screen, 300, 300);
        if (!perOperation) {
            memory = CreateCompatibleDC(screen);
            previous = SelectObject(memory, bitmap);
        }
        ReleaseDC(frame, screen);
    }
    ~RawFace() {
        if (memory) {
            SelectObject(memory, previous);
            DeleteDC(memory);
        }
        DeleteObject(bitmap);
        for (HGDIOBJ o :
             {HGDIOBJ(black1), HGDIOBJ(white25), HGDIOBJ(pink2), HGDIOBJ(black3), HGDIOBJ(red3),
              HGDIOBJ(black5), HGDIOBJ(whiteFill), HGDIOBJ(blueFill), HGDIOBJ(blackFill)})
            DeleteObject(o);
    }

    void draw(const FaceGeometry& face) {
        fill({0, 0, 300, 300});
        ellipse(black1, whiteFill, 105, 115, 151, 161);
        ellipse(black1, whiteFill, 205, 115, 251, 161);
        ellipse(black1, blueFill, 113, 123, 143, 153);
        ellipse(black1, blueFill, 213, 123, 243, 153);
        ellipse(black1, blackFill, 123, 133, 133, 143);
        ellipse(black1, blackFill, 223, 133, 233, 143);
        HBRUSH hollow = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        ellipse(white25, hollow, 90, 100, 166, 176);
        ellipse(white25, hollow, 190, 100, 266, 176);
        for (RECT lid : {RECT{95, 103, 175, 125}, RECT{95, 150, 175, 200}, RECT{175, 103, 255, 125},
                         RECT{175, 150, 255, 200}})
            fill(lid);
        line(black1, 95, 150, 165, 150);
        line(black1, 190, 150, 265, 150);
        line(pink2, 95, 125, 165, 125);
        line(pink2, 190, 125, 265, 125);
        for (int i = 2; i < 6; ++i) {
            int x = truncateToPixel(face.handles[i].x), y = truncateToPixel(face.handles[i].y);
            ellipse(black3, blackFill, x, y, x + 5, y + 5);
        }
        for (int i = 6; i < 10; ++i)
            line(red3, truncateToPixel(face.handles[i].x), truncateToPixel(face.handles[i].y),
                 truncateToPixel(face.handles[i + 1].x), truncateToPixel(face.handles[i + 1].y));
        for (int i = 6; i < 11; ++i) {
            int x = truncateToPixel(face.handles[i].x), y = truncateToPixel(face.handles[i].y);
            line(black5, x, y, x + 1, y + 1);
        }
        HDC target = GetDC(window);
        HDC source = begin(nullptr, nullptr);
        BitBlt(target, 0, 0, 300, 300, source, 0, 0, SRCCOPY);
        end(source);
        ReleaseDC(window, target);
    }

  private:
    // The context for one operation, with the pen and brush selected.
    HDC begin(HPEN pen, HBRUSH brush) {
        HDC dc = memory;
        if (perOperation) {
            HDC screen = GetDC(frame);
            dc = CreateCompatibleDC(screen);
            ReleaseDC(frame, screen);
            oldBitmap = SelectObject(dc, bitmap);
        }
        oldPen = pen ? SelectObject(dc, pen) : nullptr;
        oldBrush = brush ? SelectObject(dc, brush) : nullptr;
        return dc;
    }
    void end(HDC dc) {
        if (!perOperation) return;
        if (oldBrush) SelectObject(dc, oldBrush);
        if (oldPen) SelectObject(dc, oldPen);
        SelectObject(dc, oldBitmap);
        DeleteDC(dc);
    }
    void fill(RECT area) {
        HDC dc = begin(nullptr, nullptr);
        FillRect(dc, &area, whiteFill);
        end(dc);
    }
    void ellipse(HPEN pen, HBRUSH brush, int left, int top, int right, int bottom) {
        HDC dc = begin(pen, brush);
        Ellipse(dc, left, top, right, bottom);
        end(dc);
    }
    void line(HPEN pen, int x1, int y1, int x2, int y2) {
        HDC dc = begin(pen, nullptr);
        MoveToEx(dc, x1, y1, nullptr);
        LineTo(dc, x2, y2);
        end(dc);
    }

    HWND window;
    HWND frame;
    bool perOperation;
    HDC memory = nullptr;
    HBITMAP bitmap;
    HGDIOBJ previous = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    HGDIOBJ oldPen = nullptr;
    HGDIOBJ oldBrush = nullptr;
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

    double framework = medianOf(Calls, 1e3, [&](int) { face.drawFace(); });
    FaceGeometry geometry(face.pose, 175, 175);
    RawFace oneContext(window->nativeWindow, theApp->frameWindow, false);
    double baseline = medianOf(Calls, 1e3, [&](int) { oneContext.draw(geometry); });
    RawFace eachOperation(window->nativeWindow, theApp->frameWindow, true);
    double lifecycle = medianOf(Calls, 1e3, [&](int) { eachOperation.draw(geometry); });

    std::printf("face redraw, median of %d calls after warm-up\n", Calls);
    std::printf("  drawFace:                     %7.3f ms\n", framework);
    std::printf("  raw GDI, one DC and one copy: %7.3f ms\n", baseline);
    std::printf("  raw GDI, a DC per operation:  %7.3f ms\n", lifecycle);
    std::printf("  ratio to one DC:              %7.2f\n", framework / baseline);
    std::printf("  ratio to a DC per operation:  %7.2f\n", framework / lifecycle);
    std::printf("  share of a 60 Hz frame:       %6.1f %%\n", framework / (1000.0 / 60) * 100);

    // What the platform charges for each operation's own context, the steps
    // a memory context takes around every drawing (the face takes 30).
    HWND frame = theApp->frameWindow;
    double getDC = medianOf(Calls, 1e6, [&](int) { ReleaseDC(frame, GetDC(frame)); });
    double makeDC = medianOf(Calls, 1e6, [&](int) { DeleteDC(CreateCompatibleDC(nullptr)); });
    HDC screen = GetDC(frame);
    HBITMAP surface = formatBitmap(screen);
    ReleaseDC(frame, screen);
    HDC holder = CreateCompatibleDC(nullptr);
    double select =
        medianOf(Calls, 1e6, [&](int) { SelectObject(holder, SelectObject(holder, surface)); });
    DeleteDC(holder);
    DeleteObject(surface);
    std::printf("platform steps around one operation, median\n");
    std::printf("  GetDC and ReleaseDC:           %7.1f us\n", getDC);
    std::printf("  CreateCompatibleDC and DeleteDC: %5.1f us\n", makeDC);
    std::printf("  bitmap selected in and out:    %7.1f us\n", select);
    std::printf("  for 30 operations:             %7.3f ms\n",
                30 * (getDC + makeDC + select) / 1e3);
    theApp->closeAppWindow(window);
    return 0;
}
