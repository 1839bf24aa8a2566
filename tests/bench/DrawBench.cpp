// Prints the median time per drawing operation of a memory context next to
// the same raw platform calls on one device context, measured in one run.
#include "framework/draw/vMemoryDC.h"
#include "tests/bench/BenchTiming.h"

#include <cstdio>
#include <windows.h>

namespace {

constexpr int OpsPerRound = 8;
constexpr int Rounds = 400;

// The median time of one operation, in microseconds, over Rounds rounds.
template <class Round> double medianPerOperation(Round round) {
    return medianOf(Rounds, 1e6 / OpsPerRound, round);
}

void frameworkRound(vMemoryDC& dc, int i) {
    dc.clearRect(0, 0, 300, 300);
    dc.drawEllipse(10 + i % 50, 10, 46, 46);
    dc.drawEllipse(100, 100, 30, 30);
    dc.drawRectangle(20, 200, 60, 40);
    dc.drawLine(0, 150, 299, 150 + i % 20);
    dc.drawLine(150, 0, 150, 299);
    dc.drawPoint(75, 235);
    dc.drawText(10, 290, "TavokFace");
}

struct RawTools {
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    HBRUSH brush = CreateSolidBrush(0x0000FF);
    HBRUSH white = CreateSolidBrush(0xFFFFFF);
    ~RawTools() {
        DeleteObject(pen);
        DeleteObject(brush);
        DeleteObject(white);
    }
};

void rawRound(HDC hdc, RawTools& tools, int i) {
    RECT all = {0, 0, 300, 300};
    FillRect(hdc, &all, tools.white);
    SelectObject(hdc, tools.pen);
    SelectObject(hdc, tools.brush);
    Ellipse(hdc, 10 + i % 50, 10, 56 + i % 50, 56);
    Ellipse(hdc, 100, 100, 130, 130);
    Rectangle(hdc, 20, 200, 81, 241);
    MoveToEx(hdc, 0, 150, nullptr);
    LineTo(hdc, 299, 150 + i % 20);
    MoveToEx(hdc, 150, 0, nullptr);
    LineTo(hdc, 150, 299);
    MoveToEx(hdc, 75, 235, nullptr);
    LineTo(hdc, 76, 236);
    SelectObject(hdc, GetStockObject(SYSTEM_FIXED_FONT));
    TextOutA(hdc, 10, 274, "TavokFace", 9);
}

} // namespace

int main() {
    vMemoryDC dc(300, 300);
    dc.setBrush(vBrush(255, 0, 0));
    double framework = medianPerOperation([&](int i) { frameworkRound(dc, i); });

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 300, 300);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    RawTools tools;
    double raw = medianPerOperation([&](int i) { rawRound(memory, tools, i); });
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);

    std::printf("drawing on a 300 x 300 memory context, median per operation (%d rounds of %d)\n",
                Rounds, OpsPerRound);
    std::printf("  framework context: %8.2f us\n", framework);
    std::printf("  raw GDI, one DC:   %8.2f us\n", raw);
    std::printf("  ratio:             %8.2f\n", framework / raw);
    return 0;
}
