#include "framework/app/FrameLayout.h"

void stackBars(BarSlot* bars, int count, int& top, int& bottom) {
    top = 0;
    for (int i = 0; i < count; ++i) {
        BarSlot& bar = bars[i];
        if (bar.statusBar) {
            bottom -= bar.height;
            bar.top = bottom;
            bar.edge = bottom;
        } else {
            bar.top = top;
            top += bar.height;
            bar.edge = top;
        }
    }
}
