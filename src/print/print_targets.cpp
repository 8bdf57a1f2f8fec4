#include "print/print_targets.h"

#include "platform/process_starter.h"

#include <QBuffer>
#include <QFile>
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

QPageLayout::Orientation qtOrientation(int orientation) {
    return orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait;
}

// A printer device on a Qt paged paint device. Qt's painter starts at the top-left
// corner of the printable area in device pixels; page coordinates start at its
// bottom-left corner.
class PagedDevice : public PrinterDevice {
public:
    explicit PagedDevice(QString name) : name_(std::move(name)) {}

    QString name() const override { return name_; }
    void setOrientation(int orientation) override {
        orientation_ = orientation == 2 ? 2 : 1;
        device().setPageOrientation(qtOrientation(orientation_));
    }
    int orientation() const override { return orientation_; }
    PaperSize paperSize() const override { return paper_; }

    Result<> startDoc() override {
        paper_ = paperFrom(device().pageLayout());
        if (!painter_.begin(&device()))
            return Failure{QStringLiteral("Druck auf %1 nicht möglich: der Auftrag lässt sich nicht beginnen.").arg(name_)};
        scale_ = device().logicalDpiX() / kUnitsPerInch;
        return {};
    }
    void newPage() override {
        if (painter_.isActive()) device().newPage();
    }
    Result<> endDoc() override {
        if (!painter_.isActive()) return {};
        if (!painter_.end())
            return Failure{QStringLiteral("Druck auf %1 fehlgeschlagen: der Auftrag wurde nicht angenommen.").arg(name_)};
        return deliver();
    }

    void drawString(QPoint start, const QString& text, const QFont& font) override {
        if (!painter_.isActive() || text.isEmpty()) return;
        painter_.setFont(QFont(font, &device()));
        const int printableHeight = paper_.top - paper_.bottom;
        painter_.drawText(QPointF(start.x() * scale_, (printableHeight - start.y()) * scale_), text);
    }
    QPoint concatenationPoint(const QString& text, const QFont& font) const override {
        const QFontMetricsF metrics(font, &constDevice());
        return QPoint(int(metrics.horizontalAdvance(text) / deviceScale()), 0);
    }
    QSize characterCell(const QFont& font) const override {
        const QFontMetricsF metrics(font, &constDevice());
        return QSize(qRound(metrics.horizontalAdvance(QLatin1Char('M')) / deviceScale()),
                     qRound(metrics.height() / deviceScale()));
    }

protected:
    virtual QPagedPaintDevice& device() = 0;
    const QPagedPaintDevice& constDevice() const { return const_cast<PagedDevice*>(this)->device(); }
    virtual Result<> deliver() { return {}; }
    // Ends an open job without handing it over.
    void abandon() {
        if (painter_.isActive()) painter_.end();
    }
    double deviceScale() const { return constDevice().logicalDpiX() / kUnitsPerInch; }

    QString name_;
    int orientation_ = 1;
    PaperSize paper_;
    QPainter painter_;
    double scale_ = 1.0;
};

// A CUPS printer (the default one when `info` is the default printer's).
class CupsDevice final : public PagedDevice {
public:
    explicit CupsDevice(const QPrinterInfo& info) : PagedDevice(info.printerName()), printer_(info, QPrinter::HighResolution) {
        printer_.setDocName(QStringLiteral("Sendwerk"));
        paper_ = paperFrom(printer_.pageLayout());
    }
    ~CupsDevice() override {
        if (painter_.isActive()) {
            printer_.abort();
            abandon();
        }
    }

protected:
    QPagedPaintDevice& device() override { return printer_; }

private:
    QPrinter printer_;
};

