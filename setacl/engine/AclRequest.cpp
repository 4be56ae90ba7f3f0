#include "setacl/engine/AclRequest.h"

#include <windows.h>

#include <map>
#include <new>

#include "setacl/engine/AclMerge.h"
#include "setacl/engine/ObjectAccess.h"
#include "setacl/engine/RequestLog.h"
#include "setacl/engine/ResultCode.h"
#include "setacl/engine/TreeWalk.h"
#include "setacl/engine/Trustee.h"

namespace setacl {

namespace {

constexpr int32_t kFileObject = 1;
constexpr int32_t kAddEntries = 1;
constexpr int32_t kDacl = 1;
constexpr int32_t kMaxInheritance = 3;  // files (1) | subfolders (2)

struct Permission {
    const wchar_t* name;
    ACCESS_MASK mask;
};
// File-system specific masks, never generic rights, so that a folder holds one ACE
// for each rather than a pair split into effective and inherit-only parts.
constexpr Permission kPermissions[] = {
    {L"Full", FILE_ALL_ACCESS},
    {L"Change", FILE_GENERIC_READ | FILE_GENERIC_WRITE | FILE_GENERIC_EXECUTE | DELETE},
    {L"Read", FILE_GENERIC_READ | FILE_GENERIC_EXECUTE},
};

// Whole strings, so that "Full" followed by a NUL and more is not "Full".
bool SameText(const std::wstring& a, const wchar_t* b) {
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b, -1, TRUE) == CSTR_EQUAL;
}

// A caller's text as the log and the error texts show it: bounded, NULs made visible.
std::wstring Shown(const std::wstring& text) {
    constexpr size_t kLimit = 300;
    std::wstring out = text.size() > kLimit ? text.substr(0, kLimit) + L"..." : text;
    for (wchar_t& c : out)
        if (c == L'\0') c = L'?';
    return out;
}

std::wstring Quoted(const std::wstring& s) { return L"\"" + Shown(s) + L"\""; }

// The control's methods end here: a failure inside must become a code, never an exception.
template <typename F>
int32_t Guarded(F&& f) noexcept {
    try {
        return f();
    } catch (const std::bad_alloc&) {
        return static_cast<int32_t>(E_OUTOFMEMORY);
    } catch (...) {
        return static_cast<int32_t>(E_UNEXPECTED);
    }
}

}  // namespace

struct AclRequest::State {
    explicit State(MessageSink sink) : log(std::move(sink)) {}

    RequestLog log;
    std::wstring target;  // long form; empty until ChooseTarget succeeds
    bool actionChosen = false;
    std::vector<AccessEntry> entries;
    std::map<int32_t, std::wstring> details;  // what the last failure with each code was about

    int32_t Fail(int32_t code, std::wstring detail) {
        details[code] = std::move(detail);
        return code;
    }
    int32_t Done(const std::wstring& call, int32_t code) {
        std::wstring line = call + L" -> " + std::to_wstring(code);
        if (code != kOk) line += L": " + DescribeResult(code, details.count(code) ? details[code] : std::wstring());
        log.Line(line);
        log.Flush();
        return code;
    }
    struct OpenTarget {
        common::unique_hfile handle;
        DWORD attributes = 0;
        bool folder = false;
        std::vector<BYTE> nameBuffer;
        std::wstring_view resolved;  // in nameBuffer
    };
    int32_t Open(OpenTarget& opened);
    int32_t Apply();
};

AclRequest::AclRequest(MessageSink sink) : state_(std::make_unique<State>(std::move(sink))) {}
AclRequest::~AclRequest() = default;

int32_t AclRequest::ChooseLogFile(const std::wstring& path) {
    return Guarded([&] {
        State& s = *state_;
        int32_t code = kOk;
        DWORD error = ERROR_SUCCESS;
        const std::wstring full = path.empty() ? std::wstring() : LongPath(path, error);
        if (path.empty()) code = s.Fail(kEmptyPath, L"log file");
        else if (full.empty()) code = s.Fail(FromWin32(error), Shown(path));
        else if ((error = s.log.Open(full)) != ERROR_SUCCESS) code = s.Fail(FromWin32(error), Shown(path));
        return s.Done(L"ChooseLogFile(" + Quoted(Shown(path)) + L")", code);
    });
}

