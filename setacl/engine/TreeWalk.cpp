#include "setacl/engine/TreeWalk.h"

#include "setacl/engine/ObjectAccess.h"

namespace setacl {

namespace {

constexpr size_t kRefill = static_cast<size_t>(-1);
constexpr size_t kListingSize = 16 * 1024;

bool IsDotName(const FILE_ID_BOTH_DIR_INFO& r) {
    const size_t n = r.FileNameLength / sizeof(wchar_t);
    return (n == 1 && r.FileName[0] == L'.') || (n == 2 && r.FileName[0] == L'.' && r.FileName[1] == L'.');
}

}  // namespace

TreeWalk::Level TreeWalk::LevelBelow(const std::vector<InheritedChange>& folderChanges) {
    Level level;
    for (const InheritedChange& change : folderChanges) {
        level.files.push_back(InheritedFrom(change, false));
        level.folders.push_back(InheritedFrom(change, true));
        const InheritedChange& f = level.files.back();
        const InheritedChange& d = level.folders.back();
        level.empty = level.empty && !f.add && f.drop.empty() && !d.add && d.drop.empty();
    }
    return level;
}

const TreeWalk::Level& TreeWalk::LevelAt(size_t depth) {
    while (levels_.size() <= depth) levels_.push_back(LevelBelow(levels_.back().folders));
    return levels_[depth];
}

void TreeWalk::Note(const wchar_t* what, const std::wstring& reason) {
    std::wstring line = L"  ";
    line += what;
    line += L": ";
    line += DisplayPath(path_);
    if (!reason.empty()) line += L" (" + reason + L")";
    log_.Line(line);
}

WalkCounts TreeWalk::Run(common::unique_hfile folder, const std::wstring& path, std::wstring_view resolved,
                         const ACL& targetAcl, const TargetResult& target) {
    std::vector<InheritedChange> fromTarget;
    for (size_t e = 0; e < entries_.size(); ++e)
        fromTarget.push_back(entries_[e].toExisting ? target.explicitChanges[e] : InheritedChange{});
    levels_.assign(1, LevelBelow(fromTarget));
    counts_ = {};
    if (levels_[0].empty) return counts_;

    path_ = path;
    if (path_.back() == L'\\') path_.pop_back();  // a drive root
    targetLength_ = path_.size();
    // Every child part starts with the separator already.
    base_.assign(WithoutTrailingSeparators(resolved));
    depth_ = 0;
    Push(std::move(folder), targetAcl, target.placedAt);
    while (depth_ > 0) {
        Frame& frame = frames_[depth_ - 1];
        path_.resize(frame.pathLength);
        const FILE_ID_BOTH_DIR_INFO* record = NextRecord(frame);
        if (!record) {
            frame.folder.reset();
            --depth_;
            continue;
        }
        if (IsDotName(*record)) continue;
        path_ += L'\\';
        path_.append(record->FileName, record->FileNameLength / sizeof(wchar_t));
        Visit(*record);
    }
    return counts_;
}

void TreeWalk::Push(common::unique_hfile folder, const ACL& acl, const std::vector<int>& placedAt) {
    if (frames_.size() <= depth_) frames_.emplace_back();
    Frame& frame = frames_[depth_++];
    frame.folder = std::move(folder);
    frame.listing.resize(kListingSize);
    frame.next = kRefill;
    frame.pathLength = path_.size();
    frame.filePosition.resize(entries_.size());
    frame.folderPosition.resize(entries_.size());
    for (size_t e = 0; e < entries_.size(); ++e) {
        frame.filePosition[e] = InheritedBefore(acl, placedAt[e], false);
        frame.folderPosition[e] = InheritedBefore(acl, placedAt[e], true);
    }
}

const FILE_ID_BOTH_DIR_INFO* TreeWalk::NextRecord(Frame& frame) {
    if (frame.next == kRefill) {
        if (!::GetFileInformationByHandleEx(frame.folder.get(), FileIdBothDirectoryInfo, frame.listing.data(),
                                            static_cast<DWORD>(frame.listing.size()))) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_NO_MORE_FILES) {
                ++counts_.failed;
                Note(L"failed to list", ErrorMessage(error));
            }
            return nullptr;
        }
        frame.next = 0;
    }
    auto* record = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(frame.listing.data() + frame.next);
    frame.next = record->NextEntryOffset ? frame.next + record->NextEntryOffset : kRefill;
    return record;
}

