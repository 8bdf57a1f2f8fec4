#include "config/text_editor.h"

#include <QApplication>
#include <QPushButton>

#include "config/editor_file.h"
#include "platform/office_text.h"
#include "widgets/geometry.h"
#include "widgets/key_codes.h"
#include "widgets/text_pane.h"

namespace sendwerk {
namespace {

// One open editor: the window, the file it saves into and its text variable.
class Editor {
public:
    Editor(const EditorEnvironment& env, const QString& cDatei, const QString& title, QWidget* owner, int nXsize,
           int nYsize, const QString& text)
        : env_(env),
          cDatei_(cDatei),
          cString_(text),
          window_(env.dialog, owner, DialogWindow::Names{"textEditor", "editorText"}, title, nXsize, nYsize, text) {
        window_.onOk = [this] { takeText(); };
    }

    QString run() {
        ScreenCenter(window_, true);
        // The close box closes like Esc: nothing saved, the pane's text is the result.
        if (window_.runModal([this](const Event& e) { return keyCommand(int(e.mp1)); }) ==
            DialogWindow::LoopEnd::CloseBox)
            takeText();
        return withoutLeadingBlanks(cString_);
    }

private:
    void takeText() { cString_ = withoutLeadingBlanks(window_.pane().data()); }

    bool focusInPane() const { return QApplication::focusWidget() == &window_.pane(); }

    // True when the key goes on to its window part. Alt with a letter would type the
    // letter into the pane, so a command given that way ends with the command.
    bool keyCommand(int keyCode) {
        switch (keyCode) {
        case key::Escape:
            takeText();
            quit();
            break;
        case key::Enter:
            if (QApplication::focusWidget() == &window_.okButton())
                env_.dialog.events.postEvent(event::Activate, 0, 0, &window_.okButton());
            break;
        case key::F10: quit(); break;
        case key::CtrlW:
        case key::AltW:
        case key::CtrlS:
            if (!focusInPane()) break;
            save();
            return keyCode != key::AltW;
        case key::AltD:
            if (!focusInPane()) break;
            if (env_.printing.pagePrint) env_.printing.pagePrint(withoutTrailingBlanks(window_.pane().data()));
            return false;
        case key::CtrlP:
            if (focusInPane()) {
                cString_ = window_.pane().data();
                if (env_.printing.textPrint) env_.printing.textPrint(cString_);
            }
            break;
        default: break;
        }
        return true;
    }

    void save() {
        cString_ = window_.pane().data();
        const Result<void> saved = saveEditorText(env_.files, cDatei_, cString_);
        if (!saved.ok() && env_.message) env_.message(saved.cause());
    }

    void quit() { env_.dialog.events.postEvent(event::Quit, 0, 0, &window_); }

    const EditorEnvironment& env_;
    const QString cDatei_;
    QString cString_;
    DialogWindow window_;
};

}  // namespace

QString Modaldialog_FM(const EditorEnvironment& env, const QString& cString, const QString& cTitle, QWidget* oDlg1,
                       int nXsize, int nYsize, const QString& aText, const QString& cNeu) {
    const FocusKeeper focus;
    const QString title = titleWithHint(cTitle, cString, TitleHints::TextOrAddresses);
    const QString text = editorTextFor(env.files, cString, aText, cNeu);
    Editor editor(env, cString, title, oDlg1, nXsize, nYsize, text);
    return editor.run();
}

TextEditorOpener textEditorFor(EditorEnvironment env) {
    return [env](const QString& dosPath, const QString& title) {
        Modaldialog_FM(env, dosPath, title, QApplication::activeWindow(), 800, 600);
    };
}

}  // namespace sendwerk
