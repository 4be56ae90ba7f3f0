#pragma once
// Access-list arithmetic on in-memory lists: what a request does to its target,
// and what each object below inherits from that, as the platform's own
// propagation would do it. No I/O here, so all of it is testable in memory.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace setacl {

enum class EntryMode : int32_t { Set = 1, Grant = 2 };

// One access entry of a request, with its trustee already resolved.
struct AccessEntry {
    std::vector<BYTE> sid;
    ACCESS_MASK mask = 0;
    BYTE inheritFlags = 0;  // OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE
    bool toExisting = false;
    EntryMode mode = EntryMode::Grant;
};

// An ACE without its SID: the SID is always that of the entry it belongs to.
struct AceShape {
    BYTE type = ACCESS_ALLOWED_ACE_TYPE;
    BYTE flags = 0;
    ACCESS_MASK mask = 0;
    bool operator==(const AceShape& o) const { return type == o.type && flags == o.flags && mask == o.mask; }
};

// The ACE a child inherits from an ACE of its parent folder, if any.
std::optional<AceShape> InheritedShape(const AceShape& parent, bool childIsFolder);

// What one entry does to the objects of one kind at one depth below the target:
// the inherited ACE they must hold and the inherited ACEs that no longer come down.
struct InheritedChange {
    std::optional<AceShape> add;
    std::vector<AceShape> drop;
    // The rights an ACE of the trustee must hold to count as `add` already; less than
    // add->mask only where the platform was seen to store less than was written.
    ACCESS_MASK enough = 0;
};

// The inherited changes one level further down.
InheritedChange InheritedFrom(const InheritedChange& parent, bool childIsFolder);

// The target after a request: its new list and, per entry, what its children get.
struct TargetResult {
    std::vector<BYTE> acl;  // the new list, canonical order
    bool changed = false;
    std::vector<InheritedChange> explicitChanges;  // per entry, as explicit ACEs on the target
    std::vector<int> placedAt;                     // per entry, index of its ACE in `acl` (-1 if none)
};

// Applies the entries in turn to the target's list: grant merges the rights into the
// trustee's explicit allow ACE with the same inheritance (or adds one), set replaces all
// of the trustee's explicit ACEs. The result is in canonical order.
TargetResult EditTarget(const ACL& current, const std::vector<AccessEntry>& entries);

// Where the platform stored the target's list with narrower rights than were written
// (Wine keeps no right to change permissions or owner for anyone but the owner), what it
// kept is what the objects below can show too: they count as in line when they hold that.
void NoteStoredRights(const ACL& stored, const std::vector<AccessEntry>& entries, TargetResult& target);

// Brings one object below the target in line: drops inherited ACEs that no longer come
// down, adds the missing inherited ACE where the platform would place it (after the
// first `position` inherited ACEs) unless an equivalent ACE is there already (same
// trustee and inheritance, at least the same rights). Other ACEs keep their order and bytes. Writes the
// new list into `out` (its capacity is reused) and returns whether it differs.
// `placedAt` receives, per entry, the index of its ACE in the new list (-1 if none).
struct ChildEdit {
    const InheritedChange* change;  // per entry
    size_t position;                // inherited ACEs that precede the entry's ACE
};
bool EditDescendant(const ACL& current, const std::vector<AccessEntry>& entries,
                    const std::vector<ChildEdit>& edits, std::vector<BYTE>& out, std::vector<int>& placedAt);

// Whether a list built here stays within the 64 KB an ACL can hold; one that does not
// must never be written, its size field could not say how long it is.
bool Fits(const std::vector<BYTE>& acl);

// How many ACEs before index `before` of a folder's list a child of the given kind inherits:
// the place of the inherited ACE in that child's list.
size_t InheritedBefore(const ACL& folderAcl, int before, bool childIsFolder);

}  // namespace setacl
