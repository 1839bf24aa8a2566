// When the preview renders: once the edits pause, the newest pose. A change
// while a render runs cancels that render, so POV-Ray's one core goes back
// to the editor at once and only the latest pose is rendered to the end.
// Needs no platform; times are milliseconds of any steady clock.
#pragma once

class RenderSchedule {
  public:
    explicit RenderSchedule(int pause) : pause(pause) {}

    // The pose changed at `now`; true when the running render must be ended.
    bool poseChanged(long long now);
    // True when a render of the current pose should start at `now`.
    bool shouldStart(long long now) const;
    void started();
    // The running render was ended before it finished.
    void cancelled() { running = false; }
    // The running render finished; true when its image shows the current
    // pose (a change that arrived meanwhile makes it stale).
    bool finished();
    bool isRunning() const { return running; }
    // Nothing waits and nothing runs: the clock need not tick.
    bool idle() const { return !running && shown == wanted; }

    const int pause;

  private:
    long long lastChange = 0;
    unsigned wanted = 0;    // counts the changes
    unsigned rendering = 0; // the change the running render shows
    unsigned shown = 0;     // the change the image on screen shows
    bool running = false;
};
