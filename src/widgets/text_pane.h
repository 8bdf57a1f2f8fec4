// A report pane: multi-line, word wrap, no horizontal scroll bar, background in the
// desktop's entry-field colour, font by compound name ("12. consolas"). The operator may
// type into it; the text stays until the program sets it again. Its text in and out
// uses CR LF line breaks. An optional data link binds it to a text variable of its
// owner: refresh() shows the variable, data() stores what it returns into it; setData()
// leaves the variable alone. Implements sendwerk::Pane. GUI thread only.
#pragma once

#include "queue/screen.h"

#include <QPlainTextEdit>

#include <functional>
#include <utility>

namespace sendwerk {

struct DataLink {
    std::function<QString()> get;
    std::function<void(const QString&)> set;
};

class TextPane final : public QPlainTextEdit, public Pane {
public:
    explicit TextPane(QWidget* parent = nullptr, const QString& compoundFont = QStringLiteral("12. consolas"));

    void setData(const QString& text) override;
    // The text; with a data link, also stored into the linked variable.
    QString data() override;

    void setDataLink(DataLink link) { link_ = std::move(link); }
    // Shows the linked variable's text (nothing without a link).
    void refresh();

    // The marked range as first and last position of data(), counted from 1; first >
    // last when nothing is marked (then first is the cursor position).
    std::pair<int, int> mark() const;
    QString markedText() const;

private:
    DataLink link_;
};

}  // namespace sendwerk
