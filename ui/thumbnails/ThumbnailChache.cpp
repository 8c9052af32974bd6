#include "ui/thumbnails/ThumbnailChache.h"

#include <algorithm>
#include <utility>
#include "framework/GdiHolders.h"
#include "imaging/DibHelpers.h"
#include "ui/thumbnails/ThumbnailLayout.h"

namespace {

// Page budgets grow with the page count: small first pages for small tasks, bigger ones later.
const long long kPageBudgetStep = 500000;
const long long kPageBudgetMax = 15000000;

size_t PageBytes(int width, int height) {
    const size_t stride = ((static_cast<size_t>(width) * 3 + 3) / 4) * 4;
    return stride * static_cast<size_t>(height);
}

}  // namespace

CThumbnailChache::CThumbnailChache(int cellWidth, int cellHeight)
    : cellWidth_(std::max(1, cellWidth)), cellHeight_(std::max(1, cellHeight)) {}

CThumbnailChache::~CThumbnailChache() {
    for (auto& page : pages_) DropPage(page.get(), false);
}

int CThumbnailChache::CellsOfNewPage(int pageCount, int cellWidth, int cellHeight) {
    const long long budget = std::min(kPageBudgetStep * (pageCount + 1), kPageBudgetMax);
    const long long cellBytes = static_cast<long long>(cellWidth) * cellHeight * 4;
    if (cellBytes <= 0) return 0;
    return static_cast<int>(std::max(1LL, budget / cellBytes));
}

bool CThumbnailChache::LoadPicture(const char*, int*, int*, HBITMAP*) { return false; }

bool CThumbnailChache::ReadKeyStamp(const char*, ThumbnailKeyStamp* stamp) {
    *stamp = ThumbnailKeyStamp();
    return true;
}

bool CThumbnailChache::Contains(const std::string& key) {
    auto found = index_.find(key);
    if (found == index_.end()) return false;
    ThumbnailKeyStamp now;
    const Entry& entry = found->second.page->entries[found->second.entry];
    if (!ReadKeyStamp(key.c_str(), &now) || now != entry.stamp) return false;
    return true;
}

bool CThumbnailChache::FindCurrent(const std::string& key, bool stamped, const ThumbnailKeyStamp& now, RECT* cell,
                                   SIZE* sizeBeforeScaling, HBITMAP* page) {
    auto found = index_.find(key);
    if (found == index_.end()) return false;
    Entry& entry = found->second.page->entries[found->second.entry];
    if (stamped && entry.stamp == now) {
        *cell = entry.cell;
        *sizeBeforeScaling = entry.sizeBeforeScaling;
        *page = found->second.page->bitmap.Get();
        return true;
    }
    // The picture behind the key changed (or is gone): its old thumbnail must not show.
    entry.live = false;
    index_.erase(found);
    return false;
}

bool CThumbnailChache::GetThumbnail(const std::string& key, RECT* cell, SIZE* sizeBeforeScaling,
                                    HBITMAP* page) {
    ThumbnailKeyStamp now;
    const bool stamped = ReadKeyStamp(key.c_str(), &now);
    if (FindCurrent(key, stamped, now, cell, sizeBeforeScaling, page)) return true;
    if (!stamped) return false;
    int width = 0, height = 0;
    HBITMAP picture = nullptr;
    if (!LoadPicture(key.c_str(), &width, &height, &picture) || !picture) return false;
    return Store(key, now, GdiObject<HBITMAP>(picture), width, height, cell, sizeBeforeScaling, page);
}

bool CThumbnailChache::AddThumbnail(const std::string& key, HBITMAP picture, int width, int height, RECT* cell,
                                    SIZE* sizeBeforeScaling, HBITMAP* page) {
    GdiObject<HBITMAP> owned(picture);
    ThumbnailKeyStamp now;
    const bool stamped = ReadKeyStamp(key.c_str(), &now);
    RECT oldCell;
    SIZE oldSize;
    HBITMAP oldPage = nullptr;
    if (!stamped || FindCurrent(key, stamped, now, &oldCell, &oldSize, &oldPage)) {
        // Gone meanwhile, or already there: the current entry stands.
        if (!stamped) return false;
        *cell = oldCell;
        *sizeBeforeScaling = oldSize;
        *page = oldPage;
        return true;
    }
    return Store(key, now, std::move(owned), width, height, cell, sizeBeforeScaling, page);
}

