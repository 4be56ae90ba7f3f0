// Access-list arithmetic on in-memory lists, where the platform keeps every flag and
// the order (it does not on disk under Wine).
#include "setacl/engine/AclMerge.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <string>

#include "common/unique_any.h"
#include "setacl/engine/ObjectAccess.h"
#include "setacl/engine/Trustee.h"

namespace setacl {
namespace {

// Holds a list parsed from SDDL such as "D:(A;OICI;FA;;;WD)".
class Dacl {
public:
    explicit Dacl(const std::wstring& sddl) {
        PSECURITY_DESCRIPTOR sd = nullptr;
        EXPECT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &sd, nullptr))
            << "bad SDDL in test: " << std::string(sddl.begin(), sddl.end());
        sd_.reset(sd);
        BOOL present = FALSE, defaulted = FALSE;
        ::GetSecurityDescriptorDacl(sd, &present, &acl_, &defaulted);
    }
    const ACL& acl() const { return *acl_; }

private:
    common::unique_hlocal sd_;
    PACL acl_ = nullptr;
};

std::string Sddl(const std::vector<BYTE>& acl) {
    EXPECT_TRUE(::IsValidAcl(reinterpret_cast<PACL>(const_cast<BYTE*>(acl.data()))));
    const std::wstring text = DaclToSddl(reinterpret_cast<const ACL*>(acl.data()), 0);
    return std::string(text.begin(), text.end());
}

// The list as the platform prints it back, to compare with what an edit produced.
std::string Normalized(const wchar_t* sddl) {
    const Dacl d(sddl);
    const std::wstring text = DaclToSddl(&d.acl(), 0);
    return std::string(text.begin(), text.end());
}

AccessEntry Entry(const wchar_t* sid, ACCESS_MASK mask, BYTE flags, EntryMode mode = EntryMode::Grant) {
    AccessEntry e;
    e.sid = SidFromString(sid);
    e.mask = mask;
    e.inheritFlags = flags;
    e.toExisting = true;
    e.mode = mode;
    return e;
}

constexpr BYTE kOICI = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
constexpr ACCESS_MASK kChange = FILE_GENERIC_READ | FILE_GENERIC_WRITE | FILE_GENERIC_EXECUTE | DELETE;
const AccessEntry kEveryoneFull = Entry(L"S-1-1-0", FILE_ALL_ACCESS, kOICI);

struct TargetCase {
    const char* name;
    const wchar_t* before;
    AccessEntry entry;
    const char* after;
};

TEST(EditTarget, MergesInCanonicalOrderWithoutDuplicates) {
    const TargetCase cases[] = {
        {"empty list", L"D:", kEveryoneFull, "D:(A;OICI;FA;;;WD)"},
        {"deny first, then allow, then inherited", L"D:(A;;FA;;;SY)(A;ID;FR;;;BU)(D;;FA;;;BG)", kEveryoneFull,
         "D:(D;;FA;;;BG)(A;;FA;;;SY)(A;OICI;FA;;;WD)(A;ID;FR;;;BU)"},
        {"grant widens the same entry", L"D:(A;OICI;0x1200a9;;;WD)(A;;FA;;;SY)", kEveryoneFull,
         "D:(A;OICI;FA;;;WD)(A;;FA;;;SY)"},
        {"entry with other inheritance is kept", L"D:(A;;FR;;;WD)", kEveryoneFull,
         "D:(A;;FR;;;WD)(A;OICI;FA;;;WD)"},
        {"inherited entry of the trustee is not explicit", L"D:(A;OICIID;FA;;;WD)", kEveryoneFull,
         "D:(A;OICI;FA;;;WD)(A;OICIID;FA;;;WD)"},
        {"set replaces explicit allow and deny", L"D:(D;;FA;;;WD)(A;;FR;;;WD)(A;OICI;FR;;;BU)(A;ID;FR;;;WD)",
         Entry(L"S-1-1-0", kChange, kOICI, EntryMode::Set),
         "D:(A;OICI;FR;;;BU)(A;OICI;0x1301bf;;;WD)(A;ID;FR;;;WD)"},
        {"set with a SID of a user", L"D:(A;;FA;;;SY)", Entry(L"S-1-5-21-1-2-3-1001", FILE_GENERIC_READ | FILE_GENERIC_EXECUTE, 0, EntryMode::Set),
         "D:(A;;FA;;;SY)(A;;0x1200a9;;;S-1-5-21-1-2-3-1001)"},
    };
    for (const TargetCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Dacl before(c.before);
        const TargetResult first = EditTarget(before.acl(), {c.entry});
        EXPECT_EQ(Sddl(first.acl), c.after);
        EXPECT_TRUE(first.changed);
        // A second run finds nothing to do, byte for byte.
        const TargetResult second = EditTarget(*reinterpret_cast<const ACL*>(first.acl.data()), {c.entry});
        EXPECT_FALSE(second.changed);
        EXPECT_EQ(second.acl, first.acl);
    }
}

