#include "expressions/ExpressionList.h"

#include "face/PoseFile.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string lowered(std::string text) {
    for (char& c : text)
        c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
}

bool isPoseFile(const fs::directory_entry& entry) {
    std::error_code code;
    if (!entry.is_regular_file(code)) return false;
    std::string extension = lowered(entry.path().extension().string());
    return extension == ".txt" || extension == ".bas";
}

// The folder's pose files in name order, letter case aside.
std::vector<fs::path> poseFiles(const std::string& folder) {
    std::vector<fs::path> files;
    if (folder.empty()) return files;
    std::error_code code;
    for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code)) {
        // A name the narrow code page cannot spell is not listed.
        try {
            if (isPoseFile(*it)) files.push_back(it->path());
        } catch (const std::exception&) {
        }
    }
    std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
        return lowered(a.filename().string()) < lowered(b.filename().string());
    });
    return files;
}

Expression readExpression(const fs::path& file) {
    Expression expression;
    expression.name = file.stem().string();
    expression.path = file.string();
    PoseReadError error;
    expression.valid = readPoseFile(expression.pose, expression.path.c_str(), &error) == PoseFileOk;
    if (!expression.valid) {
        expression.message = describePoseFault(error);
        if (error.line > 0)
            expression.message.insert(0, "line " + std::to_string(error.line) + ": ");
    }
    return expression;
}

bool sameFolder(const std::string& a, const std::string& b) {
    std::error_code code;
    return fs::equivalent(a, b, code);
}

} // namespace

ExpressionListing listExpressions(const std::string& shippedFolder, const std::string& userFolder) {
    std::vector<fs::path> files = poseFiles(shippedFolder);
    if (!sameFolder(shippedFolder, userFolder)) {
        std::vector<fs::path> own = poseFiles(userFolder);
        files.insert(files.end(), own.begin(), own.end());
    }
    ExpressionListing listing;
    for (const fs::path& file : files) {
        if (int(listing.listed.size()) == MaxListedExpressions)
            ++listing.notListed;
        else
            listing.listed.push_back(readExpression(file));
    }
    return listing;
}

std::string folderStamp(const std::string& folder) {
    std::string stamp;
    for (const fs::path& file : poseFiles(folder)) {
        std::error_code code;
        auto size = fs::file_size(file, code);
        auto time = fs::last_write_time(file, code).time_since_epoch().count();
        stamp += file.filename().string() + '/' + std::to_string(size) + '/' +
                 std::to_string(time) + '\n';
    }
    return stamp;
}
