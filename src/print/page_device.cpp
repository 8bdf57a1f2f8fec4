#include "print/page_device.h"

#include "print/compound_font.h"

namespace sendwerk {

void PageFont::create(const QString& compoundName) {
    name_ = compoundName;
    font_ = fontFromCompoundName(compoundName);
    created_ = true;
}

void PageFont::release() {
    created_ = false;
    font_ = QFont();
}

PresentationSpace::PresentationSpace(std::unique_ptr<PrinterDevice> device) : device_(std::move(device)) {}

std::unique_ptr<PrinterDevice> PresentationSpace::detachDevice() { return std::move(device_); }

QFont PresentationSpace::currentFont() const { return font_ && font_->created() ? font_->font() : QFont(); }

void PresentationSpace::drawString(QPoint start, const QString& text) {
    if (device_) device_->drawString(start, text, currentFont());
}

QPoint PresentationSpace::concatenationPoint(const QString& text) const {
    return device_ ? device_->concatenationPoint(text, currentFont()) : QPoint();
}

QSize PresentationSpace::characterCell() const { return device_ ? device_->characterCell(currentFont()) : QSize(); }

}  // namespace sendwerk
