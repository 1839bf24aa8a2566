#include "app/ExpressionWindow.h"

#include "app/FaceTables.h"
#include "app/FileDialogState.h"
#include "document/Document.h"
#include "framework/app/vWindow.h"
#include "expressions/ExpressionMix.h"
#include "expressions/ThumbnailKey.h"
#include "framework/draw/vWinDC.h"
#include "render/Povray.h"
#include "render/WicImage.h"

#include <algorithm>
#include <commctrl.h>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

int mixRange[] = {0, 100};

CommandObject panelCommands[] = {
    {Label, ExpressionWindow::IdMixLabel, 0, "Mix", nullptr, 0, 1, 0, 0, 0, 0, nullptr},
    {Slider, ExpressionWindow::IdMix, 100, "", mixRange, 0, 1, 0, 0, 0, 0, nullptr},
    {Label, ExpressionWindow::IdMixText, 0, "100 %", nullptr, 0, 1, 0, 0, 0, 0, nullptr},
    {Button, ExpressionWindow::IdAdd, 0, "Add current pose...", nullptr, 0, 1, 0, 0, 0, 0, nullptr},
    {}};

// The part of the face view's picture a thumbnail shows, with the face
// centred at (150, 120): the eyes and the mouth down to about -0.7.
const RECT faceArea = {30, 42, 270, 222};

std::string programFolder() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string program = length > 0 && length < sizeof path ? std::string(path) : std::string();
    return program.substr(0, program.find_last_of('\\') + 1);
}

