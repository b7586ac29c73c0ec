#pragma once
#include <QString>
#include <functional>
#include <string>
#include <string_view>

class QStatusBar;
class QWidget;

// Files the user saves from a window (spectra, chart images): chosen in a non-modal dialog
// that starts in the folder used last, and written whole or not at all.
namespace tulmera::widgets {

// Replaces `fileName` with `content` through textio::StagedFiles: the content goes into a
// temporary sibling that takes the file's place only once complete, so a failure (a folder
// that cannot be written, a full disk) leaves the previous file as it was. Throws
// tulmera::Error naming the file and the reason.
void SaveWholeFile(const QString& fileName, std::string_view content);

// Replaces `fileName` with the text `content` makes, as SaveWholeFile, and says in `status`,
// in Spanish, that the spectra were saved or why not (the previous file then stays). True
// when saved.
bool SaveSpectraFile(QStatusBar* status, const QString& fileName,
                     const std::function<std::string()>& content);

// The file name a save dialog suggests in `folder`: "<stem>.<suffix>", with "-2", "-3"...
// after the stem while a file of that name exists there, so that accepting the suggestion
// never replaces a file unasked. An empty stem is the kind's own (FolderKey's `kind`):
// "tulmera-espectros", "tulmera-grafico", "tulmera-sesion" in Spanish, translated.
QString SuggestedFileName(const QString& folder, const QString& stem, const QString& suffix,
                          const QString& kind = {});

// The folder last used for files of `kind` (remembered under FolderKey(kind)), or `fallback`
// (the working folder when empty) before any was.
QString RememberedFolder(const QString& kind, const QString& fallback = {});

// Opens a non-modal "save" dialog titled `caption` with the name filter `filter`, starting in
// the folder last used for `folderKey` (remembered with QSettings under "folders/<key>") with
// SuggestedFileName(folder, stem, defaultSuffix, folderKey) filled in, and calls `onChosen`
// with the chosen file name once the user accepts; nothing when cancelled. A name given
// without the filter's suffix gets `defaultSuffix`.
void ChooseFileToSave(QWidget* parent, const QString& caption, const QString& filter,
                      const QString& defaultSuffix, const QString& folderKey,
                      const std::function<void(const QString&)>& onChosen,
                      const QString& stem = {});

// Opens a non-modal "open" dialog for an existing file, starting in the folder last used for
// `folderKey` (else `fallbackFolder`), remembers the chosen file's folder and calls `onChosen`
// with it; nothing when cancelled.
void ChooseFileToOpen(QWidget* parent, const QString& caption, const QString& filter,
                      const QString& folderKey, const std::function<void(const QString&)>& onChosen,
                      const QString& fallbackFolder = {});

}  // namespace tulmera::widgets
