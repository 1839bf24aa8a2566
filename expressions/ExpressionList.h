// The expressions the library shows: the pose files of the shipped folder,
// then those of the folder the user last saved or opened a pose in. Paths
// and names are UTF-8, so any name the file system holds works. Needs no
// platform.
#pragma once

#include "face/PoseModel.h"

#include <cstdint>
#include <string>
#include <vector>

// At most this many files are listed; the rest are only counted.
constexpr int MaxListedExpressions = 500;
// A pose file is a few hundred bytes: a larger one is no pose and is not
// read whole.
constexpr std::size_t MaxPoseFileBytes = 64 * 1024;

struct Expression {
    std::string name; // the file name without its extension
    std::string path;
    bool valid = false;
    // Why the file is no pose, as the reader says it: "line 3: expected ...".
    std::string message;
    float pose[PoseCount] = {};
    // Of the very bytes the pose was read from: names its render.
    std::uint64_t bytesHash = 0;
};

struct ExpressionListing {
    std::vector<Expression> listed;
    int notListed = 0;
    // The folders' stamp (see foldersStamp), taken before any file was read:
    // a file changed while the listing ran gives a stamp that differs.
    std::string stamp;
};

// Reads the pose files ("*.txt" and "*.bas", any case) of `shippedFolder`,
// then those of `userFolder` unless it is empty or the same folder, each
// folder's in name order, each file once. A folder that cannot be read
// adds nothing.
ExpressionListing listExpressions(const std::string& shippedFolder, const std::string& userFolder);

// The names, sizes and times of both folders' pose files in one text: it
// changes when a file appears, changes or goes, and costs no file reads.
std::string foldersStamp(const std::string& shippedFolder, const std::string& userFolder);
