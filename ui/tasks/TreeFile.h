#pragma once
// The tree file "Tasks\Tree.config": a property bag (version 2.0) whose key "TasksTree" holds the
// folders and task file names of the tasks tree. The blob is a count of the root's children and
// one 256-byte record per child (kind byte, 0 task / other folder, then a zero-padded name of at
// most 254 characters); a folder's record is followed by its own count and records.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct TreeFileNode {
    bool folder = false;
    std::string name;  // a task's file name in "Tasks\", or a folder's label
    std::vector<TreeFileNode> children;
};

const size_t kTreeRecordSize = 256;
const size_t kTreeNameMax = 254;
const size_t kTreeBytesPerItem = 1024;
const int kTreeMaxDepth = 64;

// The blob for the root's children: kTreeBytesPerItem bytes per item (the root included), the
// records first and zeros after them.
std::vector<uint8_t> WriteTreeBlob(const std::vector<TreeFileNode>& rootChildren);

// Reads a blob; every count is checked against the bytes left and folders nest at most
// kTreeMaxDepth deep. False when the blob is damaged: what was read whole is kept.
bool ReadTreeBlob(const std::vector<uint8_t>& blob, std::vector<TreeFileNode>& rootChildren);

enum class TreeFileStatus { Loaded, Missing, KeptAside, Locked, NotKept };
// Loads the tree file at path. KeptAside: damaged or of a newer version; a copy lies beside it,
// the user was told, and the folders it held whole are read. Locked: there but out of reach (the
// caller tells the user). NotKept: damaged and no copy could be made (the user was told). The
// last two must not be written over this run.
TreeFileStatus LoadTreeFile(const std::string& path, std::vector<TreeFileNode>& rootChildren);
bool SaveTreeFile(const std::string& path, const std::vector<TreeFileNode>& rootChildren);
