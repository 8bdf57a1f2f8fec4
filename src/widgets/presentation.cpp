#include "widgets/presentation.h"

#include "widgets/fonts.h"
#include "widgets/palette.h"

#include <QPalette>
#include <QWidget>

namespace sendwerk {

void setBackgroundColour(QWidget& widget, int number) {
    QPalette p = widget.palette();
    const QColor c = paletteColor(number);
    p.setColor(QPalette::Window, c);
    p.setColor(QPalette::Base, c);
    widget.setPalette(p);
    widget.setAutoFillBackground(true);
}

void applyPresentation(QWidget& widget, const PresentationSetting& item) {
    switch (item.setting) {
    case presentation::TextColour: {
        QPalette p = widget.palette();
        const QColor c = paletteColor(item.value.toInt());
        p.setColor(QPalette::WindowText, c);
        p.setColor(QPalette::Text, c);
        p.setColor(QPalette::ButtonText, c);
        widget.setPalette(p);
        break;
    }
    case presentation::Background: setBackgroundColour(widget, item.value.toInt()); break;
    case presentation::Font: widget.setFont(fontFromCompoundName(item.value.toString())); break;
    case presentation::ActiveColour: widget.setProperty("activeColour", item.value.toInt()); break;
    default: break;
    }
}

void applyPresentation(QWidget& widget, const Presentation& items) {
    for (const auto& item : items) applyPresentation(widget, item);
}

}  // namespace sendwerk
