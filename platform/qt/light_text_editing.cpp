#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QWidget>
#include <algorithm>

#include "platform/qt/edit_menu.h"
#include "platform/qt/light_text.h"
#include "platform/qt/qt_strings.h"

namespace ravelon::forms::qt {

// ---- Where keys take the caret ----

std::size_t LightText::Step(std::size_t position, bool forward) const
{
    if (forward) {
        if (position >= text_.size()) return text_.size();
        if (const std::size_t lineBreak = BreakAt(text_, position)) return position + lineBreak;
        return position + (QChar::isHighSurrogate(text_[position]) && position + 1 < text_.size() &&
                                   QChar::isLowSurrogate(text_[position + 1])
                               ? 2
                               : 1);
    }
    if (position == 0) return 0;
    if (const std::size_t lineBreak = BreakBefore(text_, position)) return position - lineBreak;
    return position -
           (position >= 2 && QChar::isLowSurrogate(text_[position - 1]) && QChar::isHighSurrogate(text_[position - 2])
                ? 2
                : 1);
}

// Where the toolkit's cursor goes from `position` by a character (a whole
// grapheme cluster) or a word: its paragraph's layout finds the boundary, and
// from a paragraph's end or start the cursor goes over the line break.
std::size_t LightText::CursorStep(std::size_t position, bool forward, QTextLayout::CursorMode mode) const
{
    if (forward) {
        if (position >= text_.size()) return text_.size();
        if (const std::size_t lineBreak = BreakAt(text_, position)) return position + lineBreak;
    } else {
        if (position == 0) return 0;
        if (const std::size_t lineBreak = BreakBefore(text_, position)) return position - lineBreak;
    }
    // Boundaries are found within a reach of the position, inside its paragraph.
    constexpr std::size_t kReach = 512;
    std::size_t from = position - std::min(position, kReach), to = std::min(text_.size(), position + kReach);
    for (std::size_t i = position; i > from; --i)
        if (IsLineBreak(text_[i - 1])) from = i;
    for (std::size_t i = position; i < to; ++i)
        if (IsLineBreak(text_[i])) to = i;
    QTextLayout layout(Slice(text_, from, to), widget_.font());
    const int at = static_cast<int>(position - from);
    const int next = forward ? layout.nextCursorPosition(at, mode) : layout.previousCursorPosition(at, mode);
    return from + static_cast<std::size_t>(next);
}

// The place `lines` lines away, or none when there is no such line. As the
// toolkit's box: a selection is taken to the text's start or end instead.
std::optional<std::size_t> LightText::VerticalMove(std::size_t position, int lines, bool select)
{
    const std::size_t from = lines_.LineOf(position);
    if (caretX_ < 0) caretX_ = lines_.LayOut(from).CursorToX(static_cast<int>(position - lines_.Start(from)));
    std::size_t to = from;
    if (lines < 0) to = from - std::min(from, static_cast<std::size_t>(-lines));
    for (int i = 0; i < lines && lines_.Exists(to + 1); ++i) ++to;
    if (to == from) {
        if (!select) return std::nullopt;
        caretX_ = -1;
        return lines < 0 ? 0 : text_.size();
    }
    return PositionOnLine(to, caretX_);
}

// ---- Edits ----

void LightText::Replace(std::size_t from, std::size_t to, std::u16string_view text, Joins joins)
{
    if (singleLine_) text = FirstLine(text);  // as the line edit
    from = std::min(from, text_.size());
    to = std::clamp(to, from, text_.size());
    if (from == to && text.empty()) return EnsureCaretVisible();  // as the text edit after any edit key
    const bool replacesSelection = SelLength() > 0 && from == SelStart() && to == SelStart() + SelLength();
    const auto selection = std::make_pair(anchor_, caret_);
    if (singleLine_ && replacesSelection && text.empty()) joins = Joins::kTakesNext;
    if (singleLine_ && replacesSelection) history_.StopJoining();  // the line edit ends typing before a selection goes
    const std::optional<EditHistory::Selection> mark =
        singleLine_ ? std::optional(LineEditMark(from, to, text.empty(), replacesSelection)) : std::nullopt;
    EditHistory::Change undo = Apply(from, to - from, text);
    if (singleLine_ && replacesSelection) undo.selection = selection;
    if (singleLine_ && !replacesSelection && text.empty() && from == selection.second)
        undo.selection = std::make_pair(from, from);  // Delete is undone with the caret before what comes back
    history_.Record(std::move(undo), text, joins, mark);
}

// Where the line edit's mark before an edit puts the caret and selection
// back on a redo up to it: the selection the edit replaces, or the caret
// as it stood after the edit's first unit (one unit into what is put in,
// at the place of what is taken out).
EditHistory::Selection LightText::LineEditMark(std::size_t from, std::size_t to, bool removes,
                                               bool replacesSelection) const
{
    if (replacesSelection) return {anchor_, caret_};
    std::size_t caret = from + 1;
    if (removes) caret = to == caret_ ? to - 1 : from;  // Backspace, or Delete
    return {caret, caret};
}

EditHistory::Change LightText::Apply(std::size_t at, std::size_t replaces, std::u16string_view text,
                                     const std::vector<StoreRun>& stored)
{
    const KeptTop keptTop = KeepTop(at);
    EditHistory::Change undo{at, text_.substr(at, replaces), text.size()};
    if (!singleLine_) {
        undo.stored = store_.Remove(at, replaces);
        store_.Insert(at, text, stored);
    }
    text_.replace(at, replaces, text);
    positions_.Edited(at, replaces, text.size());
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent event(&box_, Told(at), Told(undo.text), Told(text));
        QAccessible::updateAccessibility(&event);
    }
    lines_.Edited(at, replaces, text.size());
    PutBackTop(keptTop, at);
    // What was clicked twice or thrice is kept over edits, as the text edit keeps a cursor.
    for (auto* clicked : {&wordClicked_, &paragraphsClicked_}) {
        if (!*clicked) continue;
        const auto moved = [&](std::size_t p) {
            if (p > at + replaces)
                p -= replaces;
            else if (p > at)
                p = at;
            return p >= at ? p + text.size() : p;
        };
        **clicked = std::make_pair(moved((*clicked)->first), moved((*clicked)->second));
        if ((*clicked)->first == (*clicked)->second) clicked->reset();
    }
    caretX_ = -1;
    // The text edit's caret goes through what is put in, though it may end
    // where it was: a page move after it measures its height anew.
    if (!text.empty()) pageCaretY_.reset();
    MoveCaret(at + text.size(), false);
    KeepViewFilled();
    if (edited) edited();
    return undo;
}

