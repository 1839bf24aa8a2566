#include "app/RenderPreview.h"

#include "framework/app/vWindow.h"
#include "framework/draw/vWinDC.h"
#include "render/Povray.h"

#include <cstdio>
#include <fstream>
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

} // namespace

RenderPreview::RenderPreview(vWindow* owner, int toggleCommand, const float* pose)
    : vToolWindow("Render preview", ImageWidth, ImageHeight + StatusHeight), owner_(owner),
      toggleCommand_(toggleCommand), pose_(pose) {}

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
    running_ = runner_.start(program_, pose_, ImageWidth, ImageHeight);
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
    setStatus("Rendering\x85", message_);
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
    if (image_.rgb.empty()) return false;
    std::string bytes = endsWithPng(path) ? image_.pngBytes() : image_.bmpBytes();
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    return bool(out);
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
    for (std::string::size_type start = 0; start < message_.size(); y += 18) {
        std::string::size_type end = message_.find('\n', start);
        dc.drawText(6, y, message_.substr(start, end - start).c_str());
        start = end == std::string::npos ? message_.size() : end + 1;
    }
    dc.drawText(6, ImageHeight + StatusHeight - 4, status_.c_str());
}

void RenderPreview::onClose() {
    owner_->onMenuCommand(toggleCommand_);
}
