#include "animrender/SlurmScript.h"

#include "animrender/Assembly.h"
#include "render/Quoting.h"

#include <algorithm>
#include <cmath>

namespace {

std::string work(const FarmPlan& plan) {
    return plan.outDir + "/" + workFolderName(plan.render.stem);
}

std::string frame(const FarmPlan& plan, int number) {
    return plan.outDir + "/" + frameFileName(plan.render.stem, number, plan.render.lastFrame);
}

// Links the frames `numbers` into the work folder as the assembly's inputs.
std::string linkLines(const FarmPlan& plan, const std::string& kind,
                      const std::vector<int>& numbers) {
    std::string lines;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        std::string from = shellQuoted(frame(plan, numbers[i])),
                    to = shellQuoted(assemblyInput(kind, int(i)));
        lines += "ln -f -- " + from + " " + to + " 2>/dev/null || cp -- " + from + " " + to + "\n";
    }
    return lines;
}

// Replaces `to` with the work folder's `from` once the copy is complete.
std::string deliverLines(const std::string& from, const std::string& to) {
    return shellLine({"cp", "--", from, to + ".new"}) + "\n" +
           shellLine({"mv", "-f", "--", to + ".new", to}) + "\n";
}

} // namespace

std::string shellLine(const std::vector<std::string>& args) {
    std::string line;
    for (const std::string& arg : args)
        line += (line.empty() ? "" : " ") + shellQuoted(arg);
    return line;
}

std::vector<FrameRange> farmTasks(int frames, const FrameRender& render, int forced) {
    int tasks = forced;
    if (tasks <= 0) {
        // A frame of one POV-Ray run on one thread: a quarter of a second of
        // polls and bookkeeping, and 2.3 us a pixel (measured here: 0.29 s at
        // 160 x 120, 0.96 s at 640 x 480).
        double frameSeconds = 0.25 + 2.3e-6 * double(render.width) * double(render.height);
        int perTask = std::max(1, int(std::ceil(TaskSeconds / frameSeconds)));
        tasks = (frames + perTask - 1) / perTask;
    }
    return splitFrames({0, frames - 1}, std::min(MaxArrayTasks, tasks));
}

std::string slurmLogFolder(const FarmPlan& plan) {
    return plan.outDir + "/.tavokpose-" + workStem(plan.render.stem) + "-logs";
}

std::string slurmFramesScript(const FarmPlan& plan) {
    const FrameRender& render = plan.render;
    std::string script = "#!/bin/sh\n"
                         "# Renders this task's share of the frames with POV-Ray, then moves\n"
                         "# each one, complete, into the output folder under its name.\n"
                         "#SBATCH --job-name=tavokpose-frames\n"
                         "#SBATCH --array=0-" +
                         std::to_string(int(plan.ranges.size()) - 1) +
                         "\n"
                         "#SBATCH --ntasks=1\n"
                         "#SBATCH --cpus-per-task=1\n"
                         "cd " +
                         shellQuoted(work(plan)) +
                         " || exit\n"
                         "case \"$SLURM_ARRAY_TASK_ID\" in\n";
    for (std::size_t task = 0; task < plan.ranges.size(); ++task) {
        FrameRange range = plan.ranges[task];
        script += std::to_string(task) + ") first=" + std::to_string(range.first) +
                  " last=" + std::to_string(range.last) + "\n   " +
                  shellLine(povrayFrameArgs(render, range, "povray.log")) + " ;;\n";
    }
    // The case's status is POV-Ray's: the task fails as it did.
    std::string digits = std::to_string(frameDigits(render.lastFrame));
    std::string number = digits == "0" ? "" : "%0" + digits + "d";
    script += "*) echo \"no frames for task $SLURM_ARRAY_TASK_ID\"; exit 2 ;;\n"
              "esac >\"povray-$SLURM_ARRAY_TASK_ID.log\" 2>&1 || exit\n"
              "frame=$first\n"
              "while [ \"$frame\" -le \"$last\" ]; do\n"
              "  from=$(printf '" +
              std::string(PovrayStem) + number +
              ".png' \"$frame\")\n"
              "  to=$(printf '%s" +
              number + ".png' " + shellQuoted(plan.outDir + "/" + frameStem(render.stem)) +
              " \"$frame\")\n"
              "  mv -f -- \"$from\" \"$to\" || exit\n"
              "  frame=$((frame + 1))\n"
              "done\n";
    return script;
}

