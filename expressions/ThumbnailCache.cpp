#include "expressions/ThumbnailCache.h"

void ThumbnailCache::setListed(const std::vector<std::string>& keys) {
    listed_ = std::set<std::string>(keys.begin(), keys.end());
}

bool ThumbnailCache::wanted(const std::string& key) const {
    return !key.empty() && !has(key) && (!failures_.count(key) || retrying(key));
}

bool ThumbnailCache::retrying(const std::string& key) const {
    auto failure = failures_.find(key);
    return failure != failures_.end() && failure->second.retry;
}

std::string ThumbnailCache::whyFailed(const std::string& key) const {
    auto failure = failures_.find(key);
    return failure == failures_.end() ? std::string() : failure->second.reason;
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

void ThumbnailCache::failed(const std::string& key, bool mayRetry, const std::string& reason) {
    bool first = !failures_.count(key);
    failures_[key] = {mayRetry && first, reason};
}

void ThumbnailCache::damaged(const std::string& key) {
    lastShown_.erase(key);
    bool first = damaged_.insert(key).second;
    failures_[key] = {first, "its kept render could not be read back"};
}
