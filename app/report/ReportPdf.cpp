#include "app/report/ReportPdf.h"

#include "app/report/ReportChart.h"
#include "app/report/ReportLayout.h"
#include "app/report/ReportText.h"
#include "platform/Errors.h"

#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace velkor::report {

bool Failed(const ReportData& data) {
    if (!data.excursions.empty() || (data.limits && data.limits->excursions > 0) ||
        (data.humidityLimits && data.humidityLimits->excursions > 0))
        return true;
    for (const Alarm& a : data.alarms)
        if (a.triggered)
            return true;
    return false;
}

namespace {

const QColor PassColor(0, 128, 0);
const QColor FailColor(200, 0, 0);

// The chart's height on the page for the text width, in the shape of its layout.
constexpr double ChartHeight = 310;

class Content {
public:
    Content(const ReportData& data, ReportLayout& layout)
        : d_(data), lang_(data.language), out_(layout) {}

    void Build() {
        Header();
        if (d_.logger)
            Logger();
        Summary();
        LimitsAndAlarms();
        Chart();
        Excursions();
        Daily();
        Gaps();
        Signatures();
    }

private:
    QString W(Word w) const { return WordOf(w, lang_); }
    QString N(double v) const { return NumberText(v, lang_); }
    // As many decimals as the value has (ΔH 83.144), with the language's separator.
    QString PlainNumber(double v) const {
        QString text = QString::number(v, 'g', 10);
        return lang_ == Language::Polish ? text.replace(u'.', u',') : text;
    }

    void Header() {
        out_.Title(d_.title.isEmpty() ? W(Word::DefaultTitle) : d_.title);
        out_.Space(6);
        if (!d_.loggerId.isEmpty())
            out_.Field(W(Word::Logger), d_.loggerId);
        if (d_.archive.isEmpty()) {
            out_.Field(W(Word::DataFile), d_.fileName);
            out_.Field(W(Word::Sha256), d_.sha256);
        } else {
            out_.Field(W(Word::Archive), d_.archive);
        }
        out_.Field(W(Word::Period), TimeText(d_.first) + QStringLiteral(" – ") + TimeText(d_.last));
        out_.Field(W(Word::Samples), QString::number(d_.samples));
        if (d_.badLines > 0)
            out_.Field(W(Word::BadLines),
                       W(Word::BadLinesValue).arg(d_.badLines).arg(d_.firstBadLine));
        out_.Field(W(Word::Interval), DurationText(d_.intervalSeconds));
        out_.Field(W(Word::GeneratedAt), d_.generatedAt);
        out_.Field(W(Word::Program), d_.program);
    }

    void Logger() {
        const LoggerFacts& f = *d_.logger;
        out_.Heading(W(Word::LoggerSection));
        out_.Field(W(Word::Logger), f.identifier);
        out_.Field(W(Word::Battery), QString::number(f.batteryMillivolts) + QStringLiteral(" mV"));
        out_.Field(W(Word::LoggerInterval), DurationText(f.intervalSeconds));
        out_.Field(W(Word::LoggingStart), TimeText(f.loggingStart));
        out_.Field(W(Word::LoggerSamples), QString::number(f.sampleCount));
    }

    Row QuantityRow(Word name, const Quantity& q) const {
        return {{W(name)},
                {N(q.min)},
                {TimeText(q.minTime)},
                {N(q.max)},
                {TimeText(q.maxTime)},
                {N(q.mean)},
                {q.sd ? N(*q.sd) : QStringLiteral("–")}};
    }

    void Summary() {
        out_.Heading(W(Word::SummarySection));
        std::vector<Row> rows;
        if (d_.temperature.count > 0)
            rows.push_back(QuantityRow(Word::Temperature, d_.temperature));
        if (d_.humidity.count > 0)
            rows.push_back(QuantityRow(Word::Humidity, d_.humidity));
        if (d_.dewPoint.count > 0)
            rows.push_back(QuantityRow(Word::DewPoint, d_.dewPoint));
        const Qt::Alignment right = Qt::AlignRight;
        out_.Table({{W(Word::Quantity), 1.5},
                    {W(Word::Minimum), 0.6, right},
                    {W(Word::MinimumTime), 1.3, right},
                    {W(Word::Maximum), 0.6, right},
                    {W(Word::MaximumTime), 1.3, right},
                    {W(Word::Mean), 0.6, right},
                    {W(Word::Sd), 0.5, right}},
                   rows);
        out_.Space(4);
        if (d_.mkt)
            out_.Line(W(Word::Mkt).arg(N(*d_.mkt), PlainNumber(d_.deltaH)));
        if (d_.gaps.empty()) {
            out_.Line(W(Word::NoGaps));
        } else {
            std::int64_t missing = 0;
            for (const Gap& g : d_.gaps)
                missing += g.missingSeconds;
            out_.Line(W(Word::Gaps).arg(d_.gaps.size()).arg(DurationText(missing)));
        }
    }