// Undo and Redo bring the caret into view as the text edit's do, even with
// nothing to take back.
void LightText::Undo()
{
    history_.Undo([this](const EditHistory::Change& change) {
        EditHistory::Change redo = Apply(change.at, change.replaces, change.text, change.stored);
        if (change.selection) Select(change.selection->first, change.selection->second);
        redo.selection = change.selection;  // for when it is undone again
        return redo;
    });
    RevealCaret();
}

void LightText::Redo()
{
    const std::optional<EditHistory::Selection> mark = history_.Redo([this](const EditHistory::Change& change) {
        EditHistory::Change undo = Apply(change.at, change.replaces, change.text, change.stored);
        undo.selection = change.selection;
        return undo;
    });
    if (mark)
        Select(CaretWithin(text_, mark->first),
               CaretWithin(text_, mark->second));  // as the address box keeps the line edit's
    RevealCaret();
}

void LightText::CopySelection() const
{
    if (SelLength() == 0) return;  // the clipboard keeps what it had
    QGuiApplication::clipboard()->setText(Slice(text_, SelStart(), SelStart() + SelLength()));
}

void LightText::OfferSelection() const
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (SelLength() > 0 && clipboard->supportsSelection())
        clipboard->setText(Slice(text_, SelStart(), SelStart() + SelLength()), QClipboard::Selection);
}

void LightText::PasteClipboard()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText()) return;
    const QString text = data->text();
    std::u16string_view pasted(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
    if (pasted.empty()) return;
    // The line edit undoes a paste alone, the text edit with the typing it follows.
    Replace(SelStart(), SelStart() + SelLength(), pasted, singleLine_ ? Joins::kNever : Joins::kAsTyping);
}

// A key moves the caret, and so ends the line edit's typing.
void LightText::KeyMovesCaret(std::size_t to, bool select)
{
    if (singleLine_ && to != caret_) history_.StopJoining();
    MoveCaret(to, select);
}

// The line edit selects all by moving its caret from the start to the end,
// which ends its typing.
void LightText::EndTypingOnSelectingAll()
{
    if (singleLine_ && !text_.empty()) history_.StopJoining();
}

void LightText::SelectAll()
{
    EndTypingOnSelectingAll();
    anchor_ = 0;  // as the toolkit's box: selecting all scrolls nothing
    caret_ = text_.size();
    caretX_ = -1;
    widget_.update();
}