TEST(EditTarget, LeavesAnAlreadyGrantedListAlone) {
    const Dacl before(L"D:(D;;FA;;;BG)(A;OICI;FA;;;WD)(A;;FA;;;SY)(A;ID;FR;;;BU)");
    const TargetResult result = EditTarget(before.acl(), {kEveryoneFull});
    EXPECT_FALSE(result.changed);
    EXPECT_EQ(Sddl(result.acl), "D:(D;;FA;;;BG)(A;OICI;FA;;;WD)(A;;FA;;;SY)(A;ID;FR;;;BU)");
}

// What a target's children hold after a grant, for a target list and a child list.
std::string Child(const wchar_t* target, const AccessEntry& entry, const wchar_t* child, bool childIsFolder,
                  bool* changed = nullptr) {
    const Dacl t(target);
    const TargetResult result = EditTarget(t.acl(), {entry});
    const InheritedChange change = InheritedFrom(result.explicitChanges[0], childIsFolder);
    const ChildEdit edit{&change, InheritedBefore(*reinterpret_cast<const ACL*>(result.acl.data()),
                                                  result.placedAt[0], childIsFolder)};
    const Dacl c(child);
    std::vector<BYTE> out;
    std::vector<int> placedAt;
    const bool differs = EditDescendant(c.acl(), {entry}, {edit}, out, placedAt);
    if (changed) *changed = differs;
    return Sddl(out);
}

struct ChildCase {
    const char* name;
    const wchar_t* target;
    AccessEntry entry;
    const wchar_t* child;
    bool folder;
    const char* after;
};

