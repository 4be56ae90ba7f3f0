#include "winui/OleVariant.h"

#include <new>

namespace winui {

OleVariant::OleVariant(const std::wstring& text) : OleVariant() {
    const BSTR copy = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (copy == nullptr) throw std::bad_alloc();
    value_.vt = VT_BSTR;
    value_.bstrVal = copy;
}

OleVariant::OleVariant(bool flag) noexcept : OleVariant() {
    value_.vt = VT_BOOL;
    value_.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
}

OleVariant::OleVariant(int32_t number) noexcept : OleVariant() {
    value_.vt = VT_I4;
    value_.lVal = number;
}

OleVariant::OleVariant(OleVariant&& other) noexcept : value_(other.value_) { ::VariantInit(&other.value_); }

OleVariant& OleVariant::operator=(OleVariant&& other) noexcept {
    if (this != &other) {
        ::VariantClear(&value_);
        value_ = other.value_;
        ::VariantInit(&other.value_);
    }
    return *this;
}

VARIANT* OleVariant::put() noexcept {
    ::VariantClear(&value_);
    return &value_;
}

}  // namespace winui
