#pragma once
// The control's log: one timestamped line per event, to the chosen file (appended,
// UTF-8) and to the message sink. The file is open only while a batch is written, so
// its owner can delete or replace it between calls (a re-run starts a fresh log).
#include <functional>
#include <string>

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
    std::wstring path_;
    std::string pending_;
};

}  // namespace setacl