// A PDF made in memory, then written to a file or piped into a command.
class PdfDevice final : public PagedDevice {
public:
    PdfDevice(QString name, QString file, QStringList command, std::chrono::milliseconds limit,
              std::function<void()> whileWaiting)
        : PagedDevice(std::move(name)), file_(std::move(file)), command_(std::move(command)), limit_(limit),
          whileWaiting_(std::move(whileWaiting)) {
        buffer_.open(QIODevice::WriteOnly);
        writer_ = std::make_unique<QPdfWriter>(&buffer_);
        writer_->setTitle(QStringLiteral("Sendwerk"));
        writer_->setCreator(QStringLiteral("Sendwerk"));
        writer_->setResolution(1200);
        writer_->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                           QPageLayout::Millimeter, QMarginsF(0, 0, 0, 0)));
        paper_ = paperFrom(writer_->pageLayout());
    }
    ~PdfDevice() override { abandon(); }

protected:
    QPagedPaintDevice& device() override { return *writer_; }
    Result<> deliver() override {
        const QByteArray pdf = buffer_.data();
        if (!command_.isEmpty()) {
            const PipedRun run = runWithInput(command_, pdf, limit_, whileWaiting_);
            if (!run.started)
                return Failure{QStringLiteral("Druck auf %1 nicht möglich: %2 startet nicht (%3).")
                                   .arg(name_, command_.front(), run.failure)};
            if (run.timedOut)
                return Failure{QStringLiteral("Druck auf %1 abgebrochen: %2 ist nach %3 Sekunden nicht fertig.")
                                   .arg(name_, command_.front())
                                   .arg(std::chrono::duration_cast<std::chrono::seconds>(limit_).count())};
            if (run.exitStatus != 0)
                return Failure{QStringLiteral("Druck auf %1 fehlgeschlagen: %2 endet mit %3. %4")
                                   .arg(name_, command_.front())
                                   .arg(run.exitStatus)
                                   .arg(QString::fromLocal8Bit(run.output).trimmed())};
            return {};
        }
        QFile out(file_);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(pdf) != pdf.size())
            return Failure{QStringLiteral("Druck in %1 nicht möglich (%2).").arg(file_, out.errorString())};
        return {};
    }

private:
    QString file_;
    QStringList command_;
    std::chrono::milliseconds limit_;
    std::function<void()> whileWaiting_;
    QBuffer buffer_;
    std::unique_ptr<QPdfWriter> writer_;
};

}  // namespace

Result<std::unique_ptr<PrinterDevice>> makePrinterDevice(const QString& pagePrinter, const QString& cPrinterObjectName,
                                                         std::chrono::milliseconds commandTimeLimit,
                                                         std::function<void()> whileWaiting) {
    const QString setting = cPrinterObjectName.isEmpty() ? pagePrinter.trimmed() : cPrinterObjectName.trimmed();
    if (setting.startsWith(QLatin1Char('|'))) {
        QStringList command = QProcess::splitCommand(setting.mid(1).trimmed());
        if (command.isEmpty())
            return Failure{QStringLiteral("Seitendruck nicht möglich: pageprinter=| nennt keinen Befehl.")};
        return std::unique_ptr<PrinterDevice>(
            std::make_unique<PdfDevice>(setting, QString(), std::move(command), commandTimeLimit, std::move(whileWaiting)));
    }
    if (setting.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        return std::unique_ptr<PrinterDevice>(
            std::make_unique<PdfDevice>(setting, setting, QStringList(), commandTimeLimit, std::move(whileWaiting)));
    const QPrinterInfo info = setting.isEmpty() ? QPrinterInfo::defaultPrinter() : QPrinterInfo::printerInfo(setting);
    if (info.isNull()) {
        if (setting.isEmpty())
            return Failure{QStringLiteral("Seitendruck nicht möglich: kein Standarddrucker eingerichtet.")};
        return Failure{QStringLiteral("Seitendruck nicht möglich: Drucker %1 nicht gefunden.").arg(setting)};
    }
    return std::unique_ptr<PrinterDevice>(std::make_unique<CupsDevice>(info));
}

}  // namespace sendwerk
