#pragma once
// The control's request engine, free of COM: the dispatch methods forward here.
// Every method returns 0 on success or a code that ErrorText turns into a message.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace setacl {

class AclRequest {
public:
    // Receives every log line as it is written (the control raises OnMessageEvent with it).
    using MessageSink = std::function<void(const std::wstring&)>;

    explicit AclRequest(MessageSink sink = {});
    ~AclRequest();
    AclRequest(const AclRequest&) = delete;
    AclRequest& operator=(const AclRequest&) = delete;

    int32_t ChooseLogFile(const std::wstring& path);
    int32_t ChooseTarget(const std::wstring& path, int32_t objectKind);
    int32_t ChooseAction(int32_t action);
    int32_t AddAccessEntry(const std::wstring& trustee, bool trusteeIsSid, const std::wstring& permission,
                           int32_t inheritance, bool toExisting, int32_t mode, int32_t list);
    int32_t ApplyRequest();
    std::wstring ErrorText(int32_t code) const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace setacl