bool LightText::Key(QKeyEvent* event)
{
    const std::size_t end = text_.size();
    // Left and Right end a selection at its edge in the text edit; the line
    // edit moves on from the caret.
    const auto collapses = [&] { return SelLength() && !event->modifiers() && !singleLine_; };
    struct Move {
        QKeySequence::StandardKey move, select;
        std::function<std::optional<std::size_t>(bool select)> to;
        bool vertical = false;
    };
    // Right goes on in the text, and Left back, but in a right-to-left paragraph.
    const bool rightGoesOn = lines_.Direction(caret_) == Qt::LeftToRight;
    const auto byCharacter = [&](bool on) {
        return collapses() ? (on ? SelStart() + SelLength() : SelStart()) : CursorStep(caret_, on);
    };
    const Move moves[] = {
        {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar, [&](bool) { return byCharacter(rightGoesOn); }},
        {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar,
         [&](bool) { return byCharacter(!rightGoesOn); }},
        {QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord,
         [&](bool) { return CursorStep(caret_, rightGoesOn, QTextLayout::SkipWords); }},
        {QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord,
         [&](bool) { return CursorStep(caret_, !rightGoesOn, QTextLayout::SkipWords); }},
        {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine,
         [&](bool select) { return VerticalMove(caret_, 1, select); }, true},
        {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine,
         [&](bool select) { return VerticalMove(caret_, -1, select); }, true},
        {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine,
         [&](bool) { return singleLine_ ? 0 : lines_.Start(lines_.LineOf(caret_)); }},
        {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine,
         [&](bool) { return singleLine_ ? end : EndOfLine(lines_.LineOf(caret_)); }},
        {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument, [](bool) { return std::size_t{0}; }},
        {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument, [&](bool) { return end; }},
    };
    for (const Move& move : moves) {
        const bool select = event->matches(move.select);
        if (!select && !event->matches(move.move)) continue;
        const bool document =
            move.move == QKeySequence::MoveToStartOfDocument || move.move == QKeySequence::MoveToEndOfDocument;
        if ((move.vertical || document) && singleLine_) return false;  // as the line edit: a single line has no lines
        const std::optional<std::size_t> to = move.to(select);
        if (!move.vertical) caretX_ = -1;
        if (to)
            KeyMovesCaret(*to, select);
        else
            RevealCaret();  // as the text edit after any key it takes
        if (select) OfferSelection();
        return true;
    }
    for (const int direction : {1, -1}) {
        const bool select =
            event->matches(direction > 0 ? QKeySequence::SelectNextPage : QKeySequence::SelectPreviousPage);
        if (!select && !event->matches(direction > 0 ? QKeySequence::MoveToNextPage : QKeySequence::MoveToPreviousPage))
            continue;
        if (singleLine_) return false;
        PageMove(direction, select);
        return true;
    }
    // A line edit deletes its selection and the word beyond it; a text edit
    // only the selection, if there is one.
    const auto deleteTo = [&](std::size_t to, Joins joins, bool word = false) {
        if (word && singleLine_) {  // the line edit selects on to the word's end, then deletes the selection
            if (anchor_ == to) return MoveCaret(to, false);
            KeyMovesCaret(to, true);
            Replace(SelStart(), SelStart() + SelLength(), u"");
        } else if (SelLength() == 0) {
            if (anchor_ == to) return MoveCaret(to, false);
            Replace(std::min(anchor_, to), std::max(anchor_, to), u"", joins);
        } else
            Replace(SelStart(), SelStart() + SelLength(), u"");
    };
    if (event->matches(QKeySequence::SelectAll)) {
        SelectAll();
    } else if (event->matches(QKeySequence::Copy)) {
        CopySelection();
    } else if (event->matches(QKeySequence::Cut)) {
        CopySelection();
        Replace(SelStart(), SelStart() + SelLength(), u"");
    } else if (event->matches(QKeySequence::Paste)) {
        PasteClipboard();
    } else if (event->matches(QKeySequence::Undo)) {
        Undo();
    } else if (event->matches(QKeySequence::Redo)) {
        Redo();
    } else if (event->matches(QKeySequence::DeleteStartOfWord)) {
        caretX_ = -1;  // as Backspace, and Delete of a word below, even with nothing to delete
        deleteTo(CursorStep(caret_, false, QTextLayout::SkipWords), Joins::kNever, true);
    } else if (event->matches(QKeySequence::DeleteEndOfWord)) {
        caretX_ = -1;
        const std::size_t to = CursorStep(caret_, true, QTextLayout::SkipWords);
        // The line edit, left nothing selected by the move, deletes the character after it.
        if (singleLine_ && SelLength() > 0 && anchor_ == to) {
            KeyMovesCaret(to, false);
            if (to < text_.size()) Replace(to, CursorStep(to, true), u"", Joins::kDeletesForward);
        } else
            deleteTo(to, Joins::kNever, true);
    } else if (event->key() == Qt::Key_Backspace && !(event->modifiers() & Qt::ControlModifier)) {
        caretX_ = -1;  // the text edit takes the caret's place across anew, whatever Backspace deletes
        deleteTo(Step(caret_, false), singleLine_ ? Joins::kBackspaces : Joins::kAsTyping);  // one unit, not a cluster
    } else if (event->matches(QKeySequence::Delete)) {
        caretX_ = -1;  // as Backspace: even with nothing after the caret to delete
        deleteTo(CursorStep(caret_, true), singleLine_ ? Joins::kDeletesForward : Joins::kAsTyping);
    } else if (event->matches(QKeySequence::InsertParagraphSeparator)) {
        if (singleLine_) return false;
        // The text edit's document undoes a line break typed with the caret
        // in an empty paragraph in two steps, the first of them changing no
        // text and leaving the caret after the paragraph (the selection)
        // ends in; over a selection, in three, the second also changing no
        // text and leaving the caret where the text the selection starts
        // with ends in the paragraph and in the document's store (after the
        // paragraph's break, if it starts there), and its redo the caret at
        // the selection's end.
        const bool emptyParagraph = (caret_ == 0 || IsParagraphBreak(text_[caret_ - 1])) &&
                                    (caret_ == text_.size() || IsParagraphBreak(text_[caret_]));
        const std::size_t from = SelStart(), to = SelStart() + SelLength();
        if (emptyParagraph) {
            const auto paragraphEnd = [&](std::size_t p) { return ParagraphAround(text_, p).second; };
            const auto after = [&](std::size_t lineBreak) { return lineBreak + BreakAt(text_, lineBreak); };
            history_.Record({after(paragraphEnd(to)), {}, 0}, {}, Joins::kNever);
            const std::size_t startsEnd = std::min(paragraphEnd(from), store_.RunEnd(from));
            const std::size_t undoneTo = startsEnd == from ? after(from) : startsEnd;
            if (from < to) history_.Record({to, {}, 0, std::make_pair(undoneTo, undoneTo)}, {}, Joins::kNever);
        }
        Replace(from, to, u"\r\n");  // a typed line break, as on Windows
    } else if (event->matches(QKeySequence::InsertLineSeparator)) {
        if (singleLine_) return false;
        Replace(SelStart(), SelStart() + SelLength(), u"\u2028", Joins::kAsTyping);
    } else {
        const QString typed = event->text();
        const bool printable = !typed.isEmpty() && std::all_of(typed.begin(), typed.end(),
                                                               [](QChar c) { return c.isPrint() || c.isSurrogate(); });
        if (!printable || event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return false;
        Replace(SelStart(), SelStart() + SelLength(), FromQString(typed), Joins::kAsTyping);
    }
    return true;
}

// The toolkit's own menu, its actions doing here what they do in its boxes.
void LightText::ContextMenu(QContextMenuEvent* event, QMenu& menu)
{
    const EditMenuActions actions = FindEditActions(menu);
    const bool selection = SelLength() > 0;
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    const bool pastable =
        singleLine_ ? !QGuiApplication::clipboard()->text().isEmpty()
                    : clipboard && ((clipboard->hasText() && !clipboard->text().isEmpty()) || clipboard->hasHtml());
    const bool allSelected = SelLength() == text_.size();
    const auto takeOver = [this](QAction* action, bool enabled, std::function<void()> run) {
        if (!action) return;
        action->disconnect();
        action->setEnabled(enabled);
        QObject::connect(action, &QAction::triggered, &widget_, std::move(run));
    };
    takeOver(actions.undo, history_.CanUndo(), [this] { Undo(); });
    takeOver(actions.redo, history_.CanRedo(), [this] { Redo(); });
    takeOver(actions.cut, selection, [this] {
        CopySelection();
        Replace(SelStart(), SelStart() + SelLength(), u"");
    });
    takeOver(actions.copy, selection, [this] { CopySelection(); });
    takeOver(actions.paste, pastable, [this] { PasteClipboard(); });
    takeOver(actions.remove, selection, [this] {
        Replace(SelStart(), SelStart() + SelLength(), u"");
        history_.StopJoining();  // the line edit's menu ends the typing there, which the Delete key leaves open
    });
    takeOver(actions.selectAll, !text_.empty() && !(singleLine_ && allSelected), [this] { SelectAll(); });
    menu.exec(event->globalPos());
}

}  // namespace ravelon::forms::qt