    void RangeLine(Word word, const Limits& l) {
        out_.Line(W(word).arg(N(l.low), N(l.high)) + QStringLiteral("; ") +
                  W(Word::TimeBelow).arg(DurationText(l.timeBelowSeconds)) + QStringLiteral(", ") +
                  W(Word::TimeAbove).arg(DurationText(l.timeAboveSeconds)));
    }

    void LimitsAndAlarms() {
        out_.Heading(W(Word::LimitsSection));
        if (!d_.limits && !d_.humidityLimits && d_.alarms.empty())
            out_.Line(W(Word::NoLimits));
        if (d_.limits)
            RangeLine(Word::Range, *d_.limits);
        if (d_.humidityLimits)
            RangeLine(Word::HumidityRange, *d_.humidityLimits);
        if (!d_.alarms.empty()) {
            std::vector<Row> rows;
            for (const Alarm& a : d_.alarms)
                rows.push_back({{a.rule},
                                {DurationText(a.timeSeconds)},
                                {a.at ? TimeText(*a.at) : QStringLiteral("–")},
                                a.triggered ? Cell{QStringLiteral("ALARM"), FailColor, true}
                                            : Cell{QStringLiteral("OK"), PassColor, true}});
            out_.Table({{W(Word::Rule), 2},
                        {W(Word::TimeBeyond), 1, Qt::AlignRight},
                        {W(Word::FiredAt), 1.3, Qt::AlignRight},
                        {W(Word::State), 0.7, Qt::AlignCenter}},
                       rows);
        }
        out_.Space(6);
        const bool failed = Failed(d_);
        out_.Line(W(Word::Verdict) + u' ' + W(failed ? Word::Fail : Word::Pass),
                  failed ? FailColor : PassColor, true);
    }

    void Chart() {
        out_.Heading(W(Word::ChartSection));
        const ReportData& data = d_;
        out_.Picture(ChartHeight, [&data](QPainter& painter, const QRectF& r) {
            PaintReportChart(painter, r.toAlignedRect(), data);
        });
    }

    // The rows up to the table's limit, then "and N more".
    template <class T, class MakeRow>
    void LimitedTable(const std::vector<Column>& columns, const std::vector<T>& items,
                      MakeRow makeRow) {
        std::vector<Row> rows;
        for (std::size_t i = 0; i < items.size() && i < MaxTableRows; ++i)
            rows.push_back(makeRow(items[i]));
        out_.Table(columns, rows);
        if (items.size() > MaxTableRows)
            out_.Line(W(Word::More).arg(items.size() - MaxTableRows));
    }

    void Excursions() {
        if (!d_.limits)
            return;
        out_.Heading(W(Word::ExcursionsSection));
        if (d_.excursions.empty()) {
            out_.Line(W(Word::NoExcursions));
            return;
        }
        LimitedTable({{W(Word::Start), 1.3},
                      {W(Word::End), 1.3},
                      {W(Word::Duration), 1, Qt::AlignRight},
                      {W(Word::Side), 0.8, Qt::AlignCenter},
                      {W(Word::Extreme), 0.8, Qt::AlignRight}},
                     d_.excursions, [this](const Excursion& e) -> Row {
                         return {{TimeText(e.start)},
                                 {TimeText(e.end)},
                                 {DurationText(e.durationSeconds)},
                                 {W(e.above ? Word::Above : Word::Below)},
                                 {N(e.extreme) + QStringLiteral(" °C")}};
                     });
    }

    void Daily() {
        if (d_.days.empty())
            return;
        out_.Heading(W(Word::DailySection));
        std::vector<Row> rows;
        for (const Day& day : d_.days)
            rows.push_back(
                {{DayText(day.day)},
                 {N(day.temperature.min)},
                 {N(day.temperature.max)},
                 {N(day.temperature.mean)},
                 {d_.limits ? DurationText(day.outOfRangeSeconds) : QStringLiteral("–")}});
        out_.Table({{W(Word::DayColumn), 1},
                    {W(Word::Minimum), 0.8, Qt::AlignRight},
                    {W(Word::Maximum), 0.8, Qt::AlignRight},
                    {W(Word::Mean), 0.8, Qt::AlignRight},
                    {W(Word::OutOfRange), 1.2, Qt::AlignRight}},
                   rows);
    }

