// The file side of the text editor: what it shows when it opens and how it writes the
// text back. Files are Windows-1252 on disk, the editor's text is Unicode. Saving
// replaces the whole file atomically (temporary file in the same folder, flushed,
// renamed), so a crash or a full disk never leaves half a whitelist. Any thread.
#pragma once

#include <QString>

#include "platform/result.h"

namespace sendwerk {

class FileSystem;

// aText when it is not empty; otherwise the file's content (a missing or unreadable file
// reads as empty) followed by cNeu.
QString editorTextFor(const FileSystem& files, const QString& cDatei, const QString& aText, const QString& cNeu);

// Writes `text` as the whole content of cDatei, created or replaced. Fails, writing
// nothing, when a character has no place in Windows-1252 (the cause names it) or the
// file cannot be written (the cause names the file and why).
Result<void> saveEditorText(const FileSystem& files, const QString& cDatei, const QString& text);

}  // namespace sendwerk
