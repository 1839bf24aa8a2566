#include "animrender/SlurmScript.h"

#include "animrender/Assembly.h"
#include "render/Quoting.h"

namespace {

std::string work(const FarmPlan& plan) {
    return plan.outDir + "/" + workFolderName(plan.render.stem);
}

} // namespace

std::string shellLine(const std::vector<std::string>& args) {
    std::string line;
    for (const std::string& arg : args)
        line += (line.empty() ? "" : " ") + shellQuoted(arg);
    return line;
}

std::string slurmFramesScript(const FarmPlan& plan) {
    const FrameRender& render = plan.render;
    std::string script = "#!/bin/sh\n"
                         "# Renders this task's share of the frames with POV-Ray, then moves\n"
                         "# each one, complete, into the output folder.\n"
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
                  shellLine(povrayFrameArgs(render, range)) + " ;;\n";
    }
    // The case's status is POV-Ray's: the task fails as it did.
    script += "*) echo \"no frames for task $SLURM_ARRAY_TASK_ID\"; exit 2 ;;\n"
              "esac >\"povray-$SLURM_ARRAY_TASK_ID.log\" 2>&1 || exit\n"
              "frame=$first\n"
              "while [ \"$frame\" -le \"$last\" ]; do\n";
    int digits = frameDigits(render.lastFrame);
    if (digits == 0)
        script += "  name=" + shellQuoted(render.stem + ".png") + "\n";
    else
        script += "  name=$(printf '%s%0" + std::to_string(digits) + "d.png' " +
                  shellQuoted(render.stem) + " \"$frame\")\n";
    script += "  mv -f -- \"$name\" " + shellQuoted(plan.outDir + "/") +
              " || exit\n"
              "  frame=$((frame + 1))\n"
              "done\n";
    return script;
}

std::string slurmAssemblyScript(const FarmPlan& plan) {
    std::string script = "#!/bin/sh\n"
                         "# Assembles the rendered frames; runs once every frame task succeeded.\n"
                         "#SBATCH --job-name=tavokpose-assembly\n"
                         "#SBATCH --ntasks=1\n"
                         "set -e\n";
    int first = plan.ranges.empty() ? 0 : plan.ranges.front().first;
    int last = plan.ranges.empty() ? -1 : plan.ranges.back().last;
    if (!plan.gif.empty()) {
        std::vector<std::string> frames;
        for (int frame = first; frame <= last; ++frame)
            frames.push_back(plan.outDir + "/" +
                             frameFileName(plan.render.stem, frame, plan.render.lastFrame));
        script += shellLine(gifArgs(frames, plan.fps, plan.gif + ".new")) + "\n" +
                  shellLine({"mv", "-f", "--", plan.gif + ".new", plan.gif}) + "\n";
    }
    if (!plan.video.empty())
        script += shellLine(videoArgs(plan.outDir, plan.render.stem, first, plan.render.lastFrame,
                                      plan.fps, plan.video + ".new")) +
                  "\n" + shellLine({"mv", "-f", "--", plan.video + ".new", plan.video}) + "\n";
    return script + shellLine({"rm", "-rf", "--", work(plan)}) + "\n";
}

std::string slurmSubmitScript(const FarmPlan& plan) {
    return "#!/bin/sh\n"
           "set -e\n"
           "cd " +
           shellQuoted(work(plan)) +
           "\n"
           "frames=$(sbatch --parsable frames.sh)\n"
           "assembly=$(sbatch --parsable --kill-on-invalid-dep=yes "
           "--dependency=afterok:\"${frames%%;*}\" assemble.sh)\n"
           "echo \"frames: job ${frames%%;*}; assembly: job ${assembly%%;*}\"\n";
}