TEST(EditDescendant, InheritsAsThePlatformWould) {
    const AccessEntry filesOnly = Entry(L"S-1-1-0", FILE_ALL_ACCESS, OBJECT_INHERIT_ACE);
    const AccessEntry foldersOnly = Entry(L"S-1-1-0", FILE_ALL_ACCESS, CONTAINER_INHERIT_ACE);
    const ChildCase cases[] = {
        {"file", L"D:", kEveryoneFull, L"D:(A;;FA;;;SY)", false, "D:(A;;FA;;;SY)(A;ID;FA;;;WD)"},
        {"folder", L"D:", kEveryoneFull, L"D:(A;;FA;;;SY)", true, "D:(A;;FA;;;SY)(A;OICIID;FA;;;WD)"},
        {"placed after what the target's earlier entries pass down", L"D:(A;OICI;FR;;;BU)(A;ID;FA;;;SY)",
         kEveryoneFull, L"D:(A;;FA;;;BA)(A;ID;FR;;;BU)(A;ID;FA;;;SY)", false,
         "D:(A;;FA;;;BA)(A;ID;FR;;;BU)(A;ID;FA;;;WD)(A;ID;FA;;;SY)"},
        {"widened entry replaces the narrower inherited one", L"D:(A;OICI;0x1200a9;;;WD)", kEveryoneFull,
         L"D:(A;;FA;;;SY)(A;ID;0x1200a9;;;WD)(A;ID;FR;;;BU)", false, "D:(A;;FA;;;SY)(A;ID;FA;;;WD)(A;ID;FR;;;BU)"},
        {"explicit entries of the trustee stay", L"D:", kEveryoneFull, L"D:(A;;FR;;;WD)", false,
         "D:(A;;FR;;;WD)(A;ID;FA;;;WD)"},
        {"an equivalent explicit entry is not duplicated", L"D:", kEveryoneFull, L"D:(A;OICI;FA;;;WD)", true,
         "D:(A;OICI;FA;;;WD)"},
        {"set narrows what came down before", L"D:(A;OICI;FA;;;WD)",
         Entry(L"S-1-1-0", FILE_GENERIC_READ | FILE_GENERIC_EXECUTE, kOICI, EntryMode::Set), L"D:(A;ID;FA;;;WD)", false,
         "D:(A;ID;0x1200a9;;;WD)"},
        {"files only: passes through a folder", L"D:", filesOnly, L"D:", true, "D:(A;OIIOID;FA;;;WD)"},
        {"files only: reaches the file", L"D:", filesOnly, L"D:", false, "D:(A;ID;FA;;;WD)"},
        {"folders only: file gets nothing", L"D:", foldersOnly, L"D:(A;ID;FR;;;BU)", false, "D:(A;ID;FR;;;BU)"},
        {"folders only: folder", L"D:", foldersOnly, L"D:", true, "D:(A;CIID;FA;;;WD)"},
        {"set drops what the old entries passed down", L"D:(A;OICI;FR;;;WD)(D;OICI;FA;;;WD)",
         Entry(L"S-1-1-0", kChange, kOICI, EntryMode::Set),
         L"D:(D;ID;FA;;;WD)(A;ID;FR;;;WD)(A;ID;FR;;;BU)", false, "D:(A;ID;0x1301bf;;;WD)(A;ID;FR;;;BU)"},
    };
    for (const ChildCase& c : cases) {
        SCOPED_TRACE(c.name);
        bool changed = false;
        const std::string after = Child(c.target, c.entry, c.child, c.folder, &changed);
        EXPECT_EQ(after, c.after);
        EXPECT_EQ(changed, after != Normalized(c.child));
        // Once in line, a child needs nothing more.
        std::wstring wide(after.begin(), after.end());
        bool again = true;
        EXPECT_EQ(Child(c.target, c.entry, wide.c_str(), c.folder, &again), after);
        EXPECT_FALSE(again);
    }
}

// Wine stores Everyone's "Full" as 0x1301ff: objects below holding that are not
// rewritten on every run, while anything less still is.
TEST(NoteStoredRights, ObjectsHoldingWhatThePlatformKeptAreInLine) {
    const Dacl target(L"D:(A;;FA;;;SY)");
    TargetResult result = EditTarget(target.acl(), {kEveryoneFull});
    auto inLine = [&](const wchar_t* child) {
        const InheritedChange change = InheritedFrom(result.explicitChanges[0], false);
        const Dacl c(child);
        std::vector<BYTE> out;
        std::vector<int> placedAt;
        return !EditDescendant(c.acl(), {kEveryoneFull}, {ChildEdit{&change, 0}}, out, placedAt);
    };
    EXPECT_FALSE(inLine(L"D:(A;;FA;;;SY)(A;;0x1301ff;;;WD)"));

    const Dacl widerThanWritten(L"D:(A;;FA;;;SY)(A;OICI;0x1f01ff;;;WD)(A;;0x1301ff;;;WD)");
    NoteStoredRights(widerThanWritten.acl(), {kEveryoneFull}, result);
    EXPECT_FALSE(inLine(L"D:(A;;FA;;;SY)(A;;0x1301ff;;;WD)"));

    const Dacl stored(L"D:(A;OICI;FA;;;SY)(A;OICI;0x1301ff;;;WD)");
    NoteStoredRights(stored.acl(), {kEveryoneFull}, result);
    EXPECT_TRUE(inLine(L"D:(A;;FA;;;SY)(A;;0x1301ff;;;WD)"));
    EXPECT_TRUE(inLine(L"D:(A;ID;FA;;;WD)"));
    EXPECT_FALSE(inLine(L"D:(A;;FA;;;SY)(A;;0x1200a9;;;WD)"));
}

