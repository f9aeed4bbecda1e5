#pragma once
// The report's page layout: a flow of blocks (lines of text, tables, the chart, the signature
// fields) measured once, broken into A4 pages, then painted with a footer on every page. Units
// are points (a 72 dpi device). A table row never splits, a heading stays with what follows it,
// and a table's header row is repeated on each page it continues on.

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <functional>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace velkor::report {

struct Column {
    QString title;
    double width = 1; // share of the text width
    Qt::Alignment align = Qt::AlignLeft;
};

struct Cell {
    QString text;
    QColor color = Qt::black;
    bool bold = false;
};

using Row = std::vector<Cell>;

struct Block {
    double height = 0;
    double spaceBefore = 0; // left out at the top of a page
    bool keepWithNext = false;
    int header = -1; // the block to repeat before this one at the top of a page
    std::function<void(QPainter&, const QRectF&)> paint;
};

// Which blocks go on which page, and where: the y of each block's top.
struct Placed {
    int block = 0;
    double y = 0;
};
using Pages = std::vector<std::vector<Placed>>;
Pages Paginate(const std::vector<Block>& blocks, double top, double bottom);

class ReportLayout {
public:
    ReportLayout();

    void Title(const QString& text);
    void Heading(const QString& text);
    void Line(const QString& text, const QColor& color = Qt::black, bool bold = false);
    // A label and its value on one line, the values of consecutive lines aligned.
    void Field(const QString& label, const QString& value);
    void Space(double points);
    void Table(const std::vector<Column>& columns, const std::vector<Row>& rows);
    // A block of `height` points over the text width that `paint` fills.
    void Picture(double height, std::function<void(QPainter&, const QRectF&)> paint);
    // Side by side, one field per title, each with a line for name, date and signature.
    void Signatures(const QString& first, const QString& second, const QStringList& lines);

    // Paints every page on `device` (A4 portrait, 72 dpi, already begun by `painter`) with a
    // footer: `footerLeft` on the left, `pageText(page, pages)` on the right. Returns the
    // number of pages.
    int Paint(QPagedPaintDevice& device, QPainter& painter, const QString& footerLeft,
              const std::function<QString(int, int)>& pageText) const;

    static constexpr double PageWidth = 595.28, PageHeight = 841.89;
    static constexpr double MarginLeft = 45, MarginRight = 45, MarginTop = 42, MarginBottom = 60;
    static constexpr double TextWidth = PageWidth - MarginLeft - MarginRight;

private:
    QFont body_, bold_, small_, smallBold_, heading_, title_;
    std::vector<Block> blocks_;
};

} // namespace velkor::report
