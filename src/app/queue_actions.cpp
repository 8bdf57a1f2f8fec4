#include "app/queue_actions.h"

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/process_starter.h"
#include "queue/folders.h"
#include "queue/listings.h"
#include "queue/queue_context.h"
#include "queue/retry.h"
#include "queue/send_run.h"
#include "queue/shared.h"

namespace sendwerk {

QueueActions::QueueActions(Shared& shared, QueueContext& context, Tone tone, std::function<void()> keepPainting,
                           std::function<void()> notAus, TextEditorOpener textEditor, std::function<void()> logBrowser)
    : shared_(shared),
      context_(context),
      tone_(std::move(tone)),
      keepPainting_(std::move(keepPainting)),
      notAus_(std::move(notAus)),
      textEditor_(std::move(textEditor)),
      logBrowser_(std::move(logBrowser)) {}

void QueueActions::senden() { Senden(shared_, context_); }

void QueueActions::wiederholen(int nFQ) { Wiederholen(shared_, context_, nFQ); }

QString QueueActions::mailAusgang() { return MailAusgang(shared_.cDatver, context_.files, context_.clock); }

QString QueueActions::sendeFehler(int nFQ) { return SendeFehler(shared_.cDatver, context_.files, nFQ); }

bool QueueActions::folderHoldsOrders(Folder folder) {
    return !context_.files.list(orderPattern(shared_.cDatver, folder)).isEmpty();
}

void QueueActions::runNotepad(const QString& dosPath) {
    context_.starter.runAndWait(QStringLiteral("Notepad.exe"), {encode1252(dosPath).bytes}, keepPainting_);
}

void QueueActions::openTextEditor(const QString& dosPath, const QString& title) { textEditor_(dosPath, title); }

void QueueActions::openLogBrowser() {
    if (logBrowser_) logBrowser_();
}

void QueueActions::tone() {
    if (tone_) tone_(1000, 9 / 18.2);
}

void QueueActions::notAus() { notAus_(); }

}  // namespace sendwerk
