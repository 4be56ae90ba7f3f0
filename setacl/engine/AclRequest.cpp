#include "setacl/engine/AclRequest.h"

namespace setacl {

namespace {
constexpr int32_t kNotReady = 1;
}

struct AclRequest::State {
    MessageSink sink;
};

AclRequest::AclRequest(MessageSink sink) : state_(std::make_unique<State>()) { state_->sink = std::move(sink); }
AclRequest::~AclRequest() = default;

int32_t AclRequest::ChooseLogFile(const std::wstring&) { return kNotReady; }
int32_t AclRequest::ChooseTarget(const std::wstring&, int32_t) { return kNotReady; }
int32_t AclRequest::ChooseAction(int32_t) { return kNotReady; }
int32_t AclRequest::AddAccessEntry(const std::wstring&, bool, const std::wstring&, int32_t, bool, int32_t, int32_t) {
    return kNotReady;
}
int32_t AclRequest::ApplyRequest() { return kNotReady; }
std::wstring AclRequest::ErrorText(int32_t code) const {
    return L"Result code " + std::to_wstring(code) + L": the request engine is not built yet.";
}

}  // namespace setacl
