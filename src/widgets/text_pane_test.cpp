#include "widgets/text_pane.h"

#include "widgets/event_queue.h"
#include "widgets/palette.h"

#include <QScrollBar>
#include <QTest>
#include <QTextCursor>

#include <gtest/gtest.h>

namespace sendwerk {
namespace {

TEST(TextPane, KeepsCrLfLineBreaksInAndOut) {
    TextPane pane;
    pane.setData("a.ausg - Fehler!\r\nb.ausg\r\n");
    EXPECT_EQ(pane.toPlainText(), "a.ausg - Fehler!\nb.ausg\n");
    EXPECT_EQ(pane.data(), "a.ausg - Fehler!\r\nb.ausg\r\n");
}

TEST(TextPane, LooksLikeAReportPane) {
    TextPane pane;
    EXPECT_EQ(pane.lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(pane.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(pane.font().pointSize(), 12);
    EXPECT_EQ(pane.palette().color(QPalette::Base), paletteColor(colour::EntryFieldBackground));
    EXPECT_FALSE(pane.isReadOnly());
}

TEST(TextPane, TheDataLinkIsReadByRefreshAndWrittenByData) {
    QString cMessage1 = "x.ausg";
    TextPane pane;
    pane.setDataLink({[&] { return cMessage1; }, [&](const QString& t) { cMessage1 = t; }});
    pane.refresh();
    EXPECT_EQ(pane.data(), "x.ausg");

    pane.setData("set directly");
    EXPECT_EQ(cMessage1, "x.ausg");
    EXPECT_EQ(pane.data(), "set directly");
    EXPECT_EQ(cMessage1, "set directly");
}

TEST(TextPane, TheMarkCountsFromOneInTheCrLfText) {
    TextPane pane;
    pane.setData("first line\r\nSterbefall_1_2024.ausg - Fehler!");
    QTextCursor c = pane.textCursor();
    c.setPosition(11);
    c.setPosition(33, QTextCursor::KeepAnchor);
    pane.setTextCursor(c);
    EXPECT_EQ(pane.markedText(), "Sterbefall_1_2024.ausg");
    const auto [first, last] = pane.mark();
    EXPECT_EQ(first, 13);
    EXPECT_EQ(last, 34);
    EXPECT_EQ(pane.data().mid(first - 1, last - first + 1), "Sterbefall_1_2024.ausg");

    c.clearSelection();
    pane.setTextCursor(c);
    EXPECT_EQ(pane.markedText(), "");
    EXPECT_GT(pane.mark().first, pane.mark().second);
}

TEST(TextPane, TypedTextStaysUntilTheProgramSetsIt) {
    EventQueue events;
    TextPane pane;
    pane.setData("listing");
    pane.moveCursor(QTextCursor::End);
    QTest::keyClicks(&pane, " typed");
    Event e;
    while (events.takeEvent(e)) events.handEvent(e);
    EXPECT_EQ(pane.data(), "listing typed");
    pane.setData("new listing");
    EXPECT_EQ(pane.data(), "new listing");
}

}  // namespace
}  // namespace sendwerk
