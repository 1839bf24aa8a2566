#include "expressions/ThumbnailCache.h"

void ThumbnailCache::setListed(const std::vector<std::string>& keys) {
    listed_ = std::set<std::string>(keys.begin(), keys.end());
}

bool ThumbnailCache::wanted(const std::string& key) const {
    auto failures = failures_.find(key);
    return !key.empty() && !has(key) && (failures == failures_.end() || retrying(key));
}

bool ThumbnailCache::retrying(const std::string& key) const {
    auto failures = failures_.find(key);
    return failures != failures_.end() && failures->second < 0;
}

void ThumbnailCache::shown(const std::string& key) {
    auto known = lastShown_.find(key);
    if (known != lastShown_.end()) known->second = ++clock_;
}

std::vector<std::string> ThumbnailCache::add(const std::string& key) {
    lastShown_[key] = ++clock_;
    failures_.erase(key);
    std::vector<std::string> dropped;
    while (lastShown_.size() > capacity_) {
        auto oldest = lastShown_.end();
        for (auto it = lastShown_.begin(); it != lastShown_.end(); ++it)
            if (!listed_.count(it->first) &&
                (oldest == lastShown_.end() || it->second < oldest->second))
                oldest = it;
        if (oldest == lastShown_.end()) break;
        dropped.push_back(oldest->first);
        lastShown_.erase(oldest);
    }
    return dropped;
}

void ThumbnailCache::failed(const std::string& key, bool mayRetry) {
    // -1: one more try waits; 1: given up.
    int& failures = failures_[key];
    failures = mayRetry && failures == 0 ? -1 : 1;
}
