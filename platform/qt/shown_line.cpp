#include "platform/qt/shown_line.h"

#include <QChar>
#include <QPainter>
#include <QRectF>
#include <algorithm>

#include "platform/line_breaks.h"

namespace ravelon::forms::qt {

namespace {

// The lines of context lie this far above and below the line shown.
constexpr qreal kContextAway = 1e7;

char32_t CodePointAt(std::u16string_view text, std::size_t& i)
{
    const char16_t c = text[i];
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1]))
        return QChar::surrogateToUcs4(c, text[++i]);
    return c;
}

}  // namespace

ShownLine::ShownLine(const QString& text, const QFont& font, Qt::LayoutDirection direction, const LineContext& context,
                     const Preedit* preedit, int preeditAt, LineRoom room)
    : layout_(std::make_unique<QTextLayout>(context.before + text + context.after, font)),
      before_(static_cast<int>(context.before.size())),
      margin_(room.width > 0 ? room.margin : 0)
{
    const bool alone = context.before.isEmpty() && context.after.isEmpty();
    QTextOption option;
    option.setWrapMode(alone ? QTextOption::ManualWrap : QTextOption::WrapAnywhere);
    option.setTextDirection(direction);
    layout_->setTextOption(option);
    int length = static_cast<int>(text.size());
    if (preedit) {
        layout_->setPreeditArea(before_ + preeditAt, preedit->text);
        QList<QTextLayout::FormatRange> formats = preedit->formats;
        for (QTextLayout::FormatRange& format : formats) format.start += before_ + preeditAt;
        layout_->setFormats(formats);
        length += static_cast<int>(preedit->text.size());
    }
    const auto addLine = [&](int columns, qreal y) {
        QTextLine line = layout_->createLine();
        if (!line.isValid()) return;
        if (!alone) line.setNumColumns(columns);
        else if (room.width > 0 && direction == Qt::LeftToRight) line.setLineWidth(room.width);  // breaks only where told
        line.setPosition(QPointF(margin_, y));
    };
    layout_->beginLayout();
    if (before_ > 0) addLine(before_, -kContextAway);
    addLine(length, 0);
    if (!context.after.isEmpty()) addLine(static_cast<int>(context.after.size()), kContextAway);
    layout_->endLayout();
}

int ShownLine::XToCursor(qreal x) const
{
    return std::max(0, Line().xToCursor(x + margin_) - before_);
}

void ShownLine::Draw(QPainter* painter, QPointF at, QList<QTextLayout::FormatRange> selections,
                     const QRectF& clip) const
{
    for (QTextLayout::FormatRange& selection : selections) selection.start += before_;
    layout_->draw(painter, at - QPointF(margin_, 0), selections, clip);  // the context's lines lie outside any clip
}

void ShownLine::DrawCursor(QPainter* painter, QPointF at, int position, int width) const
{
    layout_->drawCursor(painter, at - QPointF(margin_, 0), position + before_, width);
}

Qt::LayoutDirection ParagraphDirection(std::u16string_view text, std::size_t from)
{
    int isolates = 0;
    for (std::size_t i = from; i < text.size() && !IsParagraphBreak(text[i]); ++i) {
        switch (QChar::direction(CodePointAt(text, i))) {
            case QChar::DirLRI:
            case QChar::DirRLI:
            case QChar::DirFSI:
                ++isolates;
                break;
            case QChar::DirPDI:
                if (isolates > 0) --isolates;
                break;
            case QChar::DirL:
                if (isolates == 0) return Qt::LeftToRight;
                break;
            case QChar::DirR:
            case QChar::DirAL:
                if (isolates == 0) return Qt::RightToLeft;
                break;
            default:
                break;
        }
    }
    return Qt::LeftToRight;
}

bool HasRightToLeft(std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] < 0x590) continue;
        switch (QChar::direction(CodePointAt(text, i))) {
            case QChar::DirR:
            case QChar::DirAL:
            case QChar::DirAN:
            case QChar::DirRLE:
            case QChar::DirRLO:
            case QChar::DirRLI:
            case QChar::DirFSI:
                return true;
            default:
                break;
        }
    }
    return false;
}

}  // namespace ravelon::forms::qt
