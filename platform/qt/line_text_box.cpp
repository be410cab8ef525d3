#include "platform/qt/line_text_box.h"

#include <QMenu>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyleOptionFrame>
#include <QValidator>
#include <algorithm>
#include <limits>
#include <vector>

#include "platform/line_breaks.h"
#include "platform/qt/edit_menu.h"
#include "platform/qt/light_routing.h"
#include "platform/qt/light_text_accessible.h"
#include "platform/qt/qt_strings.h"

namespace ravelon::forms::qt {

namespace {

// What the address box takes: a paste's first line, as the platform's
// single-line box keeps it, and a caret within the text, on a whole character.
class AddressInput final : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& cursor) const override
    {
        // The line edit's redo puts the caret where its record of the next
        // step says, one unit into that step's text (or before what its
        // Backspace took): where that text was typed or pasted at the end,
        // past the end, and what is typed next would go in after a space;
        // where it was a surrogate pair, between its halves, which what is
        // typed next would split.
        const std::u16string_view text(reinterpret_cast<const char16_t*>(input.utf16()),
                                       static_cast<std::size_t>(input.size()));
        cursor = static_cast<int>(CaretWithin(text, static_cast<std::size_t>(cursor)));
        const auto at = static_cast<int>(FirstLine(text).size());
        if (at == input.size()) return Acceptable;
        // The box never holds a break, so this one came with the text just
        // inserted, which ends at the cursor: the rest of that text goes.
        input = input.left(at) + (cursor > at ? input.mid(cursor) : QString());
        cursor = at;
        return Acceptable;
    }
};

// The line edit ends an undo step where its caret moves, and where it is
// cleared; replacing a selection ends one too.
void EndUndoStep(QLineEdit& edit)
{
    if (edit.hasSelectedText()) return;
    if (edit.text().isEmpty()) return edit.clear();
    const int at = edit.cursorPosition();
    edit.setCursorPosition(at > 0 ? at - 1 : at + 1);
    edit.setCursorPosition(at);
}

}  // namespace

class AddressEdit final : public LightRouting<QLineEdit> {
public:
    AddressEdit(QWidget* parent, LineTextBox& box) : LightRouting(parent), box_(box) {}

    // Where the line edit puts its text, with nothing scrolled.
    LightText::Placement TextPlacement() const
    {
        QStyleOptionFrame panel;
        initStyleOption(&panel);
        const QRect contents =
            style()->subElementRect(QStyle::SE_LineEditContents, &panel, this).marginsRemoved(textMargins());
        constexpr int kHorizontalMargin = 2;
        const QFontMetrics metrics = fontMetrics();
        const QRect line(contents.x() + kHorizontalMargin,
                         contents.y() + (contents.height() - metrics.height() + 1) / 2,
                         contents.width() - 2 * kHorizontalMargin, metrics.height());
        return {contents, QPointF(line.topLeft()), static_cast<qreal>(line.width()),
                static_cast<qreal>(metrics.ascent())};
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        if (!light) return QLineEdit::paintEvent(event);
        QPainter painter(this);
        QStyleOptionFrame panel;
        initStyleOption(&panel);
        style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
        light->Paint(painter, event->rect());
    }

    void resizeEvent(QResizeEvent* event) override
    {
        QLineEdit::resizeEvent(event);
        if (light) light->Place(TextPlacement());
    }

    // Every paste goes through the box, which hands a big text to LightText.
    void keyPressEvent(QKeyEvent* event) override
    {
        if (!light && event->matches(QKeySequence::Paste) && !isReadOnly()) return box_.PasteClipboard();
        LightRouting::keyPressEvent(event);
        if (!light) DropStrayRedoneSelection();
    }

    void contextMenuEvent(QContextMenuEvent* event) override
    {
        if (light) return LightRouting::contextMenuEvent(event);
        const std::unique_ptr<QMenu> menu(createStandardContextMenu());
        if (QAction* paste = FindEditActions(*menu).paste) {
            paste->disconnect();
            QObject::connect(paste, &QAction::triggered, this, [this] { box_.PasteClipboard(); });
        }
        menu->exec(event->globalPos());
        DropStrayRedoneSelection();
    }

private:
    // The line edit's redo of a deleted selection that held one unit, the
    // caret at its start, leaves a selection from before the text's start
    // (selectionStart() is -1; hidden while the text is empty), which what
    // is typed next would replace: nothing is selected after that deletion.
    void DropStrayRedoneSelection()
    {
        if (text().isEmpty() || (hasSelectedText() && selectionStart() < 0)) deselect();
    }

    LineTextBox& box_;
};

LineTextBox::LineTextBox(QWidget* parent)
    : QtTextBox(new AddressEdit(parent, *this)), edit_(static_cast<AddressEdit*>(widget_))
{
    LightTextAccessible::Install();
    edit_->setMaxLength(std::numeric_limits<int>::max());
    edit_->setValidator(new AddressInput(edit_));
    QObject::connect(edit_, &QLineEdit::textChanged, edit_, [this] {
        if (!light_) Changed();
    });
}

// The line edit belongs to the window, which outlives the box.
LineTextBox::~LineTextBox()
{
    edit_->light = nullptr;
}

QLineEdit* LineTextBox::widget()
{
    return edit_;
}

