// The real MainActions: the queue's routines on the shared state and the office's
// services, the configured editor for "Notepad.exe" (the window keeps painting while
// it runs), the text editor, the desktop tone, NotAus and the send log's browser.
// Built by Main for the whole run; GUI thread.
#pragma once

#include <functional>

#include "app/main_actions.h"
#include "config/text_editor.h"
#include "queue/screen.h"

namespace sendwerk {

struct Shared;
struct QueueContext;

class QueueActions final : public MainActions {
public:
    QueueActions(Shared& shared, QueueContext& context, Tone tone, std::function<void()> keepPainting,
                 std::function<void()> notAus, TextEditorOpener textEditor, std::function<void()> logBrowser);

    void senden() override;
    void wiederholen(int nFQ) override;
    QString mailAusgang() override;
    QString sendeFehler(int nFQ) override;
    bool folderHoldsOrders(Folder folder) override;
    void runNotepad(const QString& dosPath) override;
    void openTextEditor(const QString& dosPath, const QString& title) override;
    void openLogBrowser() override;
    void tone() override;
    void notAus() override;

private:
    Shared& shared_;
    QueueContext& context_;
    Tone tone_;
    std::function<void()> keepPainting_;
    std::function<void()> notAus_;
    TextEditorOpener textEditor_;
    std::function<void()> logBrowser_;
};

}  // namespace sendwerk