// "poses" beside the program, else the source tree's.
std::string findShippedFolder() {
    std::string beside = programFolder() + "poses";
    DWORD attributes = GetFileAttributesA(beside.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return beside;
    return windowsPathOf(TAVOK_SOURCE_POSES);
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A name cut to the cell's width.
std::string shortName(const std::string& name) {
    return name.size() <= 16 ? name : name.substr(0, 15) + "\x85";
}

} // namespace

ExpressionWindow::ExpressionWindow(vWindow* owner, int toggleCommand, Document& document)
    : vToolWindow("Expressions", Columns * CellWidth, Rows * CellHeight), panel(panelCommands),
      owner_(owner), document_(document), toggleCommand_(toggleCommand),
      shippedFolder_(findShippedFolder()) {
    painter_.centerX = 150;
    painter_.centerY = 120;
    LONG_PTR style = GetWindowLongPtrA(nativeWindow, GWL_STYLE);
    SetWindowLongPtrA(nativeWindow, GWL_STYLE, style | WS_CLIPCHILDREN);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    int barWidth = GetSystemMetrics(SM_CXVSCROLL);
    scrollBar_ =
        CreateWindowExA(0, "SCROLLBAR", nullptr, WS_CHILD | SBS_VERT, Columns * CellWidth, 0,
                        barWidth, gridHeight_, nativeWindow, nullptr, instance, nullptr);
    tips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                            WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                            10, 10, nativeWindow, nullptr, instance, nullptr);
    SendMessageA(tips_, TTM_SETMAXTIPWIDTH, 0, 400);
    panel.onCommand = [this](int id, int value) {
        if (id == IdMix)
            mixChanged(value,
                       panel.scrollCode == SB_THUMBTRACK || panel.scrollCode == SB_THUMBPOSITION);
        if (id == IdAdd) {
            owner_->onCommand(IdSave, 0, 0);
            reload();
        }
    };
    panel.onRelease = [this](int id) {
        if (id == IdMix) mixReleased();
    };
    panel.create(nativeWindow);
    // The window grows to hold the grid, its scroll bar and the panel below.
    SIZE bar = panel.size();
    SetWindowPos(panel.windowHandle, nullptr, 0, gridHeight_, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT outer = {0, 0, std::max(int(bar.cx), Columns * CellWidth + barWidth),
                  gridHeight_ + int(bar.cy)};
    AdjustWindowRectEx(&outer, DWORD(GetWindowLongPtrA(nativeWindow, GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongPtrA(nativeWindow, GWL_EXSTYLE)));
    SetWindowPos(nativeWindow, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

ExpressionWindow::~ExpressionWindow() {
    shutDown();
    if (tips_) DestroyWindow(tips_);
}

void ExpressionWindow::shutDown() {
    close();
    runner_.close();
}

void ExpressionWindow::open() {
    // Looked for once: without it the thumbnails stay 2-D.
    if (!povraySearched_) program_ = runner_.findPovray();
    povraySearched_ = true;
    // Unchanged folders need no reading: their files are as listed.
    if (foldersChanged()) reload();
    show();
    if (neighbour) keepClearOf(*neighbour);
    start(RenderTick);
}

void ExpressionWindow::keepClearOf(const vToolWindow& other) {
    RECT own, theirs, both;
    if (!isShown() || !other.isShown() || !GetWindowRect(nativeWindow, &own) ||
        !GetWindowRect(other.nativeWindow, &theirs) || !IntersectRect(&both, &own, &theirs))
        return;
    SetWindowPos(nativeWindow, nullptr, theirs.left, theirs.bottom, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ExpressionWindow::close() {
    hide();
    stop();
    cancelRender();
}

void ExpressionWindow::cancelRender() {
    if (running_) runner_.cancel(running_);
    running_ = 0;
}

void ExpressionWindow::onClose() {
    owner_->onMenuCommand(toggleCommand_);
}

void ExpressionWindow::reload() {
    userFolder_ = lastDirectory;
    listing_ = listExpressions(shippedFolder_, userFolder_);
    stamp_ = folderStamp(shippedFolder_) + '|' + folderStamp(userFolder_);
    // Cache names are made as thumbnails need them: a file read costs.
    keys_.assign(listing_.listed.size(), std::string());
    renders_.clear();
    firstRow_ = std::clamp(firstRow_, 0, std::max(0, rowCount() - Rows));
    updateScrollBar();
    updateTips();
    redraw();
}

void ExpressionWindow::onTick() {
    if (++ticks_ % (PollInterval / RenderTick) == 0 && foldersChanged()) reload();
    renderNext();
}

void ExpressionWindow::renderNext() {
    if (running_) {
        PovrayRunner::State state = runner_.poll(running_);
        if (state == PovrayRunner::Running) return;
        running_ = 0;
        if (state == PovrayRunner::Rendered)
            keepRender(runningKey_, runner_.image);
        else
            failed_.insert(runningKey_);
    }
    // The preview's own render comes first.
    if (program_.empty() || (neighbourRendering && neighbourRendering())) return;
    int index = nextToRender();
    if (index < 0) return;
    runningKey_ = keyOf(index);
    running_ =
        runner_.start(program_, listing_.listed[std::size_t(index)].pose, ThumbWidth, ThumbHeight);
    // POV-Ray that cannot start is not tried again for every thumbnail.
    if (!running_) program_.clear();
}

int ExpressionWindow::nextToRender() {
    auto wanted = [this](int i) {
        const std::string& key = keyOf(i);
        return !key.empty() && !onDisk_.count(key) && !failed_.count(key);
    };
    int first = firstRow_ * Columns, count = int(keys_.size());
    for (int i = first; i < std::min(count, first + Rows * Columns); ++i)
        if (wanted(i)) return i;
    for (int i = 0; i < count; ++i)
        if (wanted(i)) return i;
    return -1;
}

const std::string& ExpressionWindow::keyOf(int index) {
    std::string& key = keys_[std::size_t(index)];
    const Expression& expression = listing_.listed[std::size_t(index)];
    if (key.empty() && expression.valid)
        key = thumbnailKey(fileBytes(expression.path), ThumbWidth, ThumbHeight);
    return key;
}

void ExpressionWindow::keepRender(const std::string& key, const RgbImage& image) {
    std::ofstream(runner_.folder() + key, std::ios::binary)
        << WicImage::encode(image, WicImage::Bmp);
    onDisk_.insert(key);
    cached_.push_back(key);
    if (int(cached_.size()) > MaxCachedRenders) {
        DeleteFileA((runner_.folder() + cached_.front()).c_str());
        onDisk_.erase(cached_.front());
        renders_.erase(cached_.front());
        cached_.pop_front();
    }
    redraw();
}

const RgbImage* ExpressionWindow::renderOf(const std::string& key) {
    if (!onDisk_.count(key)) return nullptr;
    auto known = renders_.find(key);
    if (known == renders_.end()) {
        // Memory holds about a screenful; the cache folder holds them all.
        if (renders_.size() > 2 * Rows * Columns) renders_.clear();
        RgbImage image;
        WicImage::decode(fileBytes(runner_.folder() + key), image);
        known = renders_.emplace(key, std::move(image)).first;
    }
    // A picture of another size (a damaged file) is not drawn.
    const RgbImage& image = known->second;
    return image.width == ThumbWidth && image.height == ThumbHeight ? &image : nullptr;
}

bool ExpressionWindow::foldersChanged() const {
    return userFolder_ != lastDirectory ||
           folderStamp(shippedFolder_) + '|' + folderStamp(userFolder_) != stamp_;
}

int ExpressionWindow::rowCount() const {
    int files = int(listing_.listed.size());
    return (files + Columns - 1) / Columns + (listing_.notListed > 0 ? 1 : 0);
}

int ExpressionWindow::indexAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= Columns * CellWidth || y >= gridHeight_) return -1;
    int index = (firstRow_ + y / CellHeight) * Columns + x / CellWidth;
    return index < int(listing_.listed.size()) ? index : -1;
}

void ExpressionWindow::apply(int index) {
    if (index < 0 || index >= int(listing_.listed.size())) return;
    const Expression& expression = listing_.listed[std::size_t(index)];
    if (!expression.valid) return;
    std::memcpy(base_, document_.model().pose, sizeof base_);
    std::memcpy(target_, expression.pose, sizeof target_);
    appliedName_ = expression.name;
    mixPose(base_, target_, mixPercent_ / 100.0, mixed_);
    setPose(GestureNone);
    applied_ = true;
}

void ExpressionWindow::mixChanged(int percent, bool dragged) {
    mixPercent_ = percent;
    panel.setString(IdMixText, (std::to_string(percent) + " %").c_str());
    if (!dragged) return;
    // Any other change since the click ends what the slider re-mixes.
    if (!applied_ || std::memcmp(document_.model().pose, mixed_, sizeof mixed_) != 0) {
        applied_ = false;
        return;
    }
    mixPose(base_, target_, percent / 100.0, mixed_);
    setPose(GestureMix);
}

void ExpressionWindow::setPose(int gesture) {
    document_.begin("Expression " + appliedName_, gesture);
    std::memcpy(document_.pose().pose, mixed_, sizeof mixed_);
    document_.commit();
}

void ExpressionWindow::mixReleased() {
    document_.endGesture();
}

void ExpressionWindow::onMouseDown(int x, int y) {
    apply(indexAt(x, y));
}

void ExpressionWindow::onScroll(int code, int thumb) {
    switch (code) {
    case SB_LINEUP: scrollTo(firstRow_ - 1); break;
    case SB_LINEDOWN: scrollTo(firstRow_ + 1); break;
    case SB_PAGEUP: scrollTo(firstRow_ - Rows); break;
    case SB_PAGEDOWN: scrollTo(firstRow_ + Rows); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: scrollTo(thumb); break;
    case SB_TOP: scrollTo(0); break;
    case SB_BOTTOM: scrollTo(rowCount()); break;
    default: break;
    }
}

void ExpressionWindow::onWheel(int delta) {
    scrollTo(firstRow_ - delta / WHEEL_DELTA);
}

void ExpressionWindow::scrollTo(int row) {
    row = std::clamp(row, 0, std::max(0, rowCount() - Rows));
    if (row == firstRow_) return;
    firstRow_ = row;
    SetScrollPos(scrollBar_, SB_CTL, firstRow_, TRUE);
    updateTips();
    redraw();
}

void ExpressionWindow::updateScrollBar() {
    bool fits = rowCount() <= Rows;
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = std::max(0, rowCount() - 1);
    info.nPage = Rows;
    info.nPos = firstRow_;
    SetScrollInfo(scrollBar_, SB_CTL, &info, TRUE);
    ShowWindow(scrollBar_, fits ? SW_HIDE : SW_SHOWNA);
}

void ExpressionWindow::updateTips() {
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    while (SendMessageA(tips_, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool)))
        SendMessageA(tips_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    // Only the cells on screen have tips: at most a grid's worth of tools.
    for (int cell = 0; cell < Rows * Columns; ++cell) {
        int index = firstRow_ * Columns + cell;
        if (index >= int(listing_.listed.size())) break;
        const Expression& expression = listing_.listed[std::size_t(index)];
        if (expression.valid) continue;
        tool = {};
        tool.cbSize = TTTOOLINFOA_V1_SIZE;
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = nativeWindow;
        tool.uId = UINT_PTR(index);
        int x = cell % Columns * CellWidth, y = cell / Columns * CellHeight;
        tool.rect = {x, y, x + CellWidth, y + CellHeight};
        tool.lpszText = const_cast<char*>(expression.message.c_str());
        SendMessageA(tips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

std::string ExpressionWindow::tipText(int index) const {
    char text[512] = "";
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = nativeWindow;
    tool.uId = UINT_PTR(index);
    tool.lpszText = text;
    SendMessageA(tips_, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    return text;
}

void ExpressionWindow::onRedraw(vWinDC& dc) {
    RECT client;
    GetClientRect(nativeWindow, &client);
    dc.setBrush(vBrush(240, 240, 240));
    dc.setPen(vPen(240, 240, 240));
    dc.drawRectangle(0, 0, client.right, gridHeight_);
    dc.font = vFont(FontSans, 9);
    for (int cell = 0; cell < Rows * Columns; ++cell) {
        int index = firstRow_ * Columns + cell;
        int x = cell % Columns * CellWidth, y = cell / Columns * CellHeight;
        if (index < int(listing_.listed.size())) {
            drawCell(dc, index, x, y);
        } else if (listing_.notListed > 0 && index == int(listing_.listed.size())) {
            dc.setPen(vPen(0, 0, 0));
            std::string more = std::to_string(listing_.notListed) + " more files not shown";
            dc.drawText(8, y + 20, more.c_str());
            break;
        }
    }
}

void ExpressionWindow::drawCell(vWinDC& dc, int index, int x, int y) {
    const Expression& expression = listing_.listed[std::size_t(index)];
    int left = x + (CellWidth - ThumbWidth) / 2, top = y + 4;
    // No file is read for its cache name before there is a render at all.
    const RgbImage* render =
        expression.valid && !onDisk_.empty() ? renderOf(keyOf(index)) : nullptr;
    if (render) {
        dc.drawImage(left, top, ThumbWidth, ThumbHeight, render->rgb.data());
    } else if (expression.valid) {
        std::memcpy(painter_.pose, expression.pose, sizeof painter_.pose);
        painter_.paintFace();
        HDC source = CreateCompatibleDC(dc.hdc);
        HGDIOBJ before = SelectObject(source, painter_.offscreen.bitmap);
        SetStretchBltMode(dc.hdc, HALFTONE);
        SetBrushOrgEx(dc.hdc, 0, 0, nullptr);
        StretchBlt(dc.hdc, left, top, ThumbWidth, ThumbHeight, source, faceArea.left, faceArea.top,
                   faceArea.right - faceArea.left, faceArea.bottom - faceArea.top, SRCCOPY);
        SelectObject(source, before);
        DeleteDC(source);
    } else {
        dc.setBrush(vBrush(208, 208, 208));
        dc.setPen(vPen(160, 160, 160));
        dc.drawRectangle(left, top, ThumbWidth, ThumbHeight);
    }
    dc.setPen(expression.valid ? vPen(0, 0, 0) : vPen(128, 128, 128));
    dc.drawText(left, top + ThumbHeight + 16, shortName(expression.name).c_str());
}