std::string slurmAssemblyScript(const FarmPlan& plan) {
    std::string script = "#!/bin/sh\n"
                         "# Assembles the rendered frames; runs once every frame task succeeded.\n"
                         "#SBATCH --job-name=tavokpose-assembly\n"
                         "#SBATCH --ntasks=1\n"
                         "set -e\n"
                         "cd " +
                         shellQuoted(work(plan)) + "\n";
    int first = plan.ranges.empty() ? 0 : plan.ranges.front().first;
    int last = plan.ranges.empty() ? -1 : plan.ranges.back().last;
    if (!plan.gif.empty()) {
        GifPlan gif = gifPlan(last - first + 1, plan.fps);
        for (int& number : gif.frames)
            number += first;
        script += linkLines(plan, "gif", gif.frames) + shellLine(gifArgs("ffmpeg", gif.fps)) +
                  "\n" + deliverLines(GifOutput, plan.gif);
    }
    if (!plan.video.empty()) {
        std::vector<int> numbers;
        for (int number = first; number <= last; ++number)
            numbers.push_back(number);
        VideoSound sound{!plan.sound.empty(), plan.soundStart};
        if (sound.present) script += shellLine({"cp", "-f", "--", plan.sound, SoundInput}) + "\n";
        script += linkLines(plan, "video", numbers) +
                  shellLine(videoArgs("ffmpeg", plan.fps, last - first + 1, sound)) + "\n" +
                  deliverLines(VideoOutput, plan.video);
    }
    // The job's own log is in the log folder: nothing holds this one open.
    return script + "cd /\n" + shellLine({"rm", "-rf", "--", work(plan)}) + "\n";
}

std::string slurmSubmitScript(const FarmPlan& plan) {
    std::string script =
        "#!/bin/sh\n"
        "# Submits the frames, then the assembly depending on their success.\n"
        "# With --failed, only the tasks whose frames are missing.\n"
        "set -e\n"
        "mkdir -p " +
        shellQuoted(slurmLogFolder(plan)) +
        "\n"
        "cd " +
        shellQuoted(slurmLogFolder(plan)) +
        "\n"
        "array=\n"
        "if [ \"${1-}\" = --failed ]; then\n"
        "  missing() { for name; do [ -e \"$name\" ] || return 0; done; return 1; }\n";
    for (std::size_t task = 0; task < plan.ranges.size(); ++task) {
        script += "  missing";
        for (int number = plan.ranges[task].first; number <= plan.ranges[task].last; ++number)
            script += " " + shellQuoted(frame(plan, number));
        script += " && array=\"$array," + std::to_string(task) + "\"\n";
    }
    std::string frames = shellQuoted(work(plan) + "/frames.sh"),
                assembly = shellQuoted(work(plan) + "/assemble.sh");
    return script +
           "  [ -n \"$array\" ] || { echo \"no failed tasks\"; exit 0; }\n"
           "  array=\"--array=${array#,}\"\n"
           "fi\n"
           "frames=$(sbatch --parsable ${array:+\"$array\"} " +
           frames +
           ")\n"
           "frames=${frames%%;*}\n"
           "assembly=$(sbatch --parsable --kill-on-invalid-dep=yes "
           "--dependency=afterok:\"$frames\" " +
           assembly +
           ") || { scancel \"$frames\"; exit 1; }\n"
           "echo \"frames: job $frames; assembly: job ${assembly%%;*}\"\n";
}
