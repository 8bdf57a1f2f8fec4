// How the filing step writes into the report panes: marks after an order's name in the
// outbox pane, new lines for list recipients, lines in the failure and quarantine panes.
// Pure text functions on CR LF text, any thread.
#pragma once

#include <QString>

namespace sendwerk {

// The first occurrence of `name` becomes `name` + `mark`.
QString markFirst(const QString& paneText, const QString& name, const QString& mark);

// Recipient n of a list in the outbox pane: for n = 1 the first occurrence of F becomes
// F + "-1" + mark; for n > 1 the line F + "-n" + mark goes below the line that holds the
// last occurrence of F + "-(n-1)" (below the first line when there is none).
QString markListRecipient(const QString& paneText, const QString& F, int n, const QString& mark);

// A line in the failure or quarantine pane: a pane that is empty or says "leer" is
// replaced by the heading and the line; otherwise the line is appended.
QString addFolderLine(const QString& paneText, const QString& heading, const QString& line);

}  // namespace sendwerk
