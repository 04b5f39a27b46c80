// Recently drawn pictures, kept in memory up to a byte bound, least recently
// used first out. Safe to use from several threads.
#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "service/core/picture.h"
#include "service/core/picture_query.h"

class PictureCache {
public:
    explicit PictureCache(std::size_t byteLimit);

    // The cached picture, now the most recently used; null when absent.
    std::shared_ptr<const Picture> Find(const PictureRequest& request);
    // Stores the picture, dropping the least recently used ones until the total
    // fits the bound. A picture larger than the whole bound is not kept.
    void Insert(const PictureRequest& request, std::shared_ptr<const Picture> picture);

    std::size_t Bytes() const;
    std::size_t Count() const;

private:
    struct Entry {
        std::string key;
        std::shared_ptr<const Picture> picture;
        std::size_t charge;
    };

    void EvictToFit();

    const std::size_t byteLimit_;
    mutable std::mutex mutex_;
    std::list<Entry> entries_;  // most recently used first
    std::unordered_map<std::string, std::list<Entry>::iterator> index_;
    std::size_t bytes_ = 0;
};
