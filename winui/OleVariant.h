#pragma once
// An owned VARIANT: cleared when it goes, moved but never copied.
#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <string>

namespace winui {

class OleVariant {
public:
    OleVariant() noexcept { ::VariantInit(&value_); }
    explicit OleVariant(const std::wstring& text);
    explicit OleVariant(bool flag) noexcept;
    explicit OleVariant(int32_t number) noexcept;
    OleVariant(OleVariant&& other) noexcept;
    OleVariant& operator=(OleVariant&& other) noexcept;
    OleVariant(const OleVariant&) = delete;
    OleVariant& operator=(const OleVariant&) = delete;
    ~OleVariant() { ::VariantClear(&value_); }

    const VARIANT& get() const noexcept { return value_; }
    // For out-parameters: clears what is held and hands out the slot.
    VARIANT* put() noexcept;

private:
    VARIANT value_;
};

}  // namespace winui