    void Gaps() {
        if (d_.gaps.empty())
            return;
        out_.Heading(W(Word::GapsSection));
        LimitedTable({{W(Word::GapAfter), 1.3},
                      {W(Word::GapBefore), 1.3},
                      {W(Word::Missing), 1, Qt::AlignRight}},
                     d_.gaps, [](const Gap& g) -> Row {
                         return {{TimeText(g.after)},
                                 {TimeText(g.before)},
                                 {DurationText(g.missingSeconds)}};
                     });
    }

    void Signatures() {
        out_.Signatures(W(Word::PreparedBy), W(Word::ApprovedBy),
                        {W(Word::Name), W(Word::Date), W(Word::Signature)});
    }

    const ReportData& d_;
    Language lang_;
    ReportLayout& out_;
};

QString Escaped(const QString& text) {
    return text.toHtmlEscaped();
}

QString XmpDate(const QDateTime& t) {
    const int offset = t.offsetFromUtc();
    QString zone = QStringLiteral("Z");
    if (offset != 0)
        zone = QString::asprintf("%c%02d:%02d", offset < 0 ? '-' : '+', std::abs(offset) / 3600,
                                 std::abs(offset) / 60 % 60);
    return t.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + zone;
}

QString Title(const ReportData& data) {
    return data.title.isEmpty() ? WordOf(Word::DefaultTitle, data.language) : data.title;
}

QString Subject(const ReportData& data) {
    return WordOf(data.archive.isEmpty() ? Word::Subject : Word::ArchiveSubject, data.language)
        .arg(TimeText(data.first), TimeText(data.last), data.fileName);
}

// Qt writes this as the document's producer; the XMP must say the same.
const QString Producer = QStringLiteral("Qt " QT_VERSION_STR);

} // namespace

QByteArray ReportXmp(const ReportData& data, const QDateTime& created) {
    const QString lang =
        data.language == Language::Polish ? QStringLiteral("pl") : QStringLiteral("en");
    const QString xmp =
        QStringLiteral(
            "<?xpacket begin=\"\uFEFF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
            "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
            "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
            "<rdf:Description rdf:about=\"\" xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\">\n"
            "<pdfaid:part>1</pdfaid:part>\n<pdfaid:conformance>B</pdfaid:conformance>\n"
            "</rdf:Description>\n"
            "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
            "<dc:format>application/pdf</dc:format>\n"
            "<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">%1</rdf:li></rdf:Alt></dc:title>\n"
            "<dc:creator><rdf:Seq><rdf:li>%2</rdf:li></rdf:Seq></dc:creator>\n"
            "<dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\">%3</rdf:li></rdf:Alt>"
            "</dc:description>\n"
            "<dc:language><rdf:Bag><rdf:li>%6</rdf:li></rdf:Bag></dc:language>\n"
            "</rdf:Description>\n"
            "<rdf:Description rdf:about=\"\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n"
            "<xmp:CreatorTool>%2</xmp:CreatorTool>\n<xmp:CreateDate>%4</xmp:CreateDate>\n"
            "</rdf:Description>\n"
            "<rdf:Description rdf:about=\"\" xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\">\n"
            "<pdf:Producer>%5</pdf:Producer>\n"
            "</rdf:Description>\n"
            "</rdf:RDF>\n</x:xmpmeta>\n<?xpacket end=\"w\"?>")
            .arg(Escaped(Title(data)), Escaped(data.program), Escaped(Subject(data)),
                 XmpDate(created), Escaped(Producer), lang);
    return xmp.toUtf8();
}

int WriteReport(const ReportData& data, QIODevice& device, const QString& name) {
    auto fail = [&] {
        throw InOutError(WordOf(Word::WriteFailed, data.language).arg(name).toStdString());
    };
    QPdfWriter pdf(&device);
    pdf.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
    pdf.setResolution(72);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageOrientation(QPageLayout::Portrait);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(Title(data));
    pdf.setCreator(data.program);
    // The creation date Qt writes is the time of begin(); the XMP's is taken just before.
    pdf.setDocumentXmpMetadata(ReportXmp(data, QDateTime::currentDateTime()));

    ReportLayout layout;
    Content(data, layout).Build();
    QPainter painter;
    if (!painter.begin(&pdf))
        fail();
    const Language language = data.language;
    const int pages = layout.Paint(pdf, painter, data.fileName, [language](int page, int count) {
        return WordOf(Word::Page, language).arg(page).arg(count);
    });
    if (!painter.end())
        fail();
    return pages;
}

int WriteReport(const ReportData& data, const QString& fileName) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw InOutError(WordOf(Word::WriteFailed, data.language).arg(fileName).toStdString());
    const int pages = WriteReport(data, file, fileName);
    if (!file.commit())
        throw InOutError(WordOf(Word::WriteFailed, data.language).arg(fileName).toStdString());
    return pages;
}

} // namespace velkor::report
