// The expressions the library shows: the pose files of the shipped folder,
// then those of the folder the user last saved or opened a pose in. Needs
// no platform.
#pragma once

#include "face/PoseModel.h"

#include <string>
#include <vector>

// At most this many files are listed; the rest are only counted.
constexpr int MaxListedExpressions = 500;

struct Expression {
    std::string name; // the file name without its extension
    std::string path;
    bool valid = false;
    // Why the file is no pose, as the reader says it: "line 3: expected ...".
    std::string message;
    float pose[PoseCount] = {};
};

struct ExpressionListing {
    std::vector<Expression> listed;
    int notListed = 0;
};

// Reads the pose files ("*.txt" and "*.bas", any case) of `shippedFolder`,
// then those of `userFolder` unless it is empty or the same folder, each
// folder's in name order. A folder that cannot be read adds nothing.
ExpressionListing listExpressions(const std::string& shippedFolder, const std::string& userFolder);

// The names, sizes and times of a folder's pose files in one text: it
// changes when a file appears, changes or goes, and costs no file reads.
std::string folderStamp(const std::string& folder);
