#pragma once
// What the two file-type trees (the options' groups and a task's chosen types) do alike: a
// group item with its extensions under it, and New, Edit and Delete asked of the user the same
// way. Each page then shows the change its own way.
#include <windows.h>
#include <string>
#include <vector>
#include "core/FileTypes.h"
#include "framework/TreeViewCtrl.h"

// Tree item data: a group item or an extension item under it.
enum FileTypeItemKind { kFileTypeGroupItem = 1, kFileTypeExtensionItem = 2 };

// The selected item's group item (an extension item stands for its parent), or null.
HTREEITEM SelectedFileTypeGroupItem(const CTreeViewCtrl& tree);
// Asks for a new group (name and extensions) and appends it to groups; false when cancelled.
bool AskNewFileTypeGroup(HWND owner, std::vector<FileTypeGroup>& groups, FileTypeGroup& added);
// Asks for the new name and extensions of the group at the item and puts them in its place in
// groups; the item takes the new name and loses its extension items (the page puts the new
// ones). The edited group, or null when cancelled or not found.
const FileTypeGroup* AskEditFileTypeGroup(HWND owner, CTreeViewCtrl& tree, HTREEITEM item,
                                          std::vector<FileTypeGroup>& groups);
// Asks whether to delete the selected group or extension, then removes it from groups and the
// tree. True when it went; groupOfExtension is then the group item an extension was under, or
// null for a group.
bool AskDeleteFileTypeItem(HWND owner, CTreeViewCtrl& tree, std::vector<FileTypeGroup>& groups,
                           HTREEITEM& groupOfExtension);
