#pragma once

// The widget of the multi-line box: a plain text edit framed as the line edit
// is, whose keyboard copy, paste and drops take the box's exact path.

#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStyleOptionFrame>
#include <QTextBlock>
#include <QTextCursor>

#include "platform/qt/light_routing.h"
#include "platform/qt/multi_line_text_box.h"
#include "platform/qt/qt_strings.h"

namespace ravelon::forms::qt {

class CodeEdit final : public LightRouting<QPlainTextEdit> {
public:
    // Framed as the single-line box is, so that both boxes look alike at any
    // scale (a text edit's own frame leaves a gap at fractional scales).
    CodeEdit(QWidget* parent, MultiLineTextBox& box) : LightRouting(parent), box_(box)
    {
        setFrameStyle(QFrame::NoFrame);
        QStyleOptionFrame frame = FrameOption();
        const int width = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, this);
        setViewportMargins(width, width, width, width);
    }

    // Where the text edit puts its first line, in the viewport, and how wide
    // its lines may be: read off the (empty) document's first line.
    LightText::Placement TextPlacement()
    {
        const QTextBlock block = document()->firstBlock();
        const QRectF box = blockBoundingGeometry(block).translated(contentOffset());
        const QTextLine line = block.layout()->lineCount() > 0 ? block.layout()->lineAt(0) : QTextLine();
        const QPointF at = line.isValid() ? line.position() : QPointF(document()->documentMargin(), 0);
        const qreal width = line.isValid() ? line.width() : viewport()->width() - 2 * document()->documentMargin();
        return {viewport()->rect(), box.topLeft() + at, width, 0};
    }

protected:
    bool viewportEvent(QEvent* event) override
    {
        if (light && event->type() == QEvent::Paint) {
            QPainter painter(viewport());
            light->Paint(painter, static_cast<QPaintEvent*>(event)->rect());
            return true;
        }
        const bool handled = QPlainTextEdit::viewportEvent(event);
        if (light && event->type() == QEvent::Resize) light->Place(TextPlacement());
        return handled;
    }

    bool event(QEvent* event) override
    {
        if (event->type() != QEvent::Paint) return QPlainTextEdit::event(event);
        QPainter painter(this);
        const QStyleOptionFrame frame = FrameOption();
        style()->drawPrimitive(QStyle::PE_PanelLineEdit, &frame, &painter, this);
        return true;
    }

    QStyleOptionFrame FrameOption() const
    {
        QStyleOptionFrame frame;
        frame.initFrom(this);
        frame.rect = rect();
        frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, this);
        frame.midLineWidth = 0;
        frame.state |= QStyle::State_Sunken;
        return frame;
    }

    // The keyboard's copy and paste take the same exact path as WM_COPY and WM_PASTE.
    QMimeData* createMimeDataFromSelection() const override
    {
        auto* mime = new QMimeData;
        const std::size_t start = box_.SelStart();
        mime->setText(ToQString(std::u16string_view(box_.Exact()).substr(start, box_.SelLength())));
        return mime;
    }

    void insertFromMimeData(const QMimeData* source) override
    {
        if (!source->hasText()) return;
        if (box_.dropping_) return box_.InsertDropped(FromQString(source->text()));
        const QTextCursor cursor = textCursor();
        box_.Replace(cursor.selectionStart(), cursor.selectionEnd(), FromQString(source->text()));
    }

    void dropEvent(QDropEvent* event) override
    {
        if (light) return LightRouting::dropEvent(event);
        box_.Drop([&] { QPlainTextEdit::dropEvent(event); });
    }

private:
    MultiLineTextBox& box_;
};

}  // namespace ravelon::forms::qt
