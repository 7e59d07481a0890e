#pragma once
// Extraction of the product archive into the target folder, entry by entry, with a
// journal of everything the run wrote so a failure can be undone.
#include <functional>
#include <string>

#include "setup/package/byte_source.h"
#include "setup/workers/install_journal.h"

namespace kestro {

enum class ExtractionResult {
    Done,
    NotAnArchive,  // the file cannot be opened as ZIP; nothing was written
    Failed,        // an entry failed; the journal lists what was written before it
    Stopped,       // asked to stop; the journal lists what was written before
};

// Every entry of the archive's bytes in archive order. Entry names are checked before
// they become paths (see entry_name_rules.h); an entry whose data cannot be opened or
// read, whose written bytes differ from the directory's size or CRC, or that cannot be
// written in full fails the extraction. `stopRequested`, when given, is asked before
// each entry; true ends the extraction there.
ExtractionResult ExtractArchive(ByteSource& archive, const std::wstring& targetFolder, ExtractionJournal& journal,
                                const std::function<bool()>& stopRequested = nullptr);

// Deletes every file of the journal, then removes the folders the run created,
// children first; folders that still hold anything else stay.
void RollBackExtraction(const ExtractionJournal& journal);

}  // namespace kestro
