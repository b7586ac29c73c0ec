#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The publish journal: before a run puts several staged files in place it writes (and flushes)
// a small file naming each temporary and the file it becomes; it removes the journal after the
// last one is in place. A run killed between two swaps leaves the journal behind, and the next
// run (or window) in that directory finishes the swaps from it, so the dead run's results
// appear whole instead of half new and half old.
namespace tulmera::textio {

// One staged file: its temporary, the file it becomes and the temporary's inode, by which a
// roll forward tells the staged content from the old content left under the temporary's name
// by an exchange of the two names (PublishTemporary).
struct JournalEntry {
    std::string temporary;
    std::string fileName;
    std::uint64_t inode = 0;
};

// The journal's text: `copies` are every copy of this journal (one per directory that holds a
// staged file, so that a run in any of them finds it), `entries` the swaps to make, all as
// absolute names. It ends with a line "end", missing when the writer died mid-write.
std::string JournalText(const std::vector<std::string>& copies,
                        const std::vector<JournalEntry>& entries);

// Whether `baseName` names a journal (a temporary sibling of "tulmera-publish").
bool IsJournalName(std::string_view baseName);

// The name of a journal to make in `directory` ("." is the current one), passed to
// CreateTemporarySibling.
std::string JournalNameIn(const std::string& directory);

// Finishes the swaps of the dead run whose journal is `journal`: each temporary that still holds
// its staged content is renamed into place, one holding old content is removed; then every copy
// of the journal is removed. A journal cut short (its writer died before the first swap) is only
// removed, and its temporaries are left to the stray cleanup. Best effort, never throws: a swap
// that cannot be made is left for the next run.
void RollForwardJournal(const std::string& journal);

}  // namespace tulmera::textio
