#include "service/core/picture_cache.h"

namespace {

std::string KeyOf(const PictureRequest& request)
{
    std::string key;
    key.reserve(request.name.size() + 1);
    key.push_back(static_cast<char>('0' + request.templateId));
    key.append(request.name);
    return key;
}

// What one entry costs besides its bytes: list node, map node, tag, key.
constexpr std::size_t kEntryOverhead = 160;

}  // namespace

PictureCache::PictureCache(std::size_t byteLimit) : byteLimit_(byteLimit) {}

std::shared_ptr<const Picture> PictureCache::Find(const PictureRequest& request)
{
    const std::string key = KeyOf(request);
    std::lock_guard lock(mutex_);
    const auto found = index_.find(key);
    if (found == index_.end()) return nullptr;
    entries_.splice(entries_.begin(), entries_, found->second);
    return found->second->picture;
}

void PictureCache::Insert(const PictureRequest& request, std::shared_ptr<const Picture> picture)
{
    if (!picture) return;
    std::string key = KeyOf(request);
    const std::size_t charge = picture->jpeg.size() + 2 * key.size() + kEntryOverhead;
    std::lock_guard lock(mutex_);
    if (const auto found = index_.find(key); found != index_.end()) {
        bytes_ -= found->second->charge;
        entries_.erase(found->second);
        index_.erase(found);
    }
    if (charge > byteLimit_) return;
    entries_.push_front(Entry{key, std::move(picture), charge});
    index_.emplace(std::move(key), entries_.begin());
    bytes_ += charge;
    EvictToFit();
}

void PictureCache::EvictToFit()
{
    while (bytes_ > byteLimit_ && !entries_.empty()) {
        bytes_ -= entries_.back().charge;
        index_.erase(entries_.back().key);
        entries_.pop_back();
    }
}

std::size_t PictureCache::Bytes() const
{
    std::lock_guard lock(mutex_);
    return bytes_;
}

std::size_t PictureCache::Count() const
{
    std::lock_guard lock(mutex_);
    return entries_.size();
}
