#pragma once
// An ActiveX control hosted in a form, called through its default dispatch interface.
#include <windows.h>
#include <ole2.h>
#include <wrl/client.h>

#include <cstddef>
#include <vector>

#include "winui/Controls.h"
#include "winui/OleSite.h"
#include "winui/OleVariant.h"

namespace winui {

class TOleControl : public TControl {
public:
    TOleControl(TForm& owner, TBounds bounds, const CLSID& classId, const IID& dispatchId,
                std::vector<BYTE> savedState);
    ~TOleControl() override;

protected:
    // Creates the control by class, loads the saved state and activates it in place.
    void CreateHandle(HWND parent) override;

    // A method call by dispatch ID with positional arguments, given in their natural order.
    // A failed dispatch raises EOleSysError, or EOleException with the control's own text.
    OleVariant InvokeMethod(DISPID member, OleVariant* args, std::size_t count);
    template <std::size_t N>
    OleVariant InvokeMethod(DISPID member, OleVariant (&args)[N]) {
        return InvokeMethod(member, args, N);
    }
    OleVariant InvokeMethod(DISPID member) { return InvokeMethod(member, nullptr, 0); }

private:
    IDispatch& DefaultDispatch();
    void Teardown() noexcept;

    CLSID classId_;
    IID dispatchId_;
    std::vector<BYTE> savedState_;
    Microsoft::WRL::ComPtr<OleSite> site_;
    Microsoft::WRL::ComPtr<IOleObject> object_;
    bool clientSiteSet_ = false;
    bool activated_ = false;
    Microsoft::WRL::ComPtr<IDispatch> dispatch_;
};

}  // namespace winui
