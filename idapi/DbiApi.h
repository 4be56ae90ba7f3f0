#pragma once
// The engine's exported functions as a caller sees them, and its result codes.
// Every export is __stdcall with an undecorated name; handles are 32 bits and
// results 16 bits, 0 for success.
#include <cstdint>

namespace idapi {

using DbiResult = std::uint16_t;
using CfgHandle = std::uint32_t;
using CursorHandle = std::uint32_t;

// Open modes of a configuration cursor.
constexpr std::int32_t kOpenReadWrite = 0;
constexpr std::int32_t kOpenReadOnly = 1;
// The only configuration mode: the persistent file.
constexpr std::int32_t kCfgPersistent = 0;

constexpr DbiResult kOk = 0;
constexpr DbiResult kErrEndOfList = 0x2202;       // no entry after the last one
constexpr DbiResult kErrNoCurrentEntry = 0x2203;  // write-back before a fetch or after the end
constexpr DbiResult kErrUnknownPath = 0x2204;     // the file has no such section
constexpr DbiResult kErrEntryGone = 0x2205;       // the entry left the file since it was fetched
constexpr DbiResult kErrFileMissing = 0x2601;     // configuration file absent or unreadable
constexpr DbiResult kErrFileMalformed = 0x2602;   // configuration file cannot be parsed
constexpr DbiResult kErrWriteFailed = 0x2603;     // lock, new file or replacement failed
constexpr DbiResult kErrInvalidParam = 0x2701;    // null pointer, unknown mode, bad value
constexpr DbiResult kErrInvalidHandle = 0x2702;   // no such open cursor
constexpr DbiResult kErrNotInitialized = 0x2703;  // DbiInitFn not called
constexpr DbiResult kErrReadOnly = 0x2704;        // write-back on a read-only cursor
constexpr DbiResult kErrInternal = 0x2705;        // out of memory or another unexpected failure

using DbiInitFnProc = DbiResult(__stdcall*)(std::uint16_t version, void* environment);
using DbiExitProc = DbiResult(__stdcall*)();
using DbiOpenCfgInfoListProc = DbiResult(__stdcall*)(CfgHandle config, std::int32_t openMode,
                                                     std::int32_t configMode, const char* path,
                                                     CursorHandle* cursor);
using DbiSetToBeginProc = DbiResult(__stdcall*)(CursorHandle cursor);
using DbiGetNextRecordProc = DbiResult(__stdcall*)(CursorHandle cursor, std::int32_t lockMode,
                                                   void* record, void* recordProperties);
using DbiModifyRecordProc = DbiResult(__stdcall*)(CursorHandle cursor, void* record,
                                                  std::int16_t freeLock);
using DbiCloseCursorProc = DbiResult(__stdcall*)(CursorHandle* cursor);

}  // namespace idapi
