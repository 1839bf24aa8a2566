#include "app/RenderPreview.h"

#include "face/FaceCanvasPane.h"
#include "face/FileReplace.h"
#include "framework/app/vWindow.h"
#include "framework/draw/vWinDC.h"
#include "render/Povray.h"
#include "render/WicImage.h"

#include <algorithm>
#include <cstdio>
#include <vector>
#include <windows.h>

namespace {

// Often enough that a finished render shows without a noticeable delay.
const int tickInterval = 20;

long long now() {
    return static_cast<long long>(GetTickCount64());
}

bool endsWithPng(const std::string& path) {
    if (path.size() < 4) return false;
    std::string end = path.substr(path.size() - 4);
    for (char& c : end)
        c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return end == ".png";
}

// The lines `text` takes in `width` pixels of `dc`'s font: each broken at
// its last space that fits, or inside a word wider than a whole line.
std::vector<std::string> wrapLines(vDC& dc, const std::string& text, int width) {
    std::vector<std::string> lines;
    for (std::string::size_type start = 0; start < text.size();) {
        std::string::size_type end = std::min(text.find('\n', start), text.size());
        std::string rest = text.substr(start, end - start);
        start = end + 1;
        // Lines break between characters, never inside one's UTF-8 bytes.
        auto next = [&rest](std::string::size_type at) {
            do
                ++at;
            while (at < rest.size() && (rest[at] & 0xC0) == 0x80);
            return at;
        };
        do {
            std::string::size_type fit = next(0);
            while (fit < rest.size() && dc.textWidth(rest.substr(0, next(fit)).c_str()) <= width)
                fit = next(fit);
            std::string::size_type space = fit < rest.size() ? rest.rfind(' ', fit) : fit;
            std::string::size_type cut = space == 0 || space == std::string::npos ? fit : space;
            lines.push_back(rest.substr(0, cut));
            rest.erase(0, rest.find_first_not_of(' ', cut));
        } while (!rest.empty());
    }
    return lines;
}

} // namespace

RenderPreview::RenderPreview(vWindow* owner, int toggleCommand, FaceCanvasPane* face)
    : vToolWindow("Render preview", ImageWidth, ImageHeight + StatusHeight), owner_(owner),
      toggleCommand_(toggleCommand), face_(face) {}

RenderPreview::~RenderPreview() {
    shutDown();
}

void RenderPreview::open() {
    show();
    if (!runner_.prepare()) {
        program_.clear();
        setStatus(runner_.problem, runner_.error);
        return;
    }
    program_ = runner_.findPovray();
    if (program_.empty())
        setStatus("No POV-Ray", povrayMissingText);
    else
        poseChanged();
}

void RenderPreview::close() {
    hide();
    cancelRunning();
    // A render ended before its process id was known is ended by the ticks.
    if (!runner_.tidy())
        stop();
    else if (!timerId)
        start(tickInterval);
}

void RenderPreview::cancelRunning() {
    if (running_) {
        runner_.cancel(running_);
        schedule_.cancelled();
        running_ = 0;
    }
}

void RenderPreview::shutDown() {
    close();
    runner_.close();
}

void RenderPreview::poseChanged() {
    if (!isShown() || program_.empty()) return;
    if (schedule_.poseChanged(now())) cancelRunning();
    if (!timerId) start(tickInterval);
}

void RenderPreview::onTick() {
    long long time = now();
    if (running_) {
        PovrayRunner::State state = runner_.poll(running_);
        if (state != PovrayRunner::Running) finishRender(state, time);
    }
    if (isShown() && schedule_.shouldStart(time)) startRender(time);
    bool ending = runner_.tidy();
    if ((schedule_.idle() || !isShown()) && !ending) stop();
}

void RenderPreview::startRender(long long time) {
    running_ = runner_.start(program_, face_->pose, ImageWidth, ImageHeight);
    if (!running_) {
        // Nothing runs: the schedule goes idle until the next change.
        schedule_.started();
        schedule_.finished();
        setStatus(runner_.problem, runner_.error);
        return;
    }
    schedule_.started();
    startedAt_ = time;
    ++renders_;
    setStatus("Rendering...", message_);
}

void RenderPreview::finishRender(PovrayRunner::State state, long long time) {
    running_ = 0;
    bool current = schedule_.finished();
    if (state != PovrayRunner::Rendered) {
        setStatus(runner_.problem, runner_.error);
        return;
    }
    if (!current) return;
    image_ = runner_.image;
    char text[64];
    std::snprintf(text, sizeof text, "Rendered in %.2f s", double(time - startedAt_) / 1000);
    setStatus(text, "");
}

void RenderPreview::setStatus(std::string status, std::string message) {
    status_ = std::move(status);
    message_ = std::move(message);
    redraw();
}

bool RenderPreview::saveImage(const char* path) const {
    std::string bytes = WicImage::encode(image_, endsWithPng(path) ? WicImage::Png : WicImage::Bmp);
    if (bytes.empty()) return false;
    // Written beside and put in place when complete: a failed save leaves
    // the file that was there.
    std::string tmp;
    std::FILE* out = createBeside(path, tmp);
    if (!out) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() && flushToDisk(out);
    ok = std::fclose(out) == 0 && ok;
    if (ok && replaceFile(tmp.c_str(), path)) return true;
    removeFile(tmp.c_str());
    return false;
}

void RenderPreview::onRedraw(vWinDC& dc) {
    dc.setBrush(vBrush(240, 240, 240));
    dc.setPen(vPen(240, 240, 240));
    dc.background = vColor(240, 240, 240).packed;
    if (message_.empty() && !image_.rgb.empty())
        dc.drawImage(0, 0, image_.width, image_.height, image_.rgb.data());
    else
        dc.drawRectangle(0, 0, ImageWidth, ImageHeight);
    dc.drawRectangle(0, ImageHeight, ImageWidth, StatusHeight);
    dc.setPen(vPen(0, 0, 0));
    dc.font = vFont(FontSans, 9);
    int y = 24;
    // Lines beyond the picture's panel would cover the status line.
    for (const std::string& line : wrapLines(dc, message_, ImageWidth - 12)) {
        if (y > ImageHeight - 4) break;
        dc.drawText(6, y, line.c_str());
        y += 18;
    }
    dc.drawText(6, ImageHeight + StatusHeight - 4, status_.c_str());
}

void RenderPreview::onClose() {
    owner_->onMenuCommand(toggleCommand_);
}

bool RenderPreview::areaToKeepClear(RECT& area) {
    area = face_->drawnArea();
    MapWindowPoints(face_->hwnd, nullptr, reinterpret_cast<POINT*>(&area), 2);
    return true;
}
