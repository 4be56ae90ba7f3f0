#pragma once
// The control's log: one timestamped line per event, to the chosen file (appended,
// UTF-8) and to the message sink.
#include <functional>
#include <string>

#include "common/unique_any.h"

namespace setacl {

class RequestLog {
public:
    using Sink = std::function<void(const std::wstring&)>;
    explicit RequestLog(Sink sink) : sink_(std::move(sink)) {}
    ~RequestLog() { Flush(); }

    // Returns a Win32 error code; the previous file is kept when the new one cannot be opened.
    unsigned long Open(const std::wstring& path);
    void Line(const std::wstring& text);
    // Lines are written in batches; a call into the control ends with a flush.
    void Flush();

private:
    Sink sink_;
    common::unique_hfile file_;
    std::string pending_;
};

}  // namespace setacl
