#include "ReportOutput.h"

#include "Report.h"

#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace slabwise {

namespace {

// Fine enough for text and the 200 px/in drawings.
constexpr int PdfResolution = 1200;

void Paint(const TReportSource& source, QPagedPaintDevice& device, const TPageProgress& onPage) {
    QPainter painter;
    if (!painter.begin(&device)) throw EReportError("The report could not be started on its output.");
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    TPainterBackEnd backEnd(painter, device);
    try {
        RunReport(backEnd, source, onPage);
    } catch (...) {
        painter.end();
        throw;
    }
    if (!painter.end()) throw EReportError("The report could not be finished on its output.");
}

QString XmlEscaped(const QString& text) {
    return text.toHtmlEscaped();
}

// Qt writes title and creator into the document information; the author
// only reaches a PDF through its XMP packet, which then has to carry all.
QByteArray XmpPacket(const TPdfTexts& texts) {
    const QString xmp =
        QStringLiteral("<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?>\n"
                       "<x:xmpmeta xmlns:x='adobe:ns:meta/'>\n"
                       "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>\n"
                       "<rdf:Description rdf:about='' xmlns:dc='http://purl.org/dc/elements/1.1/' "
                       "xmlns:pdf='http://ns.adobe.com/pdf/1.3/' xmlns:xmp='http://ns.adobe.com/xap/1.0/'>\n"
                       "<dc:title><rdf:Alt><rdf:li xml:lang='x-default'>%1</rdf:li></rdf:Alt></dc:title>\n"
                       "<dc:creator><rdf:Seq><rdf:li>%2</rdf:li></rdf:Seq></dc:creator>\n"
                       "<xmp:CreatorTool>%3</xmp:CreatorTool>\n"
                       "<pdf:Producer>%3</pdf:Producer>\n"
                       "</rdf:Description>\n</rdf:RDF>\n</x:xmpmeta>\n<?xpacket end='w'?>")
            .arg(XmlEscaped(texts.Title), XmlEscaped(texts.Author), XmlEscaped(texts.Creator));
    return xmp.toUtf8();
}

} // namespace

QPageSize LocaleDefaultPaper() {
    switch (QLocale().territory()) {
    case QLocale::UnitedStates:
    case QLocale::Canada:
    case QLocale::Mexico:
    case QLocale::Chile:
    case QLocale::Colombia:
    case QLocale::CostaRica:
    case QLocale::Philippines:
    case QLocale::Venezuela:
    case QLocale::PuertoRico:
        return QPageSize(QPageSize::Letter);
    default:
        return QPageSize(QPageSize::A4);
    }
}

TPdfTexts ProjectPdfTexts(const TReportSource& source) {
    TPdfTexts texts;
    texts.Title = source.Text(QStringLiteral("Edit33")).trimmed();
    if (texts.Title.isEmpty()) texts.Title = QStringLiteral("Slabwise Analysis");
    texts.Author = source.Text(QStringLiteral("Edit29")).trimmed();
    if (texts.Author.isEmpty()) texts.Author = source.Text(QStringLiteral("Edit28")).trimmed();
    texts.Creator = QStringLiteral("Kelvane Slabwise v") + source.VersionText();
    return texts;
}

void PrintReport(const TReportSource& source, QPagedPaintDevice& device, const TPageProgress& onPage) {
    Paint(source, device, onPage);
}

void WriteReportPdf(const TReportSource& source, const QString& path, const QPageSize& paper,
                    const TPdfTexts& texts, const TPageProgress& onPage) {
    auto failed = [&path](const QString& reason) {
        return EReportError(
            QStringLiteral("Cannot write the report to %1: %2").arg(path, reason).toStdString());
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) throw failed(file.errorString());
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(PdfResolution);
        pdf.setPageLayout(QPageLayout(paper, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        pdf.setTitle(texts.Title);
        pdf.setCreator(texts.Creator);
        pdf.setDocumentXmpMetadata(XmpPacket(texts));
        try {
            Paint(source, pdf, onPage);
        } catch (const EReportError& error) {
            file.cancelWriting();
            throw failed(QString::fromLocal8Bit(error.what()));
        } catch (...) {
            file.cancelWriting();
            throw;
        }
    }
    if (file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw failed(reason);
    }
    if (!file.commit()) throw failed(file.errorString());
}

} // namespace slabwise