void LineTextBox::ShowLight(bool light)
{
    if (light == (light_ != nullptr)) return;
    if (light) {
        light_ = std::make_unique<LightText>(*edit_, *edit_, exact_, true);
        light_->edited = [this] { Changed(); };
        light_->Place(edit_->TextPlacement());
        const QSignalBlocker quiet(edit_);
        edit_->clear();  // the line edit lays out no more than nothing
    } else {
        light_.reset();
        exact_.clear();
    }
    edit_->light = light_.get();
    LightTextAccessible::Renew(edit_);
    edit_->update();
}

std::u16string LineTextBox::Text() const
{
    return light_ ? exact_ : FromQString(edit_->text());
}

void LineTextBox::SetText(std::u16string_view text)
{
    if (text.size() >= LightTextFrom()) {
        const bool changed = Text() != text;
        ShowLight(true);
        exact_ = text;
        light_->Reset();
        if (changed) Changed();
        return;
    }
    if (light_) {
        ShowLight(false);
        if (!text.empty()) Changed();  // the line edit was already empty
    }
    edit_->setText(ToQString(text));
}
void LineTextBox::SetBackColor(Colour colour)
{
    backColor_ = colour;
    QPalette palette = edit_->palette();
    palette.setColor(QPalette::Base, Resolve(colour));
    edit_->setPalette(palette);
}

std::size_t LineTextBox::SelStart() const
{
    if (light_) return light_->SelStart();
    return static_cast<std::size_t>(edit_->hasSelectedText() ? edit_->selectionStart() : edit_->cursorPosition());
}

void LineTextBox::SetSelStart(std::size_t start)
{
    if (light_) return light_->Select(start, start);
    edit_->setCursorPosition(
        static_cast<int>(std::min<std::size_t>(start, static_cast<std::size_t>(edit_->text().size()))));
}

std::size_t LineTextBox::SelLength() const
{
    return light_ ? light_->SelLength() : static_cast<std::size_t>(edit_->selectionLength());
}

void LineTextBox::SetSelLength(std::size_t length)
{
    if (light_) return light_->Select(light_->SelStart(), light_->SelStart() + length);
    const int start = static_cast<int>(SelStart());
    const int available = static_cast<int>(edit_->text().size()) - start;
    edit_->setSelection(start, static_cast<int>(std::min<std::size_t>(length, static_cast<std::size_t>(available))));
}

void LineTextBox::CopySelection()
{
    light_ ? light_->CopySelection() : edit_->copy();
}

// The line edit's undo steps as LightText keeps them, found by undoing them
// all and redoing them again, unheard: each step takes the text from one
// state the line edit's undo leaves to the next, and puts back its caret and
// selection when undone.
EditHistory LineTextBox::UndoSteps()
{
    struct State {
        std::u16string text;
        int anchor, caret;
    };
    const auto now = [this] {
        const int caret = edit_->cursorPosition();
        const int anchor = !edit_->hasSelectedText()          ? caret
                           : caret == edit_->selectionStart() ? edit_->selectionEnd()
                                                              : edit_->selectionStart();
        return State{FromQString(edit_->text()), anchor, caret};
    };
    const QSignalBlocker quiet(edit_);
    std::vector<State> states{now()};
    while (edit_->isUndoAvailable()) {
        edit_->undo();
        states.push_back(now());
    }
    while (edit_->isRedoAvailable()) edit_->redo();
    edit_->setSelection(states.front().anchor, states.front().caret - states.front().anchor);

    EditHistory history;
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        const std::u16string& before = states[i].text;
        const std::u16string& after = states[i - 1].text;
        std::size_t head = 0, tail = 0;
        while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
        while (tail < before.size() - head && tail < after.size() - head &&
               before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
            ++tail;
        const std::size_t inserted = after.size() - head - tail;
        EditHistory::Change undo{head, before.substr(head, before.size() - head - tail), inserted};
        undo.selection =
            std::make_pair(static_cast<std::size_t>(states[i].anchor), static_cast<std::size_t>(states[i].caret));
        history.Record(std::move(undo), std::u16string_view(after).substr(head, inserted), EditHistory::Joins::kNever);
    }
    return history;
}

void LineTextBox::PasteClipboard()
{
    if (light_) return light_->PasteClipboard();
    const std::optional<std::u16string> pasted = ClipboardText();
    if (pasted &&
        edit_->text().size() + static_cast<qsizetype>(pasted->size()) >= static_cast<qsizetype>(LightTextFrom())) {
        // Too big for the line edit: the light view takes over, then pastes.
        const int from = edit_->hasSelectedText() ? edit_->selectionStart() : edit_->cursorPosition();
        const int length = edit_->selectionLength();
        std::u16string text = FromQString(edit_->text());
        EditHistory history = UndoSteps();
        ShowLight(true);
        exact_ = std::move(text);
        light_->Reset();
        light_->TakeHistory(std::move(history));
        light_->Select(static_cast<std::size_t>(from), static_cast<std::size_t>(from + length));
        return light_->PasteClipboard();
    }
    if (!pasted) return;
    // Lines after the first are left out by inserting the first alone: cut
    // by the validator, the paste would take the line edit's undo history.
    // Inserted, it is an undo step of its own, as a paste is.
    const std::u16string_view first = FirstLine(*pasted);
    if (first.size() == pasted->size()) return edit_->paste();
    EndUndoStep(*edit_);
    edit_->insert(ToQString(first));
    EndUndoStep(*edit_);
}

}  // namespace ravelon::forms::qt
