#include "setacl/engine/AclMerge.h"

#include <algorithm>
#include <cstring>

namespace setacl {

namespace {

constexpr BYTE kInheritFlags = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE | NO_PROPAGATE_INHERIT_ACE | INHERIT_ONLY_ACE;

const ACE_HEADER* FirstAce(const ACL& acl) {
    return reinterpret_cast<const ACE_HEADER*>(reinterpret_cast<const BYTE*>(&acl) + sizeof(ACL));
}

const ACE_HEADER* NextAce(const ACE_HEADER* ace) {
    return reinterpret_cast<const ACE_HEADER*>(reinterpret_cast<const BYTE*>(ace) + ace->AceSize);
}

bool IsInherited(const ACE_HEADER* ace) { return (ace->AceFlags & INHERITED_ACE) != 0; }

bool IsDeny(const ACE_HEADER* ace) {
    switch (ace->AceType) {
    case ACCESS_DENIED_ACE_TYPE:
    case ACCESS_DENIED_OBJECT_ACE_TYPE:
    case ACCESS_DENIED_CALLBACK_ACE_TYPE:
    case ACCESS_DENIED_CALLBACK_OBJECT_ACE_TYPE:
        return true;
    default:
        return false;
    }
}

// Only the plain allow and deny ACEs are ever a trustee's entry; the layout of both is
// header, mask, SID.
bool IsTrusteeAce(const ACE_HEADER* ace, const std::vector<BYTE>& sid) {
    if (ace->AceType != ACCESS_ALLOWED_ACE_TYPE && ace->AceType != ACCESS_DENIED_ACE_TYPE) return false;
    auto* a = reinterpret_cast<const ACCESS_ALLOWED_ACE*>(ace);
    return ace->AceSize >= sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + sid.size() &&
           ::EqualSid(const_cast<DWORD*>(&a->SidStart), const_cast<BYTE*>(sid.data()));
}

AceShape ShapeOf(const ACE_HEADER* ace) {
    return {ace->AceType, ace->AceFlags, reinterpret_cast<const ACCESS_ALLOWED_ACE*>(ace)->Mask};
}

void AppendAce(std::vector<BYTE>& out, const AceShape& shape, const std::vector<BYTE>& sid) {
    const size_t size = sizeof(ACE_HEADER) + sizeof(ACCESS_MASK) + sid.size();
    const ACE_HEADER header{shape.type, shape.flags, static_cast<WORD>(size)};
    const size_t at = out.size();
    out.resize(at + size);
    std::memcpy(&out[at], &header, sizeof header);
    std::memcpy(&out[at + sizeof header], &shape.mask, sizeof shape.mask);
    std::memcpy(&out[at + sizeof header + sizeof shape.mask], sid.data(), sid.size());
}

void AppendRaw(std::vector<BYTE>& out, const ACE_HEADER* ace) {
    auto* p = reinterpret_cast<const BYTE*>(ace);
    out.insert(out.end(), p, p + ace->AceSize);
}

void BeginAcl(std::vector<BYTE>& out) { out.assign(sizeof(ACL), 0); }

void EndAcl(std::vector<BYTE>& out, BYTE revision, size_t count) {
    ACL header{};
    header.AclRevision = std::max<BYTE>(revision, ACL_REVISION);
    header.AclSize = static_cast<WORD>(out.size());
    header.AceCount = static_cast<WORD>(count);
    std::memcpy(out.data(), &header, sizeof header);
}

bool Contains(const std::vector<AceShape>& shapes, const AceShape& s) {
    return std::find(shapes.begin(), shapes.end(), s) != shapes.end();
}

}  // namespace

std::optional<AceShape> InheritedShape(const AceShape& parent, bool childIsFolder) {
    const BYTE f = parent.flags;
    const BYTE keep = parent.flags & ~(kInheritFlags | INHERITED_ACE);
    AceShape child{parent.type, static_cast<BYTE>(keep | INHERITED_ACE), parent.mask};
    if (!childIsFolder) {
        if (!(f & OBJECT_INHERIT_ACE)) return std::nullopt;
        return child;
    }
    if (f & NO_PROPAGATE_INHERIT_ACE) {
        if (!(f & CONTAINER_INHERIT_ACE)) return std::nullopt;
        return child;
    }
    if (f & CONTAINER_INHERIT_ACE) {
        child.flags |= f & (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);
        return child;
    }
    if (f & OBJECT_INHERIT_ACE) {
        // Passes through the folder to its files without applying to the folder itself.
        child.flags |= OBJECT_INHERIT_ACE | INHERIT_ONLY_ACE;
        return child;
    }
    return std::nullopt;
}

InheritedChange InheritedFrom(const InheritedChange& parent, bool childIsFolder) {
    InheritedChange child;
    if (parent.add) child.add = InheritedShape(*parent.add, childIsFolder);
    child.enough = parent.enough;
    for (const AceShape& d : parent.drop) {
        if (auto s = InheritedShape(d, childIsFolder); s && !(child.add && *s == *child.add) && !Contains(child.drop, *s))
            child.drop.push_back(*s);
    }
    return child;
}

TargetResult EditTarget(const ACL& current, const std::vector<AccessEntry>& entries) {
    std::vector<std::vector<BYTE>> aces;
    const ACE_HEADER* ace = FirstAce(current);
    for (WORD i = 0; i < current.AceCount; ++i, ace = NextAce(ace)) {
        auto* p = reinterpret_cast<const BYTE*>(ace);
        aces.emplace_back(p, p + ace->AceSize);
    }
    auto header = [](const std::vector<BYTE>& a) { return reinterpret_cast<const ACE_HEADER*>(a.data()); };

    TargetResult result;
    for (const AccessEntry& entry : entries) {
        InheritedChange change;
        const AceShape wanted{ACCESS_ALLOWED_ACE_TYPE, entry.inheritFlags, entry.mask};
        auto mine = [&](const std::vector<BYTE>& a) { return !IsInherited(header(a)) && IsTrusteeAce(header(a), entry.sid); };
        if (entry.mode == EntryMode::Set) {
            for (auto it = aces.begin(); it != aces.end();) {
                if (!mine(*it)) {
                    ++it;
                    continue;
                }
                change.drop.push_back(ShapeOf(header(*it)));
                it = aces.erase(it);
            }
            std::vector<BYTE> added;
            AppendAce(added, wanted, entry.sid);
            aces.push_back(std::move(added));
            change.add = wanted;
        } else {
            auto same = std::find_if(aces.begin(), aces.end(), [&](const std::vector<BYTE>& a) {
                return mine(a) && header(a)->AceType == ACCESS_ALLOWED_ACE_TYPE &&
                       (header(a)->AceFlags & kInheritFlags) == entry.inheritFlags;
            });
            if (same == aces.end()) {
                std::vector<BYTE> added;
                AppendAce(added, wanted, entry.sid);
                aces.push_back(std::move(added));
                change.add = wanted;
            } else {
                AceShape old = ShapeOf(header(*same));
                AceShape merged = old;
                merged.mask |= entry.mask;
                if (merged.mask != old.mask) {
                    change.drop.push_back(old);
                    std::memcpy(same->data() + sizeof(ACE_HEADER), &merged.mask, sizeof merged.mask);
                }
                change.add = merged;
            }
        }
        change.drop.erase(std::remove(change.drop.begin(), change.drop.end(), *change.add), change.drop.end());
        // A later entry for the same trustee may replace what an earlier one added.
        for (size_t i = 0; i < result.explicitChanges.size(); ++i) {
            InheritedChange& earlier = result.explicitChanges[i];
            if (entries[i].sid != entry.sid || !earlier.add || !Contains(change.drop, *earlier.add)) continue;
            earlier.add.reset();
            for (const AceShape& d : earlier.drop)
                if (!Contains(change.drop, d) && !(d == *change.add)) change.drop.push_back(d);
            earlier.drop.clear();
        }
        result.explicitChanges.push_back(std::move(change));
    }

    // Canonical order: explicit deny, other explicit, inherited; each group keeps its order.
    auto rank = [&](const std::vector<BYTE>& a) { return IsInherited(header(a)) ? 2 : IsDeny(header(a)) ? 0 : 1; };
    std::stable_sort(aces.begin(), aces.end(),
                     [&](const std::vector<BYTE>& a, const std::vector<BYTE>& b) { return rank(a) < rank(b); });
    BeginAcl(result.acl);
    for (const auto& a : aces) result.acl.insert(result.acl.end(), a.begin(), a.end());
    EndAcl(result.acl, current.AclRevision, aces.size());
    for (size_t e = 0; e < entries.size(); ++e) {
        const auto& add = result.explicitChanges[e].add;
        auto at = std::find_if(aces.begin(), aces.end(), [&](const std::vector<BYTE>& a) {
            return add && !IsInherited(header(a)) && IsTrusteeAce(header(a), entries[e].sid) && ShapeOf(header(a)) == *add;
        });
        result.placedAt.push_back(at == aces.end() ? -1 : static_cast<int>(at - aces.begin()));
    }

    const auto* oldBytes = reinterpret_cast<const BYTE*>(FirstAce(current));
    const size_t oldSize = static_cast<size_t>(reinterpret_cast<const BYTE*>(ace) - oldBytes);
    result.changed = current.AceCount != aces.size() || oldSize != result.acl.size() - sizeof(ACL) ||
                     std::memcmp(oldBytes, result.acl.data() + sizeof(ACL), oldSize) != 0;
    return result;
}

void NoteStoredRights(const ACL& stored, const std::vector<AccessEntry>& entries, TargetResult& target) {
    for (size_t e = 0; e < entries.size(); ++e) {
        InheritedChange& change = target.explicitChanges[e];
        if (!change.add) continue;
        const ACE_HEADER* ace = FirstAce(stored);
        for (WORD i = 0; i < stored.AceCount; ++i, ace = NextAce(ace)) {
            if (IsInherited(ace) || ace->AceType != ACCESS_ALLOWED_ACE_TYPE || !IsTrusteeAce(ace, entries[e].sid) ||
                (ace->AceFlags & kInheritFlags) != (change.add->flags & kInheritFlags))
                continue;
            const ACCESS_MASK kept = ShapeOf(ace).mask;
            // Only a narrowing of what was written; anything else is not the platform's doing.
            if (kept != change.add->mask && (kept & change.add->mask) == kept) change.enough = kept;
            break;
        }
    }
}

bool EditDescendant(const ACL& current, const std::vector<AccessEntry>& entries,
                    const std::vector<ChildEdit>& edits, std::vector<BYTE>& out, std::vector<int>& placedAt) {
    const size_t n = entries.size();
    // First pass: which ACE (by index) already gives each entry's inherited rights. An
    // explicit ACE of the trustee with the same inheritance and at least those rights is
    // equivalent: adding the inherited one beside it would change nothing.
    placedAt.assign(n, -1);
    const ACE_HEADER* ace = FirstAce(current);
    for (WORD i = 0; i < current.AceCount; ++i, ace = NextAce(ace)) {
        for (size_t e = 0; e < n; ++e) {
            const auto& add = edits[e].change->add;
            if (placedAt[e] >= 0 || !add || !IsTrusteeAce(ace, entries[e].sid)) continue;
            const AceShape has = ShapeOf(ace);
            const ACCESS_MASK enough = edits[e].change->enough ? edits[e].change->enough : add->mask;
            if (has.type == add->type && (has.flags | INHERITED_ACE) == add->flags && (has.mask & enough) == enough &&
                !Contains(edits[e].change->drop, has))
                placedAt[e] = i;
        }
    }

    bool changed = false;
    size_t written = 0, inheritedKept = 0;
    std::vector<int> inputIndex = placedAt;  // small: one per entry
    BeginAcl(out);
    auto emitPending = [&](bool atEnd) {
        for (size_t e = 0; e < n; ++e) {
            const auto& add = edits[e].change->add;
            if (inputIndex[e] >= 0 || !add || placedAt[e] >= 0) continue;
            if (!atEnd && edits[e].position != inheritedKept) continue;
            AppendAce(out, *add, entries[e].sid);
            placedAt[e] = static_cast<int>(written++);
            changed = true;
        }
    };
    ace = FirstAce(current);
    for (WORD i = 0; i < current.AceCount; ++i, ace = NextAce(ace)) {
        if (IsInherited(ace)) {
            bool dropped = false;
            for (size_t e = 0; e < n && !dropped; ++e) {
                dropped = inputIndex[e] != i && IsTrusteeAce(ace, entries[e].sid) &&
                          Contains(edits[e].change->drop, ShapeOf(ace));
            }
            if (dropped) {
                changed = true;
                continue;
            }
            emitPending(false);
            ++inheritedKept;
        }
        for (size_t e = 0; e < n; ++e)
            if (inputIndex[e] == i) placedAt[e] = static_cast<int>(written);
        AppendRaw(out, ace);
        ++written;
    }
    emitPending(true);
    EndAcl(out, current.AclRevision, written);
    return changed;
}

bool Fits(const std::vector<BYTE>& acl) { return acl.size() <= MAXWORD; }

size_t InheritedBefore(const ACL& folderAcl, int before, bool childIsFolder) {
    size_t count = 0;
    const ACE_HEADER* ace = FirstAce(folderAcl);
    for (int i = 0; i < before && i < folderAcl.AceCount; ++i, ace = NextAce(ace))
        if (InheritedShape(ShapeOf(ace), childIsFolder)) ++count;
    return count;
}

}  // namespace setacl
