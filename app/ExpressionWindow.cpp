#include "app/ExpressionWindow.h"

#include "app/FaceTables.h"
#include "app/FileDialogState.h"
#include "document/Document.h"
#include "framework/app/vWindow.h"
#include "expressions/ExpressionMix.h"
#include "expressions/LibraryPlace.h"
#include "expressions/ThumbnailKey.h"
#include "framework/app/vApp.h"
#include "framework/draw/vWinDC.h"
#include "render/ChildStart.h"
#include "render/Povray.h"
#include "render/WicImage.h"

#include <algorithm>
#include <commctrl.h>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
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

// "poses" beside the program, else the source tree's.
std::string findShippedFolder() {
    std::string beside = programFolder() + "poses";
    DWORD attributes = GetFileAttributesW(wideText(beside).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return beside;
    return windowsPathOf(TAVOK_SOURCE_POSES);
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The folder the file dialogs remember, in UTF-8 even when an older
// settings file gave it in the ANSI code page.
std::string rememberedFolder() {
    return utf8Text(wideText(lastDirectory));
}

// A name cut to the cell's width, never inside a character.
std::wstring shortName(const std::string& name) {
    std::wstring text = wideText(name);
    if (text.size() <= 16) return text;
    std::size_t cut = 15;
    if (text[cut] >= 0xDC00 && text[cut] <= 0xDFFF) --cut;
    return text.substr(0, cut) + L'\u2026';
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
    tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                            WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                            10, 10, nativeWindow, nullptr, instance, nullptr);
    SendMessageA(tips_, TTM_SETMAXTIPWIDTH, 0, 400);
    panel.onCommand = [this](int id, int value) {
        if (id == IdMix)
            mixChanged(value,
                       panel.scrollCode == SB_THUMBTRACK || panel.scrollCode == SB_THUMBPOSITION);
        if (id == IdAdd) {
            // The Save dialog opens in the current folder, which another
            // dialog may have moved.
            enterRememberedDirectory();
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
    endWatches();
    search_.wait();
    for (PovrayRunner& runner : runners_)
        runner.close();
}

void ExpressionWindow::open() {
    // Looked for once: without it the thumbnails stay 2-D.
    search_.start();
    // Unchanged folders need no reading: their files are as listed.
    if (foldersChanged()) reload();
    show();
    start(RenderTick);
}

void ExpressionWindow::keepClearOf(const vToolWindow&) {
    if (isShown()) place();
}

bool ExpressionWindow::areaToKeepClear(RECT& area) {
    // The face, as the preview keeps it clear.
    return neighbour && neighbour->areaToKeepClear(area);
}

void ExpressionWindow::place() {
    HWND frameWindow = theApp->frameWindow;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    RECT frame, own, face, preview;
    if (IsIconic(frameWindow) || !GetWindowRect(frameWindow, &frame) ||
        !GetWindowRect(nativeWindow, &own) ||
        !GetMonitorInfoA(MonitorFromWindow(frameWindow, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    auto box = [](const RECT& r) { return ScreenBox{r.left, r.top, r.right, r.bottom}; };
    std::vector<ScreenBox> clear;
    if (areaToKeepClear(face)) clear.push_back(box(face));
    if (neighbour && neighbour->isShown() && GetWindowRect(neighbour->nativeWindow, &preview))
        clear.push_back(box(preview));
    // With no room clear of both, the face matters most.
    int left = 0, top = 0, width = own.right - own.left, height = own.bottom - own.top;
    if (!placeLibrary(box(frame), clear, box(monitor.rcWork), width, height, left, top) &&
        (clear.size() < 2 ||
         !placeLibrary(box(frame), {clear[0]}, box(monitor.rcWork), width, height, left, top)))
        return vToolWindow::place();
    SetWindowPos(nativeWindow, nullptr, left, top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ExpressionWindow::close() {
    hide();
    stop();
    cancelRender();
}

void ExpressionWindow::cancelRender() {
    for (int r = 0; r < Runners; ++r)
        if (jobs_[r].number) runners_[r].cancel(jobs_[r].number);
    for (Job& job : jobs_)
        job.number = 0;
}

bool ExpressionWindow::rendering() const {
    return std::any_of(jobs_, jobs_ + Runners, [](const Job& job) { return job.number != 0; });
}

void ExpressionWindow::onClose() {
    owner_->onMenuCommand(toggleCommand_);
}

void ExpressionWindow::reload() {
    userFolder_ = rememberedFolder();
    // Watched before they are read: no change falls between.
    watchFolders();
    listing_ = listExpressions(shippedFolder_, userFolder_);
    keys_.clear();
    for (const Expression& expression : listing_.listed)
        keys_.push_back(expression.valid
                            ? thumbnailKey(expression.bytesHash, ThumbWidth, ThumbHeight)
                            : std::string());
    cache_.setListed(keys_);
    renders_.clear();
    firstRow_ = std::clamp(firstRow_, 0, std::max(0, rowCount() - Rows));
    updateScrollBar();
    updateTips();
    redraw();
}

void ExpressionWindow::onTick() {
    if (foldersTouched()) reload();
    renderNext();
}

void ExpressionWindow::renderNext() {
    // The preview's render comes first: from the change that asks for it
    // (it starts once the edits pause), a thumbnail is ended, to be
    // rendered again later.
    bool previewFirst = neighbourRendering && neighbourRendering();
    if (previewFirst) cancelRender();
    for (int r = 0; r < Runners; ++r)
        collect(r);
    if (!povraySearched_) povraySearched_ = search_.ended(program_);
    if (previewFirst || program_.empty()) return;
    std::vector<int> wanted;
    bool listed = false;
    for (int r = 0; r < Runners; ++r) {
        if (jobs_[r].number) continue;
        if (!listed) wanted = wantedRenders();
        listed = true;
        std::vector<int> batch = nextBatch(wanted);
        if (batch.empty()) return;
        renderOn(r, batch);
    }
}

void ExpressionWindow::collect(int r) {
    Job& job = jobs_[r];
    PovrayRunner& runner = runners_[r];
    if (!job.number) return;
    PovrayRunner::State state = runner.poll(job.number);
    if (state == PovrayRunner::Running) return;
    job.number = 0;
    bool failed = false;
    for (std::size_t i = 0; i < job.keys.size(); ++i) {
        const RgbImage* image = i < runner.frames.size() ? &runner.frames[i] : nullptr;
        if (image && image->width == ThumbWidth && image->height == ThumbHeight) {
            keepRender(job.keys[i], *image);
        } else {
            cache_.failed(job.keys[i], state == PovrayRunner::TimedOut, runner.problem);
            failed = true;
        }
    }
    if (failed) updateTips();
}

void ExpressionWindow::renderOn(int r, const std::vector<int>& batch) {
    Job& job = jobs_[r];
    std::vector<float> poses;
    job.keys.clear();
    for (int index : batch) {
        const float* pose = listing_.listed[std::size_t(index)].pose;
        poses.insert(poses.end(), pose, pose + PoseCount);
        job.keys.push_back(keys_[std::size_t(index)]);
    }
    job.number =
        runners_[r].start(program_, poses.data(), ThumbWidth, ThumbHeight, int(batch.size()));
    failedStarts_ = job.number ? 0 : failedStarts_ + 1;
    if (job.number) return;
    for (const std::string& key : job.keys)
        cache_.failed(key, true, runners_[r].problem + ": " + runners_[r].error);
    // POV-Ray that cannot start again is not tried for every thumbnail.
    if (failedStarts_ > 1) program_.clear();
    updateTips();
}

std::vector<int> ExpressionWindow::wantedRenders() const {
    std::set<std::string> taken;
    for (const Job& job : jobs_)
        if (job.number) taken.insert(job.keys.begin(), job.keys.end());
    // Those on screen first; a second try after every first one. Files with
    // the same bytes share one render.
    int first = firstRow_ * Columns, count = int(keys_.size());
    int onScreenEnd = std::min(count, first + Rows * Columns);
    std::vector<int> wanted;
    for (bool retry : {false, true}) {
        auto add = [&](int i) {
            const std::string& key = keys_[std::size_t(i)];
            if (cache_.wanted(key) && cache_.retrying(key) == retry && taken.insert(key).second)
                wanted.push_back(i);
        };
        for (int i = first; i < onScreenEnd; ++i)
            add(i);
        for (int i = 0; i < count; ++i)
            if (i < first || i >= onScreenEnd) add(i);
    }
    return wanted;
}

std::vector<int> ExpressionWindow::nextBatch(std::vector<int>& wanted) const {
    if (wanted.empty()) return {};
    // The screenful is spread over the runners free now, so that it comes in
    // one wave; the rest over all of them, at most MaxRunFrames a run.
    int first = firstRow_ * Columns, last = first + Rows * Columns;
    auto onScreen = [&](int i) { return i >= first && i < last; };
    int pool = int(wanted.size()), runners = Runners;
    if (onScreen(wanted[0])) {
        pool = int(std::count_if(wanted.begin(), wanted.end(), onScreen));
        runners = int(
            std::count_if(jobs_, jobs_ + Runners, [](const Job& job) { return job.number == 0; }));
    }
    int size = std::clamp((pool + runners - 1) / std::max(runners, 1), 1, MaxRunFrames);
    size = std::min(size, int(wanted.size()));
    std::vector<int> batch(wanted.begin(), wanted.begin() + size);
    wanted.erase(wanted.begin(), wanted.begin() + size);
    return batch;
}

void ExpressionWindow::keepRender(const std::string& key, const RgbImage& image) {
    // The first runner's folder keeps them all, whichever runner rendered.
    std::string path = runners_[0].prepare() ? cacheFolder() + key : std::string();
    bool written = !path.empty() &&
                   bool(std::ofstream(std::filesystem::u8path(path + ".new"), std::ios::binary)
                        << WicImage::encode(image, WicImage::Bmp));
    if (!written || !MoveFileExW(wideText(path + ".new").c_str(), wideText(path).c_str(),
                                 MOVEFILE_REPLACE_EXISTING)) {
        cache_.failed(key, false, "cannot keep the render in " + cacheFolder());
        return;
    }
    for (const std::string& dropped : cache_.add(key)) {
        DeleteFileW(wideText(cacheFolder() + dropped).c_str());
        renders_.erase(dropped);
    }
    redraw();
}

const RgbImage* ExpressionWindow::renderOf(const std::string& key) {
    if (!cache_.has(key)) return nullptr;
    cache_.shown(key);
    auto known = renders_.find(key);
    if (known == renders_.end()) {
        // Memory holds about a screenful; the cache folder holds them all.
        if (renders_.size() > 2 * Rows * Columns) renders_.clear();
        RgbImage image;
        if (!WicImage::decode(fileBytes(cacheFolder() + key), image) || image.width != ThumbWidth ||
            image.height != ThumbHeight) {
            // A damaged file goes and is rendered again, not read at every paint.
            DeleteFileW(wideText(cacheFolder() + key).c_str());
            cache_.damaged(key);
            updateTips();
            return nullptr;
        }
        known = renders_.emplace(key, std::move(image)).first;
    }
    return &known->second;
}

bool ExpressionWindow::foldersTouched() {
    bool touched = userFolder_ != rememberedFolder();
    bool unwatched = false;
    for (HANDLE watch : watches_) {
        if (watch == INVALID_HANDLE_VALUE) {
            unwatched = true;
        } else if (WaitForSingleObject(watch, 0) == WAIT_OBJECT_0) {
            FindNextChangeNotification(watch);
            touched = true;
        }
    }
    return touched ||
           (unwatched && ++ticks_ % (PollInterval / RenderTick) == 0 && foldersChanged());
}

void ExpressionWindow::watchFolders() {
    endWatches();
    const std::string* folders[] = {&shippedFolder_, &userFolder_};
    for (int i = 0; i < 2; ++i)
        if (!folders[i]->empty())
            watches_[i] = FindFirstChangeNotificationW(wideText(*folders[i]).c_str(), FALSE,
                                                       FILE_NOTIFY_CHANGE_FILE_NAME |
                                                           FILE_NOTIFY_CHANGE_SIZE |
                                                           FILE_NOTIFY_CHANGE_LAST_WRITE);
}

void ExpressionWindow::endWatches() {
    for (HANDLE& watch : watches_) {
        if (watch != INVALID_HANDLE_VALUE) FindCloseChangeNotification(watch);
        watch = INVALID_HANDLE_VALUE;
    }
}

bool ExpressionWindow::foldersChanged() const {
    return userFolder_ != rememberedFolder() ||
           foldersStamp(shippedFolder_, userFolder_) != listing_.stamp;
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
    // Fine wheels and touchpads send a fraction of a notch at a time.
    wheelRest_ += delta;
    int rows = wheelRest_ / WHEEL_DELTA;
    wheelRest_ -= rows * WHEEL_DELTA;
    scrollTo(firstRow_ - rows);
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
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    while (SendMessageW(tips_, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)))
        SendMessageW(tips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    // Only the cells on screen have tips: at most a grid's worth of tools.
    for (int cell = 0; cell < Rows * Columns; ++cell) {
        int index = firstRow_ * Columns + cell;
        if (index >= int(listing_.listed.size())) break;
        const Expression& expression = listing_.listed[std::size_t(index)];
        const std::string& key = keys_[std::size_t(index)];
        std::string why = cache_.whyFailed(key);
        std::wstring text =
            wideText(!expression.valid ? expression.message
                     : why.empty()     ? expression.name
                                       : expression.name + "\r\nNo POV-Ray render: " + why +
                                         (cache_.retrying(key) ? " (tried again later)" : ""));
        tool = {};
        tool.cbSize = TTTOOLINFOW_V1_SIZE;
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = nativeWindow;
        tool.uId = UINT_PTR(index);
        int x = cell % Columns * CellWidth, y = cell / Columns * CellHeight;
        tool.rect = {x, y, x + CellWidth, y + CellHeight};
        tool.lpszText = &text[0];
        SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

std::string ExpressionWindow::tipText(int index) const {
    wchar_t text[512] = L"";
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.hwnd = nativeWindow;
    tool.uId = UINT_PTR(index);
    tool.lpszText = text;
    SendMessageW(tips_, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
    return utf8Text(text);
}

void ExpressionWindow::onRedraw(vWinDC& dc) {
    RECT client;
    GetClientRect(nativeWindow, &client);
    dc.setBrush(vBrush(240, 240, 240));
    dc.setPen(vPen(240, 240, 240));
    dc.drawRectangle(0, 0, client.right, gridHeight_);
    dc.font = vFont(FontSans, 9);
    int files = int(listing_.listed.size());
    for (int cell = 0; cell < Rows * Columns; ++cell) {
        int index = firstRow_ * Columns + cell;
        if (index < files)
            drawCell(dc, index, cell % Columns * CellWidth, cell / Columns * CellHeight);
    }
    // The count has the row after the last file's to itself.
    int countRow = (files + Columns - 1) / Columns - firstRow_;
    if (listing_.notListed > 0 && countRow < Rows) {
        dc.setPen(vPen(0, 0, 0));
        std::string more = std::to_string(listing_.notListed) + " more files not shown";
        dc.drawText(8, countRow * CellHeight + 20, more.c_str());
    }
}

void ExpressionWindow::drawCell(vWinDC& dc, int index, int x, int y) {
    const Expression& expression = listing_.listed[std::size_t(index)];
    int left = x + (CellWidth - ThumbWidth) / 2, top = y + 4;
    const RgbImage* render = expression.valid ? renderOf(keys_[std::size_t(index)]) : nullptr;
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
    dc.drawWideText(left, top + ThumbHeight + 16, shortName(expression.name));
}
