#include "core/ImageRecordBlob.h"

#include "core/BlobReader.h"
#include "core/BlobWriter.h"

namespace {
// Four string lengths and three numbers: the least a record can take.
const size_t kMinRecordSize = 4 * 4 + 3 * 4;
}

std::vector<uint8_t> EncodeImageRecords(const ImageRecordList& list)
{
    BlobWriter out;
    out.WriteU32(static_cast<uint32_t>(list.GetCount()));
    for (int i = 0; i < list.GetCount(); ++i) {
        const ImageRecord& r = list.GetAt(i);
        out.WriteCountedString(r.pageUrl);
        out.WriteCountedString(r.imageUrl);
        out.WriteCountedString(r.localPath);
        out.WriteCountedString(r.fileName);
        out.WriteI32(r.fileSize);
        out.WriteU32(r.timeLow);
        out.WriteU32(r.timeHigh);
        out.WriteU8(r.flag);
    }
    return out.Bytes();
}

bool ImageRecordsHaveFlag(int32_t versionMajor, int32_t versionMinor)
{
    return versionMajor > 1 || (versionMajor == 1 && versionMinor > 0);
}

bool DecodeImageRecords(const uint8_t* data, size_t size, bool hasFlag, ImageRecordList& list)
{
    BlobReader in(data, size);
    uint32_t count = 0;
    if (!in.ReadCount(count, kMinRecordSize + (hasFlag ? 1 : 0)))
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        ImageRecord r;
        in.ReadCountedString(r.pageUrl);
        in.ReadCountedString(r.imageUrl);
        in.ReadCountedString(r.localPath);
        in.ReadCountedString(r.fileName);
        in.ReadI32(r.fileSize);
        in.ReadU32(r.timeLow);
        in.ReadU32(r.timeHigh);
        if (hasFlag)
            in.ReadU8(r.flag);
        else
            r.flag = 1;
        if (in.Failed())
            return false;
        list.Append(r);
    }
    // Bytes after the last record mean the count was wrong.
    return in.AtEnd();
}