// Why the open object must be neither changed nor entered; null when it may be. Asked
// only before a write or a descent: reading the list of whatever was opened harms nothing,
// and a re-run that changes nothing then costs no more than reading every list.
const wchar_t* TreeWalk::Refusal(HANDLE object, bool folder, DWORD& attributes, DWORD& error) {
    // The cheapest questions that answer what is needed: GetFileInformationByHandle also
    // asks for the volume, which costs more than reading the access list under Wine.
    FILE_ATTRIBUTE_TAG_INFO tag;
    if (!::GetFileInformationByHandleEx(object, FileAttributeTagInfo, &tag, sizeof tag)) {
        error = ::GetLastError();
        return L"cannot inspect";
    }
    attributes = tag.FileAttributes;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return L"link or junction, not followed";
    // What was opened must be what was listed: a swap in between, or a link the platform
    // does not report, shows in where the handle really leads.
    expected_.assign(base_);
    expected_.append(path_, targetLength_, std::wstring::npos);
    if (((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != folder ||
        !SamePath(ResolvedPath(object, nameBuffer_), expected_))
        return L"link or junction, not followed";
    if (folder) return nullptr;
    FILE_STANDARD_INFO standard;
    if (!::GetFileInformationByHandleEx(object, FileStandardInfo, &standard, sizeof standard)) {
        error = ::GetLastError();
        return L"cannot inspect";
    }
    return standard.NumberOfLinks > 1 ? L"file with more than one hard link" : nullptr;
}

void TreeWalk::Visit(const FILE_ID_BOTH_DIR_INFO& record) {
    ++counts_.visited;
    const bool folder = (record.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // The listing is the only place where this platform reliably reports a symbolic link
    // to a folder.
    if (record.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        ++counts_.skipped;
        return Note(L"skipped", L"link or junction, not followed");
    }
    common::unique_hfile object = OpenObject(path_, folder);
    if (!object) {
        ++counts_.failed;
        return Note(L"failed", L"cannot open: " + ErrorMessage(::GetLastError()));
    }
    ObjectDacl dacl;
    if (const DWORD error = ReadDacl(object.get(), descriptor_, dacl)) {
        ++counts_.failed;
        return Note(L"failed", L"cannot read the access list: " + ErrorMessage(error));
    }
    if (dacl.Protected()) {
        ++counts_.skipped;
        return Note(L"skipped", folder ? L"protected access list; nothing below it is changed" : L"protected access list");
    }
    if (!dacl.acl) {
        ++counts_.skipped;
        return Note(L"skipped", L"no access list");
    }
    const Frame& parent = frames_[depth_ - 1];
    const Level& level = levels_[depth_ - 1];
    edits_.resize(entries_.size());
    for (size_t e = 0; e < entries_.size(); ++e) {
        edits_[e].change = folder ? &level.folders[e] : &level.files[e];
        edits_[e].position = folder ? parent.folderPosition[e] : parent.filePosition[e];
    }
    const bool changed = EditDescendant(*dacl.acl, entries_, edits_, acl_, placedAt_);
    const bool descend = folder && !LevelAt(depth_).empty;
    if (changed || descend) {
        DWORD attributes = 0, error = ERROR_SUCCESS;
        if (const wchar_t* reason = Refusal(object.get(), folder, attributes, error)) {
            if (error == ERROR_SUCCESS) {
                ++counts_.skipped;
                return Note(L"skipped", reason);
            }
            ++counts_.failed;
            return Note(L"failed", std::wstring(reason) + L": " + ErrorMessage(error));
        }
        if (changed) {
            if (!Fits(acl_)) {
                ++counts_.failed;
                return Note(L"failed", L"the access list would outgrow the 64 KB a list can hold");
            }
            if (const DWORD e = WriteDacl(object.get(), reinterpret_cast<const ACL*>(acl_.data()),
                                          dacl.control | SE_DACL_AUTO_INHERITED)) {
                ++counts_.failed;
                return Note(L"failed", L"cannot write the access list: " + ErrorMessage(e));
            }
            if (const DWORD e = KeepReadOnly(object.get(), attributes)) {
                ++counts_.failed;
                return Note(L"failed", L"cannot keep it read-only: " + ErrorMessage(e));
            }
        }
    }
    if (changed) {
        ++counts_.changed;
        Note(L"changed");
    } else {
        ++counts_.unchanged;
        Note(L"unchanged");
    }
    if (descend) Push(std::move(object), *reinterpret_cast<const ACL*>(acl_.data()), placedAt_);
}

}  // namespace setacl
