// The page side of printing: a printer device that makes a print job of
// pages, the presentation space drawn on it and the font object of a page printout.
//
// Page units are tenths of a millimetre. Page coordinates start at the paper's margins,
// the lower-left corner of the printable area, x to the right, y upwards (as a printer
// that cannot print on its margins has always counted). A string is drawn with its
// start point (the left end of its base line) at the given point.
//
// The real device (print_targets.h) makes a PDF in memory and hands it to a CUPS
// printer, a command or a file. Tests put in a device that records what was drawn
// where. GUI thread only.
#pragma once

#include <QFont>
#include <QPoint>
#include <QSize>
#include <QString>

#include <memory>

#include "platform/result.h"

namespace sendwerk {

// The paper description, in page units. The office's routines read it as a list:
// element 2 the paper height, 3 the left margin, 4 the bottom margin, 6 the top margin.
// The margins are the edges of the printable area measured from the paper's lower-left
// corner, as the printer's page layout gives them: `left` and `bottom` its lower-left
// corner, `right` and `top` its upper-right corner, so top - bottom is the printable
// height.
struct PaperSize {
    int width = 0;   // element 1
    int height = 0;  // element 2
    int left = 0;    // element 3
    int bottom = 0;  // element 4
    int right = 0;   // element 5
    int top = 0;     // element 6
};

// A printer device with an open or closed print job.
class PrinterDevice {
public:
    virtual ~PrinterDevice() = default;

    // The printer's name as the settings or the desktop call it (for reports).
    virtual QString name() const = 0;
    // 1 portrait, 2 landscape; set before the document starts.
    virtual void setOrientation(int orientation) = 0;
    virtual int orientation() const = 0;
    virtual PaperSize paperSize() const = 0;

    // The job: start, pages, end. endDoc hands the job over (to the spooler, the file or
    // the command) and says why when that failed. A device whose document failed to
    // start draws nothing.
    virtual Result<> startDoc() = 0;
    virtual void newPage() = 0;
    virtual Result<> endDoc() = 0;

    // Drawing for the presentation space, in page units.
    virtual void drawString(QPoint start, const QString& text, const QFont& font) = 0;
    // The concatenation point of `text` relative to its start point.
    virtual QPoint concatenationPoint(const QString& text, const QFont& font) const = 0;
    // Width of one character cell and height of one line of `font`.
    virtual QSize characterCell(const QFont& font) const = 0;
};

// The font object of a page printout: made once per printout, the actual font created in
// it from a compound name ("10.COURIER NEW", "12.Courier New Fett") for each line drawn
// and released afterwards.
class PageFont {
public:
    // Creates the font from its compound name (faces this desktop lacks get look-alike
    // stand-ins, see compound_font.h).
    void create(const QString& compoundName);
    void release();
    bool created() const { return created_; }
    const QString& compoundName() const { return name_; }
    const QFont& font() const { return font_; }

private:
    bool created_ = false;
    QString name_;
    QFont font_;
};

// The presentation space of a page printout, bound to its printer device (unit 0.1 mm,
// page size the paper's). Owns the device until it is detached.
class PresentationSpace {
public:
    explicit PresentationSpace(std::unique_ptr<PrinterDevice> device);

    // The bound device, or null once detached.
    PrinterDevice* device() const { return device_.get(); }
    // Detaches the device ("configure without a device") and hands it to the caller.
    std::unique_ptr<PrinterDevice> detachDevice();

    // The font that drawing and measuring use (null: none).
    void setFont(const PageFont* font) { font_ = font; }
    void drawString(QPoint start, const QString& text);
    // The text box's concatenation point (its fifth point) relative to the start point.
    QPoint concatenationPoint(const QString& text) const;
    QSize characterCell() const;

private:
    QFont currentFont() const;

    std::unique_ptr<PrinterDevice> device_;
    const PageFont* font_ = nullptr;
};

}  // namespace sendwerk
