#include "ui/tasks/TreeFile.h"
#include "core/BlobReader.h"
#include "core/BlobWriter.h"
#include "core/PropertyBag.h"
#include "core/StoredFileGuard.h"

namespace {
const char* const kTreeKey = "TasksTree";

size_t CountItems(const std::vector<TreeFileNode>& nodes) {
    size_t count = nodes.size();
    for (const TreeFileNode& node : nodes)
        if (node.folder) count += CountItems(node.children);
    return count;
}

void WriteLevel(BlobWriter& writer, const std::vector<TreeFileNode>& nodes) {
    writer.WriteU32(static_cast<uint32_t>(nodes.size()));
    for (const TreeFileNode& node : nodes) {
        writer.WriteU8(node.folder ? 1 : 0);
        writer.WriteFixedString(node.name.substr(0, kTreeNameMax), kTreeRecordSize - 1);
        if (node.folder) WriteLevel(writer, node.children);
    }
}

bool ReadLevel(BlobReader& reader, std::vector<TreeFileNode>& nodes, int depth) {
    uint32_t count = 0;
    // A count is cut to the records the bytes left could hold.
    if (!reader.ReadCount(count, kTreeRecordSize)) return false;
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t kind = 0;
        TreeFileNode node;
        if (!reader.ReadU8(kind) || !reader.ReadFixedString(node.name, kTreeRecordSize - 1)) return false;
        // No item is written without a name: a nameless one is the zeros after the records, read
        // because a count claimed more items than there are.
        if (node.name.empty()) return false;
        if (node.name.size() > kTreeNameMax) node.name.resize(kTreeNameMax);
        node.folder = kind != 0;
        if (node.folder) {
            if (depth >= kTreeMaxDepth) {
                nodes.push_back(std::move(node));
                return false;
            }
            const bool whole = ReadLevel(reader, node.children, depth + 1);
            nodes.push_back(std::move(node));
            if (!whole) return false;
            continue;
        }
        nodes.push_back(std::move(node));
    }
    return true;
}
}  // namespace

std::vector<uint8_t> WriteTreeBlob(const std::vector<TreeFileNode>& rootChildren) {
    BlobWriter writer;
    WriteLevel(writer, rootChildren);
    std::vector<uint8_t> blob = writer.Bytes();
    const size_t size = kTreeBytesPerItem * (CountItems(rootChildren) + 1);
    if (blob.size() < size) blob.resize(size, 0);
    return blob;
}

bool ReadTreeBlob(const std::vector<uint8_t>& blob, std::vector<TreeFileNode>& rootChildren) {
    BlobReader reader(blob);
    if (!ReadLevel(reader, rootChildren, 1)) return false;
    // Only the zeros of the padding may follow the records.
    for (size_t at = reader.Position(); at < blob.size(); ++at)
        if (blob[at] != 0) return false;
    return true;
}

TreeFileStatus LoadTreeFile(const std::string& path, std::vector<TreeFileNode>& rootChildren) {
    PropertyBag bag;
    StoredFileGuard guard(path);
    const PropertyBag::LoadStatus status = guard.Load(bag);
    if (status == PropertyBag::LoadStatus::Missing) return TreeFileStatus::Missing;
    if (status == PropertyBag::LoadStatus::Unreadable) return TreeFileStatus::Locked;
    std::vector<uint8_t> blob;
    bool found = bag.GetBlob(kTreeKey, blob);
    // A file cut inside the blob still gives the folders before the cut.
    if (!found && bag.CutValue() && bag.CutValue()->GetName() == kTreeKey) {
        blob = bag.CutValue()->GetBytes();
        found = true;
    }
    // A damaged file still gives the folders it holds whole.
    if (found && !ReadTreeBlob(blob, rootChildren)) guard.Damaged();
    if (!guard.MayWrite()) return TreeFileStatus::NotKept;
    return guard.KeptCopy().empty() ? TreeFileStatus::Loaded : TreeFileStatus::KeptAside;
}

bool SaveTreeFile(const std::string& path, const std::vector<TreeFileNode>& rootChildren) {
    PropertyBag bag;
    bag.SetCurrentVersion();
    bag.SetBlob(kTreeKey, WriteTreeBlob(rootChildren));
    return bag.Save(path);
}
