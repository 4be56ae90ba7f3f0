#pragma once
// The file trees the grants run over: created with Win32 on the benchmark's
// drive and walked the way a minimal recursive tool walks them.
#include <cstddef>
#include <functional>
#include <string>

namespace bench {

enum class TreeShape {
    Wide,  // files spread evenly over 1,000 folders below the root
    Deep,  // a chain of 100 nested folders, the files spread evenly over them
};

struct TreeLayout {
    TreeShape shape;
    size_t files;
};

// Creates the tree under root (which must not exist yet); returns the number of
// objects in it, the root included.
size_t CreateTree(const std::wstring& root, const TreeLayout& layout);

struct TreeObject {
    const std::wstring& path;
    bool isFolder;
    bool isRoot;
};

// Visits root and then everything below it, each folder before its contents.
void WalkTree(const std::wstring& root, const std::function<void(const TreeObject&)>& visit);

}  // namespace bench
