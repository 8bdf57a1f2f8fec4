// The table browser window: a table opened a second time, shared, in a work area of its
// own, shown in a grid where the operator reads and corrects any cell in place (one
// column per field, memo and other types the grid cannot edit left out). The window runs
// its own event loop until the first quit event (Esc anywhere, Alt+F4 in a cell, the
// window's close box, or any other part of the program); every other event is handed on
// to its window part, so the main window stays usable, send runs included. An edit not
// yet written when the window closes is dropped. The table is closed when the window is.
// GUI thread only.
#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

#include "platform/result.h"

class QDialog;
class QWidget;

namespace sendwerk {

class BrowseView;
class BrowsedTable;
class EventQueue;
struct EntrySettings;
namespace dbf {
class WorkAreas;
}

struct BrowserContext {
    EventQueue& events;
    dbf::WorkAreas& areas;
    EntrySettings& entry;
    // Run after each event the window's loop handed on (the error report's rethrow).
    std::function<void()> afterEvent;
    bool readOnly = false;
};

inline const QString kLogBrowserTitle = QStringLiteral("Das Logbuch für Sendwerk");

// Opens the table `name` (a DOS path), shows it and returns when the window is closed.
// Fails, with the German message the operator is shown, when the table cannot be opened.
Result<void> EditBrowX(BrowserContext& context, const QString& name, const QString& title = kLogBrowserTitle);

// {(ref width − width) / 2, (ref height − height) / 2}, whole pixels.
QPoint CenterPos(QSize aSize, QSize aRefSize);
// A 600 × 400 dialog centred on the desktop, made but not shown; a press on its close
// box posts the quit event, which the window's loop takes in its turn.
std::unique_ptr<QDialog> GuiStdDialog(EventQueue& events,
                                      const QString& cTitle = QStringLiteral("Standard Dialog Window"));
// A browse view filling `parent`, on the browsed table.
BrowseView* GuiBrowseDB(QWidget& parent, BrowsedTable& table, EventQueue& events, EntrySettings& entry);
// Builds one editable column per field the grid can edit, in field order.
void addFieldColumns(BrowseView& browse, BrowsedTable& table, bool readOnly);

}  // namespace sendwerk
