#include "app/report/ReportLayout.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <numeric>

namespace velkor::report {

namespace {

const QString FontFamily = QStringLiteral("Liberation Sans");
const QColor RuleColor(96, 96, 96);
const QColor HeaderFill(228, 228, 228);

QFont MakeFont(double points, bool bold) {
    QFont font(FontFamily);
    font.setPointSizeF(points);
    font.setBold(bold);
    // Kerning and hinting would make the text's placement depend on the font build.
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// The height of a line of text in `font`.
double LineHeight(const QFont& font) {
    return font.pointSizeF() * 1.5;
}

constexpr double FieldLabelWidth = 140;
constexpr double CellPadding = 3;

} // namespace

Pages Paginate(const std::vector<Block>& blocks, double top, double bottom) {
    Pages pages(1);
    double y = top;
    const int count = static_cast<int>(blocks.size());
    for (int i = 0; i < count; ++i) {
        const Block& b = blocks[i];
        // The height this block needs on the page: itself and those kept with it.
        double needed = b.spaceBefore + b.height;
        for (int k = i; k + 1 < count && blocks[k].keepWithNext; ++k)
            needed += blocks[k + 1].spaceBefore + blocks[k + 1].height;
        const bool atTop = pages.back().empty();
        if (!atTop && y + needed > bottom) {
            pages.emplace_back();
            y = top;
            if (b.header >= 0) {
                pages.back().push_back({b.header, y});
                y += blocks[b.header].height;
            }
        }
        if (!pages.back().empty())
            y += b.spaceBefore;
        pages.back().push_back({i, y});
        y += b.height;
    }
    return pages;
}

ReportLayout::ReportLayout()
    : body_(MakeFont(9, false)), bold_(MakeFont(9, true)), small_(MakeFont(7.5, false)),
      smallBold_(MakeFont(7.5, true)), heading_(MakeFont(12, true)), title_(MakeFont(16, true)) {}

void ReportLayout::Title(const QString& text) {
    QFont font = title_;
    // A long title wraps; about 50 characters of this size fill a line.
    const double lines = std::max<qsizetype>(1, (text.size() + 49) / 50);
    blocks_.push_back(
        {LineHeight(font) * lines, 0, true, -1, [font, text](QPainter& p, const QRectF& r) {
             p.setFont(font);
             p.setPen(Qt::black);
             p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, text);
         }});
}

void ReportLayout::Heading(const QString& text) {
    QFont font = heading_;
    blocks_.push_back(
        {LineHeight(font) + 4, 12, true, -1, [font, text](QPainter& p, const QRectF& r) {
             p.setFont(font);
             p.setPen(Qt::black);
             p.drawText(r.adjusted(0, 0, 0, -4), Qt::AlignLeft | Qt::AlignVCenter, text);
             p.setPen(QPen(RuleColor, 0.5));
             p.drawLine(QPointF(r.left(), r.bottom() - 2), QPointF(r.right(), r.bottom() - 2));
         }});
}

void ReportLayout::Line(const QString& text, const QColor& color, bool bold) {
    QFont font = bold ? bold_ : body_;
    blocks_.push_back(
        {LineHeight(font), 0, false, -1, [font, text, color](QPainter& p, const QRectF& r) {
             p.setFont(font);
             p.setPen(color);
             p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, text);
         }});
}

void ReportLayout::Field(const QString& label, const QString& value) {
    QFont font = body_, labelFont = bold_;
    blocks_.push_back({LineHeight(font), 0, false, -1,
                       [font, labelFont, label, value](QPainter& p, const QRectF& r) {
                           p.setPen(Qt::black);
                           p.setFont(labelFont);
                           p.drawText(QRectF(r.left(), r.top(), FieldLabelWidth, r.height()),
                                      Qt::AlignLeft | Qt::AlignVCenter, label);
                           p.setFont(font);
                           p.drawText(r.adjusted(FieldLabelWidth, 0, 0, 0),
                                      Qt::AlignLeft | Qt::AlignVCenter, value);
                       }});
}

void ReportLayout::Space(double points) {
    blocks_.push_back({points, 0, false, -1, {}});
}

