#pragma once

#include "protocol/reader_settings.h"
#include "transport/reader_transport.h"

namespace ravelfin {

/// Results of the write operations.
enum WriteResult : int { kWriteOk = 0, kWriteFailed = 1, kWriteTooLong = 2, kWriteRefused = 3 };

/// Longest frames the reader takes in one write.
inline constexpr std::size_t kMaxGeneralFrame = 400;
inline constexpr std::size_t kMaxDataEditFrame = 255;

// Each operation makes one exchange on a transport that the caller has opened and closes
// afterwards; none opens or closes it, none shows a message.

/// Reads the whole configuration (FuncID 0x1F) into `record`.
/// Returns false when the transport is absent or not ready, the exchange fails, or the answer
/// does not parse or ends before its ETX (cut short); the record is then left exactly as it was.
bool ReadAllSettings(ReaderSettings& record, ReaderTransport* transport);

/// Sends the general settings frame. Returns kWriteOk when the reader acknowledged it,
/// kWriteTooLong (nothing sent) when the frame exceeds 400 bytes or the record's content cannot
/// be framed at all, kWriteRefused when the reader answered 0x16 (a FuncID it does not know),
/// kWriteFailed otherwise. The record is never changed.
int WriteGeneralSettings(const ReaderSettings& record, ReaderTransport* transport);

/// Sends the general settings frame without the security items; as WriteGeneralSettings.
int WriteCloneSettings(const ReaderSettings& record, ReaderTransport* transport);

/// Sends the data-editing frame; as WriteGeneralSettings with a limit of 255 bytes.
int WriteDataEditSettings(const ReaderSettings& record, ReaderTransport* transport);

/// Asks the reader to restore its factory settings (FuncID 0x18).
/// Returns true when the exchange succeeded; false when the transport is absent, not ready,
/// or the exchange failed.
bool RestoreFactoryDefaults(ReaderTransport* transport);

}  // namespace ravelfin
