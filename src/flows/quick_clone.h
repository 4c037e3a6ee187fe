#pragma once

#include <functional>
#include <memory>

#include "connection/messenger.h"
#include "flows/device_address.h"
#include "protocol/reader_operations.h"
#include "protocol/reader_settings.h"
#include "transport/reader_transport.h"

namespace ravelfin {

/// Builds a closed transport for an interface type, or returns none.
using TransportFactory = std::function<std::unique_ptr<ReaderTransport>(int interfaceType)>;

/// Copies one reader's general settings to other readers: a source reader is read into a
/// record of its own, which is then written to each target. Works with transports it builds
/// for each step and closes again, never with the connection's transport or record.
class QuickClone {
  public:
    QuickClone(TransportFactory factory, Messenger& messages);

    /// "Read From MSR". An interface type of 0 or below means none was chosen
    /// (kSelectSourceText). Otherwise builds a transport (kNoMemoryText when none comes),
    /// opens `source` (kSourceOpenFailedText), reads its whole configuration and closes:
    /// kSourceReadText or kSourceReadFailedText. Returns true when the record was read. A
    /// failure before the source opened keeps an earlier read; a failed read of an opened
    /// source forgets it.
    bool ReadSource(int interfaceType, const DeviceAddress& source);

    /// "Clone To MSR": writes the general settings read from the source (not the data-editing
    /// content, nor the security items: the target keeps how it protects card numbers) to
    /// `target`, encoded for the target's firmware version when it reports one.
    /// Returns the WriteResult; kWriteFailed also when nothing was read yet (kReadFirstText),
    /// no target type was chosen (kSelectTargetText), no transport came (kNoMemoryText) or
    /// the target does not open (kTargetOpenFailedText). Messages for the write:
    /// kClonedText, kUnknownFuncIdsText for kWriteRefused, kCloneFailedText otherwise.
    int CloneTo(int interfaceType, const DeviceAddress& target);

    /// Another source was chosen: the next clone needs a new read.
    void ForgetSource() { source_.reset(); }
    /// The settings read from the source, or null.
    const ReaderSettings* Source() const { return source_.get(); }
    /// Clones `source`, read by another clone, as if this one had read it: readers cloned to
    /// in parallel each have a clone of their own and share one read.
    void UseSource(const ReaderSettings& source) {
        source_ = std::make_unique<ReaderSettings>(source);
    }

  private:
    /// A transport for the chosen reader, opened; null after saying why not.
    std::unique_ptr<ReaderTransport> OpenChosen(int interfaceType, const DeviceAddress& address,
                                                const char* noChoiceText,
                                                const char* openFailedText);

    TransportFactory factory_;
    Messenger& messages_;
    std::unique_ptr<ReaderSettings> source_;
};

}  // namespace ravelfin
