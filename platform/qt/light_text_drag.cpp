// The big-text view and drag and drop: a press in the selection may drag it
// away, and text dragged from anywhere drops at the pointer, as in the
// toolkit's boxes.

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>
#include <memory>

#include "platform/qt/light_text.h"
#include "platform/qt/qt_strings.h"

namespace ravelon::forms::qt {

void LightText::MightDrag(QPointF at)
{
    dragFrom_ = at;
}

void LightText::StartDragFarEnough(QPointF at)
{
    if ((at - *dragFrom_).manhattanLength() <= QApplication::startDragDistance()) return;
    dragFrom_.reset();
    const std::size_t from = SelStart(), to = SelStart() + SelLength();
    auto* drag = new QDrag(&widget_);
    auto* mime = new QMimeData;
    mime->setText(Slice(text_, from, to));
    drag->setMimeData(mime);
    // The drag runs a loop of its own, in which anything may happen to the box.
    const std::weak_ptr<bool> alive = alive_;
    const Qt::DropAction done = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    if (alive.expired()) return;
    const bool droppedHere = drag->target() == &widget_ || drag->target() == &box_;
    // Moved elsewhere: the text leaves this box, unless the box was changed meanwhile.
    if (done == Qt::MoveAction && !droppedHere && to <= text_.size() && SelStart() == from && SelLength() == to - from)
        Replace(from, to, u"");
}

void LightText::ReleaseWithoutDrag(QPointF at)
{
    dragFrom_.reset();
    caretX_ = -1;
    MoveCaret(PositionAt(at), false, false);  // the text edit's release leaves the view where it is
}

bool LightText::DragMove(QDropEvent* event)
{
    if (!widget_.isEnabled() || !event->mimeData()->hasText()) {
        event->ignore();
        return false;
    }
    dropCaret_ = PositionAt(event->position());
    widget_.update();
    event->acceptProposedAction();
    return true;
}

void LightText::DragLeave()
{
    dropCaret_.reset();
    widget_.update();
}

// Text moved within the box leaves its place and comes in at the pointer as
// one edit, undone whole; text from elsewhere, or copied, comes in there.
void LightText::Drop(QDropEvent* event)
{
    dropCaret_.reset();
    if (!DragMove(event)) return;
    std::u16string dropped = FromQString(event->mimeData()->text());
    if (singleLine_) dropped = FirstLine(dropped);
    const std::size_t at = PositionAt(event->position());
    const bool fromHere = event->source() == &widget_;
    const std::size_t from = SelStart(), to = SelStart() + SelLength();
    if (!fromHere || event->dropAction() != Qt::MoveAction) {
        Replace(at, at, dropped);
        if (singleLine_ && fromHere) Select(at, at + dropped.size());  // the line edit selects a copy it drops
        return;
    }
    std::u16string moved;
    std::size_t spanFrom = from, spanTo = to;
    if (at < from) {
        spanFrom = at;
        moved = dropped + text_.substr(at, from - at);
    } else if (at > to) {
        spanTo = at;
        moved = text_.substr(to, at - to) + dropped;
    } else {
        moved = dropped;
    }
    Replace(spanFrom, spanTo, moved);
    const std::size_t landed = at < from ? at : at > to ? at - dropped.size() : from;
    if (singleLine_)
        Select(landed, landed + dropped.size());
    else
        MoveCaret(landed + dropped.size(), false);
}

}  // namespace ravelon::forms::qt