// The picture is deleted on the way out, scaled in or not.
bool CThumbnailChache::Store(const std::string& key, const ThumbnailKeyStamp& now, GdiObject<HBITMAP> picture,
                             int width, int height, RECT* cell, SIZE* sizeBeforeScaling, HBITMAP* page) {
    BITMAP info = {};
    if (!::GetObjectA(picture.Get(), sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight == 0) return false;
    const int pictureHeight = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    const SIZE fitted = FitIntoCell(info.bmWidth, pictureHeight, cellWidth_, cellHeight_);

    Page* target = PageWithRoom();
    if (!target) return false;
    Entry entry;
    entry.key = key;
    const int n = static_cast<int>(target->entries.size());
    entry.cell = {n * cellWidth_, 0, n * cellWidth_ + fitted.cx, fitted.cy};
    entry.sizeBeforeScaling = {width, height};
    entry.stamp = now;
    entry.live = true;

    {
        WindowDc screen(nullptr);
        MemoryDc from(screen.Get(), picture.Get()), to(screen.Get(), target->bitmap.Get());
        ::SetStretchBltMode(to.Get(), HALFTONE);
        ::SetBrushOrgEx(to.Get(), 0, 0, nullptr);
        ::StretchBlt(to.Get(), entry.cell.left, 0, fitted.cx, fitted.cy, from.Get(), 0, 0, info.bmWidth, pictureHeight,
                     SRCCOPY);
        ::GdiFlush();
    }

    target->entries.push_back(entry);
    index_[key] = Where{target, target->entries.size() - 1};
    *cell = entry.cell;
    *sizeBeforeScaling = entry.sizeBeforeScaling;
    *page = target->bitmap.Get();
    return true;
}

CThumbnailChache::Page* CThumbnailChache::PageWithRoom() {
    if (!pages_.empty()) {
        Page* last = pages_.back().get();
        if (static_cast<int>(last->entries.size()) * cellWidth_ < last->width) return last;
    }
    const int cells = CellsOfNewPage(static_cast<int>(pages_.size()), cellWidth_, cellHeight_);
    const long long width = static_cast<long long>(cells) * cellWidth_;
    if (width <= 0 || width > 0x7fffffffLL) return nullptr;
    const size_t bytes = PageBytes(static_cast<int>(width), cellHeight_);
    while (!pages_.empty() && bytesUsed_ + bytes > byteCap_) EvictOldestPage();

    auto page = std::make_unique<Page>();
    page->bitmap.Reset(CreateDibSection24(nullptr, static_cast<int>(width), cellHeight_));
    // A page that cannot be had makes this load fail; the caller shows the picture as failed.
    if (!page->bitmap) return nullptr;
    page->width = static_cast<int>(width);
    page->height = cellHeight_;
    page->bytes = bytes;
    bytesUsed_ += bytes;
    pages_.push_back(std::move(page));
    return pages_.back().get();
}

void CThumbnailChache::EvictOldestPage() {
    std::unique_ptr<Page> oldest = std::move(pages_.front());
    pages_.erase(pages_.begin());
    DropPage(oldest.get(), true);
}

void CThumbnailChache::DropPage(Page* page, bool tell) {
    for (const Entry& entry : page->entries) {
        if (!entry.live) continue;
        auto found = index_.find(entry.key);
        if (found != index_.end() && found->second.page == page) index_.erase(found);
    }
    if (tell && onEvict_) onEvict_(page->bitmap.Get());
    page->bitmap.Reset();
    bytesUsed_ -= std::min(bytesUsed_, page->bytes);
    page->entries.clear();
}

void CThumbnailChache::Clear() {
    std::vector<std::unique_ptr<Page>> pages;
    pages.swap(pages_);
    for (auto& page : pages) DropPage(page.get(), true);
    index_.clear();
    bytesUsed_ = 0;
}

void CThumbnailChache::Reset(int cellWidth, int cellHeight) {
    Clear();
    cellWidth_ = std::max(1, cellWidth);
    cellHeight_ = std::max(1, cellHeight);
}
