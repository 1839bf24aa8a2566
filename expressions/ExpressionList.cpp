#include "expressions/ExpressionList.h"

#include "expressions/ThumbnailKey.h"
#include "face/PoseFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

std::string lowered(std::string text) {
    for (char& c : text)
        c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
}

struct PoseFileEntry {
    fs::path path;
    std::string name; // UTF-8
    std::uintmax_t size;
    long long time;
};

bool isPoseFile(const fs::directory_entry& entry) {
    std::error_code code;
    if (!entry.is_regular_file(code)) return false;
    std::string extension = lowered(entry.path().extension().u8string());
    return extension == ".txt" || extension == ".bas";
}

// The folder's pose files in name order, letter case aside.
std::vector<PoseFileEntry> poseFiles(const std::string& folder) {
    std::vector<PoseFileEntry> files;
    if (folder.empty()) return files;
    std::error_code code;
    for (fs::directory_iterator it(fs::u8path(folder), code), end; !code && it != end;
         it.increment(code)) {
        // A name that is no valid UTF-16 cannot be spelled, so is not listed.
        try {
            if (!isPoseFile(*it)) continue;
            std::error_code ignored;
            files.push_back({it->path(), it->path().filename().u8string(), it->file_size(ignored),
                             it->last_write_time(ignored).time_since_epoch().count()});
        } catch (const std::exception&) {
        }
    }
    std::sort(files.begin(), files.end(), [](const PoseFileEntry& a, const PoseFileEntry& b) {
        return lowered(a.name) < lowered(b.name);
    });
    return files;
}

std::string stampOf(const std::vector<PoseFileEntry>& files) {
    std::string stamp;
    for (const PoseFileEntry& file : files)
        stamp +=
            file.name + '/' + std::to_string(file.size) + '/' + std::to_string(file.time) + '\n';
    return stamp;
}

Expression readExpression(const PoseFileEntry& file) {
    Expression expression;
    expression.name = file.path.stem().u8string();
    expression.path = file.path.u8string();
    std::ifstream in(file.path, std::ios::binary);
    std::string bytes;
    for (char chunk[4096]; in && bytes.size() <= MaxPoseFileBytes;) {
        in.read(chunk, sizeof chunk);
        bytes.append(chunk, std::size_t(in.gcount()));
    }
    PoseReadError error;
    if (!in.is_open() || in.bad()) {
        error.fault = FaultUnreadable;
    } else if (bytes.size() > MaxPoseFileBytes) {
        expression.message = "larger than " + std::to_string(MaxPoseFileBytes / 1024) + " KB";
        return expression;
    } else {
        expression.valid = readPoseText(expression.pose, bytes, &error) == PoseFileOk;
        expression.bytesHash = bytesHash(bytes);
    }
    if (!expression.valid) {
        expression.message = describePoseFault(error);
        if (error.line > 0)
            expression.message.insert(0, "line " + std::to_string(error.line) + ": ");
    }
    return expression;
}

bool sameFolder(const std::string& a, const std::string& b) {
    // Without a trailing separator: Wine finds no "folder\" to compare.
    auto folder = [](const std::string& name) {
        fs::path path = fs::u8path(name);
        return path.has_filename() ? path : path.parent_path();
    };
    std::error_code code;
    return !a.empty() && !b.empty() &&
           (folder(a) == folder(b) || fs::equivalent(folder(a), folder(b), code));
}

} // namespace

ExpressionListing listExpressions(const std::string& shippedFolder, const std::string& userFolder) {
    ExpressionListing listing;
    std::vector<PoseFileEntry> files = poseFiles(shippedFolder);
    std::vector<PoseFileEntry> own = poseFiles(userFolder);
    listing.stamp = stampOf(files) + '|' + stampOf(own);
    if (!sameFolder(shippedFolder, userFolder)) files.insert(files.end(), own.begin(), own.end());
    for (const PoseFileEntry& file : files) {
        if (int(listing.listed.size()) == MaxListedExpressions)
            ++listing.notListed;
        else
            listing.listed.push_back(readExpression(file));
    }
    return listing;
}

std::string foldersStamp(const std::string& shippedFolder, const std::string& userFolder) {
    return stampOf(poseFiles(shippedFolder)) + '|' + stampOf(poseFiles(userFolder));
}