void ReportLayout::Table(const std::vector<Column>& columns, const std::vector<Row>& rows) {
    const double total = std::accumulate(columns.begin(), columns.end(), 0.0,
                                         [](double sum, const Column& c) { return sum + c.width; });
    std::vector<double> widths;
    for (const Column& c : columns)
        widths.push_back(c.width / total * TextWidth);
    const double height = LineHeight(small_) + 2;
    auto paintRow = [columns, widths](QPainter& p, const QRectF& r, const Row& row,
                                      const QFont& font, const QFont& boldFont) {
        double x = r.left();
        for (std::size_t k = 0; k < columns.size() && k < row.size(); ++k) {
            const QRectF cell(x + CellPadding, r.top(), widths[k] - 2 * CellPadding, r.height());
            p.setFont(row[k].bold ? boldFont : font);
            p.setPen(row[k].color);
            p.drawText(cell, static_cast<int>(columns[k].align | Qt::AlignVCenter), row[k].text);
            x += widths[k];
        }
    };
    Row titles;
    for (const Column& c : columns)
        titles.push_back({c.title, Qt::black, true});
    const QFont font = small_, boldFont = smallBold_;
    const int header = static_cast<int>(blocks_.size());
    blocks_.push_back({height, 4, !rows.empty(), -1, [=](QPainter& p, const QRectF& r) {
                           p.fillRect(r, HeaderFill);
                           paintRow(p, r, titles, font, boldFont);
                       }});
    for (const Row& row : rows)
        blocks_.push_back({height, 0, false, header, [=](QPainter& p, const QRectF& r) {
                               paintRow(p, r, row, font, boldFont);
                               p.setPen(QPen(HeaderFill, 0.5));
                               p.drawLine(QPointF(r.left(), r.bottom()),
                                          QPointF(r.right(), r.bottom()));
                           }});
}

void ReportLayout::Picture(double height, std::function<void(QPainter&, const QRectF&)> paint) {
    blocks_.push_back({height, 6, false, -1, std::move(paint)});
}

void ReportLayout::Signatures(const QString& first, const QString& second,
                              const QStringList& lines) {
    const QFont font = body_, boldFont = bold_;
    const double row = 26;
    const double height = LineHeight(boldFont) + row * lines.size();
    blocks_.push_back({height, 12, false, -1, [=](QPainter& p, const QRectF& r) {
                           const double half = (r.width() - 30) / 2;
                           const QString titles[] = {first, second};
                           for (int k = 0; k < 2; ++k) {
                               const double x = r.left() + k * (half + 30);
                               p.setPen(Qt::black);
                               p.setFont(boldFont);
                               p.drawText(QRectF(x, r.top(), half, LineHeight(boldFont)),
                                          Qt::AlignLeft | Qt::AlignVCenter, titles[k]);
                               p.setFont(font);
                               for (int i = 0; i < lines.size(); ++i) {
                                   const double y = r.top() + LineHeight(boldFont) + row * (i + 1);
                                   p.drawText(QRectF(x, y - 14, 90, 12),
                                              Qt::AlignLeft | Qt::AlignBottom, lines[i] + u':');
                                   p.setPen(QPen(Qt::black, 0.5));
                                   p.drawLine(QPointF(x + 90, y), QPointF(x + half, y));
                               }
                           }
                       }});
}

int ReportLayout::Paint(QPagedPaintDevice& device, QPainter& painter, const QString& footerLeft,
                        const std::function<QString(int, int)>& pageText) const {
    const Pages pages = Paginate(blocks_, MarginTop, PageHeight - MarginBottom);
    const int count = static_cast<int>(pages.size());
    const double footerTop = PageHeight - MarginBottom + 18;
    for (int n = 0; n < count; ++n) {
        if (n > 0)
            device.newPage();
        for (const Placed& placed : pages[n]) {
            const Block& b = blocks_[placed.block];
            if (b.paint) {
                painter.save();
                b.paint(painter, QRectF(MarginLeft, placed.y, TextWidth, b.height));
                painter.restore();
            }
        }
        painter.setPen(QPen(RuleColor, 0.5));
        painter.drawLine(QPointF(MarginLeft, footerTop),
                         QPointF(PageWidth - MarginRight, footerTop));
        painter.setPen(Qt::black);
        painter.setFont(small_);
        const QRectF footer(MarginLeft, footerTop + 2, TextWidth, LineHeight(small_));
        painter.drawText(footer, Qt::AlignLeft | Qt::AlignVCenter, footerLeft);
        painter.drawText(footer, Qt::AlignRight | Qt::AlignVCenter, pageText(n + 1, count));
    }
    return count;
}

} // namespace velkor::report
