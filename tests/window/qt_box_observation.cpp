#include "tests/window/qt_box_observation.h"

#include <QAccessible>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <sstream>

#include "platform/qt/qt_text_boxes.h"
#include "tests/window/qt_box_actions.h"

namespace ravelon::testing {

using forms::ExactPosition;
using forms::qt::LightTextOf;

std::string Describe(const Observed& o)
{
    std::ostringstream out;
    out << "text '" << QString::fromUtf16(o.text.data(), static_cast<qsizetype>(o.text.size())).toStdString()
        << "' anchor " << o.anchor << " caret " << o.caret << " first in view " << o.firstInView << " focused "
        << o.focused << " | told caret " << o.toldCaret << " selection " << o.toldSelectionStart << '-'
        << o.toldSelectionEnd << " line '" << o.toldLine.toStdString() << "' before '" << o.toldLineBefore.toStdString()
        << "' after '" << o.toldLineAfter.toStdString() << "' character '" << o.toldCharacter.toStdString() << "' menu "
        << o.menu.toStdString() << " input method " << o.inputMethodCaret << '|' << o.inputMethodAnchor << '|'
        << o.inputMethodAround.toStdString() << '|' << o.inputMethod.toStdString() << " caret top "
        << o.inputMethodCaretTop;
    return out.str();
}

constexpr QPointF kTopLeftInView(6, 4);

Observed Observe(QWidget* box, forms::TextBox& control)
{
    Observed o;
    o.menu = TakeMenuShown();
    o.inputMethodCaret = box->inputMethodQuery(Qt::ImCursorPosition).toInt();
    o.inputMethodAnchor = box->inputMethodQuery(Qt::ImAnchorPosition).toInt();
    o.inputMethodAround = box->inputMethodQuery(Qt::ImSurroundingText).toString();
    for (const auto query : {Qt::ImCurrentSelection, Qt::ImCursorRectangle}) {
        const QVariant value = box->inputMethodQuery(query);
        const QRect rect = value.toRect();
        // Where a caret out of view is placed, to the pixel, no input method minds; a caret
        // less than a pixel above the view is in it, its top compared to a pixel either way.
        QWidget* view = qobject_cast<QPlainTextEdit*>(box) ? qobject_cast<QPlainTextEdit*>(box)->viewport() : box;
        const bool inView = rect.y() >= -1 && rect.y() < view->height();
        if (query != Qt::ImCursorRectangle)
            o.inputMethod += value.toString();
        else if (!inView)
            o.inputMethod += rect.y() < 0 ? QStringLiteral("above the view") : QStringLiteral("below the view");
        else
            o.inputMethod += QStringLiteral("x %1, %2x%3").arg(rect.x()).arg(rect.width()).arg(rect.height());
        if (query == Qt::ImCursorRectangle && inView) o.inputMethodCaretTop = rect.y();
        o.inputMethod += u'|';
    }
    o.text = control.Text();
    o.focused = box->hasFocus();
    if (forms::qt::LightText* light = LightTextOf(box)) {
        o.caret = light->Caret();
        o.anchor = light->SelStart() == o.caret ? light->SelStart() + light->SelLength() : light->SelStart();
        if (auto* edit = qobject_cast<QPlainTextEdit*>(box))
            o.firstInView =
                light->LineAround(light->PositionAt(kTopLeftInView + QPointF(edit->viewport()->rect().topLeft())))
                    .first;
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(box)) {
        const QTextCursor cursor = edit->textCursor();
        o.caret = ExactPosition(o.text, static_cast<std::size_t>(cursor.position()));
        o.anchor = ExactPosition(o.text, static_cast<std::size_t>(cursor.anchor()));
        QTextCursor top = edit->cursorForPosition(kTopLeftInView.toPoint());
        top.movePosition(QTextCursor::StartOfLine);
        o.firstInView = ExactPosition(o.text, static_cast<std::size_t>(top.position()));
    } else if (auto* line = qobject_cast<QLineEdit*>(box)) {
        o.caret = static_cast<std::size_t>(line->cursorPosition());
        const auto start = static_cast<std::size_t>(line->selectionStart());
        const auto length = static_cast<std::size_t>(line->selectionLength());
        o.anchor = !line->hasSelectedText() ? o.caret : o.caret == start ? start + length : start;
    }
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(box);
    QAccessibleTextInterface* text = accessible ? accessible->textInterface() : nullptr;
    if (text) {
        o.told = text->text(0, text->characterCount());
        o.toldCaret = text->cursorPosition();
        if (text->selectionCount() > 0) text->selection(0, &o.toldSelectionStart, &o.toldSelectionEnd);
        int start = 0, end = 0;
        // While an input method composes, the toolkit's box counts the composition into
        // where its line ends, as the text it is not yet: lines are compared without one.
        if (box->property("ravelon_composing").toBool()) return o;
        o.toldLine = text->textAtOffset(o.toldCaret, QAccessible::LineBoundary, &start, &end);
        // The line edit's own account hangs when asked for words at the text's end.
        if (!qobject_cast<QPlainTextEdit*>(box)) return o;
        // The toolkit's box tells its line again for the lines before and after
        // the first: its account of the line next to this one stands for them.
        int lineStart = 0, lineEnd = 0;
        text->textAtOffset(o.toldCaret, QAccessible::LineBoundary, &lineStart, &lineEnd);
        if (LightTextOf(box)) {
            o.toldLineBefore = text->textBeforeOffset(o.toldCaret, QAccessible::LineBoundary, &start, &end);
            o.toldLineAfter = text->textAfterOffset(o.toldCaret, QAccessible::LineBoundary, &start, &end);
        } else {
            if (lineStart > 0)
                o.toldLineBefore = text->textAtOffset(lineStart - 1, QAccessible::LineBoundary, &start, &end);
            if (lineEnd < text->characterCount())
                o.toldLineAfter = text->textAtOffset(lineEnd + 1, QAccessible::LineBoundary, &start, &end);
        }
        o.toldCharacter = text->textAtOffset(o.toldCaret, QAccessible::CharBoundary, &start, &end);
        if (!LightTextOf(box)) return o;
        // The toolkit's box finds words and sentences through its own cursor, where it may stop
        // otherwise: of a big box's answers, only that they come is checked.
        for (auto kind : {QAccessible::WordBoundary, QAccessible::SentenceBoundary}) {
            text->textAtOffset(o.toldCaret, kind, &start, &end);
            text->textBeforeOffset(o.toldCaret, kind, &start, &end);
            text->textAfterOffset(o.toldCaret, kind, &start, &end);
        }
    }
    return o;
}

}  // namespace ravelon::testing
