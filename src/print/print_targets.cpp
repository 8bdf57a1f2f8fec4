#include "print/print_targets.h"

#include "print/printer_command.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>

namespace sendwerk {

namespace {

// Page units (0.1 mm) per millimetre, and per inch.
constexpr double kUnitsPerMm = 10.0;
constexpr double kUnitsPerInch = 254.0;

PaperSize paperFrom(const QPageLayout& layout) {
    const QRectF full = layout.fullRect(QPageLayout::Millimeter);
    const QMarginsF margins = layout.margins(QPageLayout::Millimeter);
    PaperSize paper;
    paper.width = qRound(full.width() * kUnitsPerMm);
    paper.height = qRound(full.height() * kUnitsPerMm);
    paper.left = qRound(margins.left() * kUnitsPerMm);
    paper.bottom = qRound(margins.bottom() * kUnitsPerMm);
    paper.right = paper.width - qRound(margins.right() * kUnitsPerMm);
    paper.top = paper.height - qRound(margins.top() * kUnitsPerMm);
    return paper;
}

// PDF targets: A4, the whole sheet printable.
QPageLayout wholeSheetA4() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter,
                       QMarginsF(0, 0, 0, 0));
}

// Every page printout is a PDF made in memory with the printer's page layout, then
// handed over whole: written to a file, or piped into a command. CUPS printers get it
// through `lp`, because Qt's own CUPS engine drops the spooler's answer, and a queue that
// refuses the job must not look like a printed one. Qt's painter starts at the top-left
// corner of the printable area in device pixels; page coordinates at its bottom-left.
class PdfJob final : public PrinterDevice {
public:
    PdfJob(QString name, const QPageLayout& layout, QString file, QStringList command, std::chrono::milliseconds limit,
           std::function<void()> whileWaiting)
        : name_(std::move(name)),
          file_(std::move(file)),
          command_(std::move(command)),
          limit_(limit),
          whileWaiting_(std::move(whileWaiting)) {
        buffer_.open(QIODevice::WriteOnly);
        writer_ = std::make_unique<QPdfWriter>(&buffer_);
        writer_->setTitle(QStringLiteral("Sendwerk"));
        writer_->setCreator(QStringLiteral("Sendwerk"));
        writer_->setResolution(kResolution);
        writer_->setPageLayout(layout);
        paper_ = paperFrom(writer_->pageLayout());
    }
    // A job that was not ended is dropped unprinted.
    ~PdfJob() override {
        if (painter_.isActive()) painter_.end();
    }

    QString name() const override { return name_; }
    void setOrientation(int orientation) override {
        orientation_ = orientation == 2 ? 2 : 1;
        writer_->setPageOrientation(orientation_ == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
        paper_ = paperFrom(writer_->pageLayout());
    }
    int orientation() const override { return orientation_; }
    PaperSize paperSize() const override { return paper_; }

    Result<> startDoc() override {
        if (!painter_.begin(writer_.get()))
            return Failure{
                QStringLiteral("Druck auf %1 nicht möglich: der Auftrag lässt sich nicht beginnen.").arg(name_)};
        return {};
    }
    void newPage() override {
        if (painter_.isActive()) writer_->newPage();
    }
    Result<> endDoc() override {
        if (!painter_.isActive()) return {};
        painter_.end();
        const QByteArray pdf = buffer_.data();
        if (!command_.isEmpty()) return sendToPrinterCommand(name_, command_, pdf, limit_, whileWaiting_);
        return sendToPrinterFile(name_, file_, pdf, FileMode::Replace);
    }

    void drawString(QPoint start, const QString& text, const QFont& font) override {
        if (!painter_.isActive() || text.isEmpty()) return;
        painter_.setFont(QFont(font, writer_.get()));
        const int printableHeight = paper_.top - paper_.bottom;
        painter_.drawText(QPointF(start.x() * kScale, (printableHeight - start.y()) * kScale), text);
    }
    QPoint concatenationPoint(const QString& text, const QFont& font) const override {
        const QFontMetricsF metrics(font, writer_.get());
        return QPoint(int(metrics.horizontalAdvance(text) / kScale), 0);
    }
    QSize characterCell(const QFont& font) const override {
        const QFontMetricsF metrics(font, writer_.get());
        return QSize(qRound(metrics.horizontalAdvance(QLatin1Char('M')) / kScale), qRound(metrics.height() / kScale));
    }

private:
    static constexpr int kResolution = 1200;                       // dots per inch
    static constexpr double kScale = kResolution / kUnitsPerInch;  // device pixels per page unit

    QString name_;
    QString file_;
    QStringList command_;
    std::chrono::milliseconds limit_;
    std::function<void()> whileWaiting_;
    int orientation_ = 1;
    PaperSize paper_;
    QBuffer buffer_;
    std::unique_ptr<QPdfWriter> writer_;
    QPainter painter_;
};

}  // namespace

Result<std::unique_ptr<PrinterDevice>> makePrinterDevice(const QString& pagePrinter, const QString& cPrinterObjectName,
                                                         std::chrono::milliseconds commandTimeLimit,
                                                         std::function<void()> whileWaiting) {
    const QString setting = cPrinterObjectName.isEmpty() ? pagePrinter.trimmed() : cPrinterObjectName.trimmed();
    const auto pdfDevice = [&](const QString& name, const QPageLayout& layout, const QString& file,
                               const QStringList& command) -> std::unique_ptr<PrinterDevice> {
        return std::make_unique<PdfJob>(name, layout, file, command, commandTimeLimit, std::move(whileWaiting));
    };
    if (setting.startsWith(QLatin1Char('|'))) {
        const QStringList command = QProcess::splitCommand(setting.mid(1).trimmed());
        if (command.isEmpty())
            return Failure{QStringLiteral("Seitendruck nicht möglich: pageprinter=| nennt keinen Befehl.")};
        return pdfDevice(setting, wholeSheetA4(), QString(), command);
    }
    if (setting.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        return pdfDevice(setting, wholeSheetA4(), setting, QStringList());
    const QPrinterInfo info = setting.isEmpty() ? QPrinterInfo::defaultPrinter() : QPrinterInfo::printerInfo(setting);
    if (info.isNull()) {
        if (setting.isEmpty())
            return Failure{QStringLiteral("Seitendruck nicht möglich: kein Standarddrucker eingerichtet.")};
        return Failure{QStringLiteral("Seitendruck nicht möglich: Drucker %1 nicht gefunden.").arg(setting)};
    }
    // The printer's own paper and printable area, as its driver reports them.
    const QPageLayout layout = QPrinter(info, QPrinter::HighResolution).pageLayout();
    return pdfDevice(info.printerName(), layout, QString(),
                     {QStringLiteral("lp"), QStringLiteral("-d"), info.printerName(), QStringLiteral("-t"),
                      QStringLiteral("Sendwerk")});
}

}  // namespace sendwerk
