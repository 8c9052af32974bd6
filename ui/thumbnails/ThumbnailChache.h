#pragma once
// Thumbnails scaled once into fixed cells of shared strip bitmaps ("pages"), looked up by key.
// The cache is bounded: when a new page would pass the byte cap the oldest pages go, and the
// eviction handler hears of each page bitmap before it is deleted, so whoever drew from it can
// fall back to a placeholder. An entry counts only while its key's stamp (for files: size and
// write time) is what it was when the thumbnail was made.
#include <windows.h>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>
#include "framework/GdiHolders.h"

// What identifies the content behind a key at one moment.
struct ThumbnailKeyStamp {
    uint64_t size = 0;
    uint64_t writeTime = 0;
    bool operator==(const ThumbnailKeyStamp& other) const {
        return size == other.size && writeTime == other.writeTime;
    }
    bool operator!=(const ThumbnailKeyStamp& other) const { return !(*this == other); }
};

class CThumbnailChache {
public:
    // Bytes of page bitmaps the cache keeps at most (unless one page alone is larger).
    static const size_t kDefaultByteCap = 32u * 1024u * 1024u;

    CThumbnailChache(int cellWidth = 80, int cellHeight = 100);
    virtual ~CThumbnailChache();
    CThumbnailChache(const CThumbnailChache&) = delete;
    CThumbnailChache& operator=(const CThumbnailChache&) = delete;

    // The thumbnail of key: the page bitmap it lies on (borrowed), its rectangle there and the
    // picture's size before scaling. Loads and scales the picture on a miss; false when it
    // cannot be loaded or no page can be made for it.
    bool GetThumbnail(const std::string& key, RECT* cell, SIZE* sizeBeforeScaling, HBITMAP* page);
    // Puts a picture loaded elsewhere (for example on another thread) in as key's thumbnail and
    // answers as GetThumbnail; picture becomes the cache's (deleted once scaled in).
    bool AddThumbnail(const std::string& key, HBITMAP picture, int width, int height, RECT* cell,
                      SIZE* sizeBeforeScaling, HBITMAP* page);
    // True when key has a current entry (no loading).
    bool Contains(const std::string& key);

    // Drops every page (the eviction handler hears of each first).
    void Clear();
    // Clear, then cells of a new size.
    void Reset(int cellWidth, int cellHeight);

    void SetByteCap(size_t bytes) { byteCap_ = bytes; }
    size_t GetByteCap() const { return byteCap_; }
    size_t GetBytesUsed() const { return bytesUsed_; }
    int GetPageCount() const { return static_cast<int>(pages_.size()); }
    int GetCellWidth() const { return cellWidth_; }
    int GetCellHeight() const { return cellHeight_; }
    void SetEvictionHandler(std::function<void(HBITMAP page)> handler) { onEvict_ = std::move(handler); }

    // Cells of the page made when pageCount pages already exist.
    static int CellsOfNewPage(int pageCount, int cellWidth, int cellHeight);

protected:
    // Loads the picture of key as a bitmap the caller then owns, with the picture's own size
    // (it may hand out a smaller bitmap). The base class loads nothing.
    virtual bool LoadPicture(const char* key, int* width, int* height, HBITMAP* bitmap);
    // The stamp of key now; false when there is nothing behind it. The base class knows no
    // stamps: every entry counts.
    virtual bool ReadKeyStamp(const char* key, ThumbnailKeyStamp* stamp);

private:
    struct Entry {
        std::string key;
        RECT cell;
        SIZE sizeBeforeScaling;
        ThumbnailKeyStamp stamp;
        bool live;
    };
    struct Page {
        GdiObject<HBITMAP> bitmap;
        int width = 0;
        int height = 0;
        size_t bytes = 0;
        std::vector<Entry> entries;
    };
    struct Where {
        Page* page;
        size_t entry;
    };

    bool FindCurrent(const std::string& key, bool stamped, const ThumbnailKeyStamp& now, RECT* cell,
                     SIZE* sizeBeforeScaling, HBITMAP* page);
    bool Store(const std::string& key, const ThumbnailKeyStamp& now, GdiObject<HBITMAP> picture, int width,
               int height, RECT* cell, SIZE* sizeBeforeScaling, HBITMAP* page);
    Page* PageWithRoom();
    void EvictOldestPage();
    void DropPage(Page* page, bool tell);

    int cellWidth_;
    int cellHeight_;
    size_t byteCap_ = kDefaultByteCap;
    size_t bytesUsed_ = 0;
    std::vector<std::unique_ptr<Page>> pages_;  // oldest first
    std::unordered_map<std::string, Where> index_;
    std::function<void(HBITMAP)> onEvict_;
};
