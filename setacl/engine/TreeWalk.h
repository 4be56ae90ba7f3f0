#pragma once
// Brings everything below a target folder in line with the target's new inheritable
// entries, one object at a time: memory depends on the depth, not on the number of objects.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "common/unique_any.h"
#include "setacl/engine/AclMerge.h"
#include "setacl/engine/RequestLog.h"

namespace setacl {

struct WalkCounts {
    size_t visited = 0, changed = 0, unchanged = 0, skipped = 0, failed = 0;
};

class TreeWalk {
public:
    TreeWalk(const std::vector<AccessEntry>& entries, RequestLog& log) : entries_(entries), log_(log) {}

    // `folder` is the target, open through OpenObject; `path` its long path and
    // `resolved` where the platform says the open folder lies on its volume.
    WalkCounts Run(common::unique_hfile folder, const std::wstring& path, std::wstring_view resolved,
                   const ACL& targetAcl, const TargetResult& target);

private:
    struct Frame {
        common::unique_hfile folder;
        std::vector<BYTE> listing;
        size_t next = 0;  // offset of the next record in `listing`; kRefill when it is used up
        size_t pathLength = 0;
        std::vector<size_t> filePosition, folderPosition;  // per entry
    };
    // What the children at one depth get, per entry.
    struct Level {
        std::vector<InheritedChange> files, folders;
        bool empty = true;
    };

    static Level LevelBelow(const std::vector<InheritedChange>& folderChanges);
    const Level& LevelAt(size_t depth);
    void Push(common::unique_hfile folder, const ACL& acl, const std::vector<int>& placedAt);
    const FILE_ID_BOTH_DIR_INFO* NextRecord(Frame& frame);
    void Visit(const FILE_ID_BOTH_DIR_INFO& record);
    const wchar_t* Refusal(HANDLE object, bool folder, DWORD& attributes, DWORD& error);
    void Note(const wchar_t* what, const std::wstring& reason = {});

    const std::vector<AccessEntry>& entries_;
    RequestLog& log_;
    std::vector<Level> levels_;
    std::vector<Frame> frames_;  // never shrinks: the buffers of each depth are reused
    size_t depth_ = 0;           // frames in use
    std::wstring path_;
    std::wstring base_;      // the target's resolved path; a child's must be this plus its own part
    size_t targetLength_ = 0;
    std::wstring expected_;
    std::vector<BYTE> nameBuffer_;
    WalkCounts counts_;
    std::vector<BYTE> descriptor_, acl_;
    std::vector<ChildEdit> edits_;
    std::vector<int> placedAt_;
};

}  // namespace setacl
