#include "app/pane_dump.h"

#include <QFile>
#include <QSaveFile>

#include <utility>

#include "app/main_window.h"
#include "widgets/text_pane.h"

namespace sendwerk {

void dumpPanesIfAsked(const MainWindow& window) {
    const QString path = qEnvironmentVariable("SENDWERK_PANE_DUMP");
    if (path.isEmpty()) return;
    const std::pair<const char*, const TextPane*> panes[] = {
        {"oMle1", window.oMle1},   {"oMle20", window.oMle20}, {"oMle2", window.oMle2},
        {"oMle30", window.oMle30}, {"oMle3", window.oMle3},
    };
    QByteArray text;
    for (const auto& [name, pane] : panes)
        text += QByteArray("== ") + name + "\n" + pane->toPlainText().toUtf8() + "\n";
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size()) file.commit();
}

}  // namespace sendwerk