TEST(Fits, AListGrownPastItsSizeFieldIsNotWritten) {
    std::wstring sddl = L"D:";
    for (int i = 0; i < 1819; ++i) sddl += L"(A;;FA;;;S-1-5-21-1-2-3-" + std::to_wstring(1000 + i) + L")";
    const Dacl full(sddl);
    ASSERT_EQ(full.acl().AclSize, sizeof(ACL) + 1819u * 36u);  // 65492 bytes, room for one more SID of 12
    EXPECT_TRUE(Fits(EditTarget(full.acl(), {kEveryoneFull}).acl));
    EXPECT_FALSE(Fits(EditTarget(full.acl(), {kEveryoneFull, Entry(L"S-1-5-32-545", FILE_ALL_ACCESS, kOICI)}).acl));
}

// Wine keeps no protection on disk, so what stops the walk is checked on descriptors here.
TEST(ParseDacl, SeesProtectionAndAMissingList) {
    const struct {
        const wchar_t* sddl;
        bool isProtected;
    } cases[] = {
        {L"D:P(A;;FA;;;SY)", true},
        {L"D:PAI(A;;FA;;;SY)(A;ID;FA;;;WD)", true},
        {L"D:AI(A;;FA;;;SY)(A;ID;FA;;;WD)", false},
    };
    for (const auto& c : cases) {
        PSECURITY_DESCRIPTOR sd = nullptr;
        ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(c.sddl, SDDL_REVISION_1, &sd, nullptr));
        common::unique_hlocal owner(sd);
        ObjectDacl dacl;
        ASSERT_EQ(ParseDacl(sd, dacl), 0u);
        EXPECT_EQ(dacl.Protected(), c.isProtected) << std::string(c.sddl, c.sddl + wcslen(c.sddl));
        EXPECT_TRUE(dacl.acl);
    }
    // A present but null list: everyone has full access, there is nothing to merge into.
    SECURITY_DESCRIPTOR open;
    ASSERT_TRUE(::InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(::SetSecurityDescriptorDacl(&open, TRUE, nullptr, FALSE));
    ObjectDacl dacl;
    ASSERT_EQ(ParseDacl(&open, dacl), 0u);
    EXPECT_FALSE(dacl.acl);
}

TEST(InheritedFrom, EveryLevelBelowGetsTheSameForms) {
    InheritedChange explicitChange;
    explicitChange.add = AceShape{ACCESS_ALLOWED_ACE_TYPE, OBJECT_INHERIT_ACE, FILE_ALL_ACCESS};
    const InheritedChange level1 = InheritedFrom(explicitChange, true);
    const InheritedChange level2 = InheritedFrom(level1, true);
    ASSERT_TRUE(level2.add);
    EXPECT_EQ(*level2.add, *level1.add);
    EXPECT_EQ(level2.add->flags, OBJECT_INHERIT_ACE | INHERIT_ONLY_ACE | INHERITED_ACE);
    ASSERT_TRUE(InheritedFrom(level2, false).add);
    EXPECT_EQ(InheritedFrom(level2, false).add->flags, INHERITED_ACE);

    // Not propagated further: the child folder holds it, its own children do not.
    explicitChange.add = AceShape{ACCESS_ALLOWED_ACE_TYPE, CONTAINER_INHERIT_ACE | NO_PROPAGATE_INHERIT_ACE, FILE_ALL_ACCESS};
    const InheritedChange once = InheritedFrom(explicitChange, true);
    ASSERT_TRUE(once.add);
    EXPECT_EQ(once.add->flags, INHERITED_ACE);
    EXPECT_FALSE(InheritedFrom(once, true).add);
}

}  // namespace
}  // namespace setacl
