// Which thumbnail renders the scratch folder keeps, and which file wants
// one. The listed files' renders are never dropped, so no listed file is
// rendered twice in a session; beyond them the cache keeps those shown
// last. Needs no platform: the caller writes and deletes the files.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

class ThumbnailCache {
  public:
    // Keeps `capacity` renders, or the listed ones when there are more.
    explicit ThumbnailCache(std::size_t capacity) : capacity_(capacity) {}

    // The cache names of the files listed now.
    void setListed(const std::vector<std::string>& keys);
    bool has(const std::string& key) const { return lastShown_.count(key) != 0; }
    // Not rendered yet, and not given up on.
    bool wanted(const std::string& key) const;
    // `key` was shown (or just rendered): the last to go.
    void shown(const std::string& key);
    // A render of `key` is on disk; the names whose files are to be deleted.
    std::vector<std::string> add(const std::string& key);
    // A render of `key` failed, for `reason`. One that may succeed later (it
    // ran out of time on a busy machine) is tried once more, after the others.
    void failed(const std::string& key, bool mayRetry, const std::string& reason);
    // The kept render of `key` cannot be read back (its file is damaged):
    // `key` is rendered once more, and never a third time.
    void damaged(const std::string& key);
    // Why the last render of `key` failed; "" when none did.
    std::string whyFailed(const std::string& key) const;
    // Whether `key` waits for its second try.
    bool retrying(const std::string& key) const;
    std::size_t size() const { return lastShown_.size(); }

  private:
    std::size_t capacity_;
    long long clock_ = 0;
    std::map<std::string, long long> lastShown_;
    std::set<std::string> listed_;
    struct Failure {
        bool retry; // one more try waits
        std::string reason;
    };
    std::map<std::string, Failure> failures_;
    std::set<std::string> damaged_;
};
