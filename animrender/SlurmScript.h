// A render farm through Slurm: a job array whose tasks each render their
// share of the frames with POV-Ray, and an assembly job that runs once they
// all succeeded. Every path and name goes through the shell's quoting.
// Needs no platform.
#pragma once

#include "animrender/FramePlan.h"

#include <string>
#include <vector>

struct FarmPlan {
    FrameRender render;
    std::string outDir;             // absolute, and the same on every node
    std::vector<FrameRange> ranges; // one per array task
    int fps = 25;
    std::string gif;   // none when empty
    std::string video; // none when empty
    std::string sound; // the video's sound, absolute; none when empty
    int soundStart = 0;
};

// Slurm's default limit on the tasks of one array (MaxArraySize 1001).
inline constexpr int MaxArrayTasks = 1000;

// The array's tasks for the `frames` frames of `render`: `forced` when above
// 0, else as many as leave each task at least TaskSeconds of rendering, so
// that starting it (Slurm's launch of the task, POV-Ray's own start of about
// 0.6 s) is a small part of it, while every node gets work on a long
// animation; MaxArrayTasks at most.
std::vector<FrameRange> farmTasks(int frames, const FrameRender& render, int forced);
inline constexpr double TaskSeconds = 20;

// Where the jobs' own logs go: outside the work folder, which the assembly
// removes.
std::string slurmLogFolder(const FarmPlan& plan);

// The job array's script: task i renders ranges[i] in the work folder (which
// holds the scene and animation.inc) and moves each frame, complete, into
// the output folder. The task fails with POV-Ray's own exit status.
std::string slurmFramesScript(const FarmPlan& plan);
// The assembly job's script: the GIF and the video when asked for, each
// replacing its file only when complete, then the work folder removed.
std::string slurmAssemblyScript(const FarmPlan& plan);

// The script that submits both from the log folder: the frames, then the
// assembly depending on their success (and dropped when they fail); it
// prints both job ids. Given --failed, it submits only the tasks whose
// frames are missing, and the assembly again.
std::string slurmSubmitScript(const FarmPlan& plan);

// A POSIX shell command line of `args`, each word quoted.
std::string shellLine(const std::vector<std::string>& args);
