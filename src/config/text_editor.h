// Modaldialog_FM: the program's text editor, a modal window with one large text pane and
// an "OK" button, opened on a text file (the help text, an order file, the connection
// data, the whitelist). Its own loop on the application event queue applies the key
// table before handing each key on:
//   Esc                       close, nothing saved; the result is the pane's text
//   Enter on "OK", "OK"       the same
//   F10                       close; the result is the text as loaded, saved or printed
//   Ctrl+W, Alt+W, Ctrl+S     save (focus in the pane); the window stays open
//   Alt+D                     page print of the text (focus in the pane)
//   Ctrl+P                    text print of the text (focus in the pane)
// The close box closes like Esc. Every other window takes no input meanwhile; timer
// ticks taken here have no effect. The focus goes back to the part that had it.
//
// Files are Windows-1252 on disk and decoded on loading. A save writes the whole text
// in Windows-1252, atomically (a crash never leaves half a whitelist); a character that
// Windows-1252 cannot hold, or a file that cannot be written, is reported in a message
// box and nothing is written, the text stays in the pane. GUI thread only.
#pragma once

#include <QString>
#include <functional>

#include "config/dialog_window.h"
#include "queue/screen.h"

class QWidget;

namespace sendwerk {

class FileSystem;

// The editor's two printouts; an empty one does nothing.
struct EditorPrinting {
    // The pane's text without trailing blanks, as pages on the default printer.
    std::function<void(const QString& text)> pagePrint;
    // The pane's text in the printing mode of the moment (normally the text printer).
    std::function<void(const QString& text)> textPrint;
};

struct EditorEnvironment {
    DialogEnvironment dialog;
    const FileSystem& files;
    // Tells the operator why a save did not happen.
    MessageBox message;
    EditorPrinting printing;
};

// cString is the file's DOS path; aText, when not empty, is edited instead of the file's
// content; otherwise cNeu, when not empty, is appended to the file's content. Returns
// the text at closing (see above) without leading blanks.
QString Modaldialog_FM(const EditorEnvironment& env, const QString& cString, const QString& cTitle, QWidget* oDlg1,
                       int nXsize, int nYsize, const QString& aText = {}, const QString& cNeu = {});

// The editor the main window opens for F1 and Ctrl+E: 800 x 600, over the active window.
using TextEditorOpener = std::function<void(const QString& dosPath, const QString& title)>;
TextEditorOpener textEditorFor(EditorEnvironment env);

}  // namespace sendwerk