int32_t AclRequest::ChooseTarget(const std::wstring& path, int32_t objectKind) {
    return Guarded([&] {
        State& s = *state_;
        // A failed choice must not leave the previous request in place to be applied.
        s.target.clear();
        s.actionChosen = false;
        s.entries.clear();
        const std::wstring call = L"ChooseTarget(" + Quoted(Shown(path)) + L", " + std::to_wstring(objectKind) + L")";
        if (objectKind != kFileObject) return s.Done(call, s.Fail(kBadObjectKind, std::to_wstring(objectKind)));
        if (path.empty()) return s.Done(call, s.Fail(kEmptyPath, L"target"));
        DWORD error = ERROR_SUCCESS;
        std::wstring full = LongPath(path, error);
        if (full.empty()) return s.Done(call, s.Fail(FromWin32(error), Shown(path)));
        s.target = std::move(full);
        return s.Done(call, kOk);
    });
}

int32_t AclRequest::ChooseAction(int32_t action) {
    return Guarded([&] {
        State& s = *state_;
        const std::wstring call = L"ChooseAction(" + std::to_wstring(action) + L")";
        if (s.target.empty()) return s.Done(call, s.Fail(kNoTarget, L"ChooseAction"));
        if (action != kAddEntries) return s.Done(call, s.Fail(kBadAction, std::to_wstring(action)));
        s.actionChosen = true;
        return s.Done(call, kOk);
    });
}

int32_t AclRequest::AddAccessEntry(const std::wstring& trustee, bool trusteeIsSid, const std::wstring& permission,
                                   int32_t inheritance, bool toExisting, int32_t mode, int32_t list) {
    return Guarded([&] {
        State& s = *state_;
        const std::wstring call = L"AddAccessEntry(" + Quoted(trustee) + (trusteeIsSid ? L", SID, " : L", name, ") +
                                  Quoted(permission) + L", " + std::to_wstring(inheritance) +
                                  (toExisting ? L", to existing, " : L", not to existing, ") +
                                  std::to_wstring(mode) + L", " + std::to_wstring(list) + L")";
        if (s.target.empty()) return s.Done(call, s.Fail(kNoTarget, L"AddAccessEntry"));
        if (!s.actionChosen) return s.Done(call, s.Fail(kNoAction, DisplayPath(s.target)));
        if (list != kDacl) return s.Done(call, s.Fail(kBadList, std::to_wstring(list)));
        if (mode != static_cast<int32_t>(EntryMode::Set) && mode != static_cast<int32_t>(EntryMode::Grant))
            return s.Done(call, s.Fail(kBadMode, std::to_wstring(mode)));
        if (inheritance < 0 || inheritance > kMaxInheritance)
            return s.Done(call, s.Fail(kBadInheritance, std::to_wstring(inheritance)));
        AccessEntry entry;
        const Permission* known = nullptr;
        for (const Permission& p : kPermissions)
            if (SameText(permission, p.name)) known = &p;
        if (!known) return s.Done(call, s.Fail(kBadPermission, Shown(permission)));
        entry.mask = known->mask;
        entry.inheritFlags = static_cast<BYTE>((inheritance & 1 ? OBJECT_INHERIT_ACE : 0) |
                                               (inheritance & 2 ? CONTAINER_INHERIT_ACE : 0));
        entry.toExisting = toExisting;
        entry.mode = static_cast<EntryMode>(mode);
        if (trusteeIsSid) {
            entry.sid = SidFromString(trustee);
            if (entry.sid.empty()) return s.Done(call, s.Fail(kBadSid, Shown(trustee)));
        } else {
            entry.sid = SidFromName(trustee);
            if (entry.sid.empty()) return s.Done(call, s.Fail(kUnknownTrustee, Shown(trustee)));
        }
        s.log.Line(L"Entry for " + Shown(trustee) + L" (" + SidToString(entry.sid) + L")");
        s.entries.push_back(std::move(entry));
        return s.Done(call, kOk);
    });
}

int32_t AclRequest::ApplyRequest() {
    return Guarded([&] { return state_->Done(L"ApplyRequest()", state_->Apply()); });
}

std::wstring AclRequest::ErrorText(int32_t code) const {
    const auto it = state_->details.find(code);
    return DescribeResult(code, it == state_->details.end() ? std::wstring() : it->second);
}

