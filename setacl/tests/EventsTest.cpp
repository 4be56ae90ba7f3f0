// OnMessageEvent through the control's connection point.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>
#include <shlwapi.h>

#include <gtest/gtest.h>
#include <wrl/client.h>

#include "setacl/Guids.h"
#include "setacl/tests/EventSink.h"
#include "setacl/tests/TestSupport.h"

namespace setacl::test {
namespace {

using Microsoft::WRL::ComPtr;

TEST(Events, OneConnectionPointForTheEventInterface) {
    ComPtr<IDispatch> control = CreateControl();
    ASSERT_TRUE(control);
    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(S_OK, control.As(&container));
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(S_OK, container->FindConnectionPoint(DIID_DSetACLEvents, &point));
    IID iid = {};
    ASSERT_EQ(S_OK, point->GetConnectionInterface(&iid));
    EXPECT_TRUE(IsEqualIID(DIID_DSetACLEvents, iid));
    ComPtr<IConnectionPointContainer> back;
    ASSERT_EQ(S_OK, point->GetConnectionPointContainer(&back));
    EXPECT_EQ(container.Get(), back.Get());
    ComPtr<IConnectionPoint> other;
    EXPECT_EQ(CONNECT_E_NOCONNECTION, container->FindConnectionPoint(IID_IPropertyNotifySink, &other));

    ComPtr<IEnumConnectionPoints> points;
    ASSERT_EQ(S_OK, container->EnumConnectionPoints(&points));
    IConnectionPoint* fetched[2] = {};
    ULONG count = 0;
    EXPECT_EQ(S_FALSE, points->Next(2, fetched, &count));
    ASSERT_EQ(1u, count);
    EXPECT_EQ(point.Get(), fetched[0]);
    fetched[0]->Release();
    EXPECT_EQ(S_FALSE, points->Next(1, fetched, &count));
    EXPECT_EQ(0u, count);
    ComPtr<IEnumConnectionPoints> clone;
    ASSERT_EQ(S_OK, points->Clone(&clone));
    ASSERT_EQ(S_OK, points->Reset());
    EXPECT_EQ(S_OK, points->Next(1, fetched, nullptr));
    fetched[0]->Release();

    // A sink that does not speak the event interface is refused; unknown cookies too.
    EventSink mute(false);
    DWORD cookie = 1234;
    EXPECT_EQ(CONNECT_E_CANNOTCONNECT, point->Advise(&mute, &cookie));
    EXPECT_EQ(0u, cookie);
    EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(1234));
    EventSink sink(true);
    ASSERT_EQ(S_OK, point->Advise(&sink, &cookie));
    EXPECT_EQ(2u, sink.refs);
    EXPECT_EQ(S_OK, point->Unadvise(cookie));
    EXPECT_EQ(1u, sink.refs);
    EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(cookie));
}

}  // namespace
}  // namespace setacl::test