// Opens the target and checks it through that handle: never a link, junction or hard
// link, and the handle must lead where the path names. Returns 0 or the code to report.
int32_t AclRequest::State::Open(OpenTarget& opened) {
    const std::wstring shown = DisplayPath(target);
    // The listing's attributes show a symbolic link even where opening it does not.
    bool listedAsFolder = false;
    WIN32_FIND_DATAW found;
    common::unique_hfind find(::FindFirstFileW(target.c_str(), &found));
    if (find) {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return Fail(kTargetIsLink, shown);
        listedAsFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    } else {
        // A drive root has no entry of its own to list.
        const DWORD attributes = ::GetFileAttributesW(target.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) return Fail(FromWin32(::GetLastError()), shown);
        listedAsFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    find.reset();

    opened.handle = OpenObject(target, listedAsFolder);
    if (!opened.handle) return Fail(FromWin32(::GetLastError()), shown);
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(opened.handle.get(), &info)) return Fail(FromWin32(::GetLastError()), shown);
    opened.attributes = info.dwFileAttributes;
    opened.folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return Fail(kTargetIsLink, shown);
    if (opened.folder != listedAsFolder) return Fail(kTargetChanged, shown);
    if (!opened.folder && info.nNumberOfLinks > 1) return Fail(kTargetHardLinked, shown);
    // A link the platform does not report still shows in where the handle really leads.
    std::wstring normalized(target);
    if (const DWORD n = ::GetLongPathNameW(target.c_str(), nullptr, 0)) {
        normalized.resize(n);
        normalized.resize(::GetLongPathNameW(target.c_str(), normalized.data(), n));
        if (normalized.empty()) normalized = target;
    }
    opened.resolved = ResolvedPath(opened.handle.get(), opened.nameBuffer);
    if (!LeadsTo(opened.resolved, VolumePart(normalized))) return Fail(kTargetIsLink, shown);
    return kOk;
}

int32_t AclRequest::State::Apply() {
    if (target.empty()) return Fail(kNoTarget, L"ApplyRequest");
    const std::wstring shown = DisplayPath(target);
    if (entries.empty()) return Fail(kNoEntries, shown);

    OpenTarget opened;
    if (const int32_t code = Open(opened)) return code;
    const HANDLE object = opened.handle.get();

    std::vector<BYTE> descriptor;
    ObjectDacl dacl;
    if (const DWORD error = ReadDacl(object, descriptor, dacl)) return Fail(FromWin32(error), shown);
    if (!dacl.acl) return Fail(kTargetHasNoDacl, shown);
    log.Line(L"Target " + shown + L": access list before: " + DaclToSddl(dacl.descriptor));

    TargetResult result = EditTarget(*dacl.acl, entries);
    const auto* newAcl = reinterpret_cast<const ACL*>(result.acl.data());
    if (result.changed) {
        if (!Fits(result.acl)) return Fail(FromWin32(ERROR_INVALID_ACL), shown);
        if (const DWORD error = WriteDacl(object, newAcl, dacl.control)) return Fail(FromWin32(error), shown);
        if (const DWORD error = KeepReadOnly(object, opened.attributes)) return Fail(FromWin32(error), shown);
        const std::wstring written = DaclToSddl(newAcl, dacl.control);
        log.Line(L"Target " + shown + L": access list after: " + written + L" (written)");
        // Read back once: a platform that keeps less than it is given would otherwise have
        // every object below rewritten on every run.
        std::vector<BYTE> storedDescriptor;
        ObjectDacl stored;
        if (ReadDacl(object, storedDescriptor, stored) == ERROR_SUCCESS && stored.acl) {
            NoteStoredRights(*stored.acl, entries, result);
            const std::wstring kept = DaclToSddl(stored.descriptor);
            if (kept != written) log.Line(L"Target " + shown + L": access list as the file system keeps it: " + kept);
        }
    } else {
        log.Line(L"Target " + shown + L": access list after: unchanged");
    }
    if (!opened.folder) return kOk;

    TreeWalk walk(entries, log);
    const WalkCounts counts = walk.Run(std::move(opened.handle), target, opened.resolved, *newAcl, result);
    log.Line(L"Below " + shown + L": " + std::to_wstring(counts.visited) + L" visited, " +
             std::to_wstring(counts.changed) + L" changed, " + std::to_wstring(counts.unchanged) + L" unchanged, " +
             std::to_wstring(counts.skipped) + L" skipped, " + std::to_wstring(counts.failed) + L" failed");
    if (counts.failed == 0) return kOk;
    return Fail(kDescendantsFailed, shown + L" was updated, but " + std::to_wstring(counts.failed) +
                                        (counts.failed == 1 ? L" object" : L" objects") +
                                        L" below it could not be");
}

}  // namespace setacl
