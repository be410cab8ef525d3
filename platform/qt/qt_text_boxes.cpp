#include "platform/qt/qt_text_boxes.h"

#include "platform/qt/light_text_accessible.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QStyleOptionFrame>
#include <QTextBlock>
#include <QTextCursor>
#include <QValidator>
#include <QSignalBlocker>
#include <QKeyEvent>
#include <QMenu>
#include <algorithm>
#include <limits>
#include <map>

namespace ravelon::forms::qt {

namespace {

std::map<WindowHandle, ClipboardTarget*>& Handles()
{
    static std::map<WindowHandle, ClipboardTarget*> handles;
    return handles;
}

std::optional<std::u16string> ClipboardText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText()) return std::nullopt;
    return FromQString(data->text());
}

// The palette roles that stand for the system colours a BackColor may name.
QPalette::ColorRole RoleOfSystemColour(std::uint32_t index)
{
    switch (index) {
        case 5: return QPalette::Base;        // COLOR_WINDOW: the background of text boxes
        case 8: return QPalette::Text;        // COLOR_WINDOWTEXT
        case 10: return QPalette::Window;     // COLOR_ACTIVEBORDER: the frame around active windows
        case 13: return QPalette::Highlight;  // COLOR_HIGHLIGHT
        case 15: return QPalette::Button;     // COLOR_BTNFACE
        case 18: return QPalette::ButtonText;
        case 24: return QPalette::ToolTipBase;
        default: return QPalette::Window;
    }
}


// The same, walking back from the end of text[0, i).
std::size_t UnitsOfDocumentCharBefore(const std::u16string& text, std::size_t i)
{
    return i >= 2 && text[i - 2] == u'\r' && text[i - 1] == u'\n' ? 2 : 1;
}

// What the document holds for text[from, to): every break one separator.
std::u16string AsInDocument(const std::u16string& text, std::size_t from, std::size_t to)
{
    std::u16string shown;
    for (std::size_t i = from; i < to; i += UnitsOfDocumentChar(text, i)) shown += IsBlockBreak(text[i]) ? u'\x2029' : text[i];
    return shown;
}

// A paste's first line, as the platform's single-line box keeps it.
class FirstLineOfPaste final : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& cursor) const override
    {
        const auto isBreak = [](QChar c) { return c == u'\r' || c == u'\n'; };
        const auto firstBreak = std::find_if(input.cbegin(), input.cend(), isBreak);
        if (firstBreak == input.cend()) return Acceptable;
        // The box never holds a break, so this one came with the text just
        // inserted, which ends at the cursor: the rest of that text goes.
        const auto at = static_cast<int>(firstBreak - input.cbegin());
        input = input.left(at) + (cursor > at ? input.mid(cursor) : QString());
        cursor = at;
        return Acceptable;
    }
};

}  // namespace

namespace {
std::size_t g_lightTextFrom = 32768;
}  // namespace

std::size_t LightTextFrom() { return g_lightTextFrom; }
void SetLightTextFrom(std::size_t units) { g_lightTextFrom = units; }

// Routes a box's input to its LightText while that shows the text.
template <class Base>
class LightRouting : public Base {
public:
    using Base::Base;
    LightText* light = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (!light) return Base::keyPressEvent(event);
        if (!light->Key(event)) event->ignore();
    }
    void mousePressEvent(QMouseEvent* event) override { light ? light->MousePress(event) : Base::mousePressEvent(event); }
    void mouseMoveEvent(QMouseEvent* event) override { light ? light->MouseMove(event) : Base::mouseMoveEvent(event); }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (!light) Base::mouseReleaseEvent(event);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override { light ? light->MouseDoubleClick(event) : Base::mouseDoubleClickEvent(event); }
    void wheelEvent(QWheelEvent* event) override { light ? light->Wheel(event) : Base::wheelEvent(event); }
    void inputMethodEvent(QInputMethodEvent* event) override { light ? light->InputMethod(event) : Base::inputMethodEvent(event); }
    void contextMenuEvent(QContextMenuEvent* event) override { light ? light->ContextMenu(event) : Base::contextMenuEvent(event); }
    void focusInEvent(QFocusEvent* event) override
    {
        Base::focusInEvent(event);
        if (light) light->FocusChanged();
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        Base::focusOutEvent(event);
        if (light) light->FocusChanged();
    }
};

WindowHandle RegisterHandle(ClipboardTarget* target)
{
    static WindowHandle next = 0x10010;
    const WindowHandle handle = next;
    next += 0x10;
    Handles()[handle] = target;
    return handle;
}

void UnregisterHandle(WindowHandle handle) { Handles().erase(handle); }

ClipboardTarget* TargetOf(WindowHandle handle)
{
    const auto it = Handles().find(handle);
    return it == Handles().end() ? nullptr : it->second;
}

QColor Resolve(Colour colour)
{
    if (IsSystemColour(colour)) return QApplication::palette().color(QPalette::Active, RoleOfSystemColour(SystemColourIndex(colour)));
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>(colour >> 8 & 0xFF), static_cast<int>(colour >> 16 & 0xFF));
}

// ---- LineTextBox ----

class AddressEdit final : public LightRouting<QLineEdit> {
public:
    AddressEdit(QWidget* parent, LineTextBox& box) : LightRouting(parent), box_(box) {}

    // Where the line edit puts its text, with nothing scrolled.
    LightText::Placement TextPlacement() const
    {
        QStyleOptionFrame panel;
        initStyleOption(&panel);
        const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this).marginsRemoved(textMargins());
        constexpr int kHorizontalMargin = 2;
        const QFontMetrics metrics = fontMetrics();
        const QRect line(contents.x() + kHorizontalMargin, contents.y() + (contents.height() - metrics.height() + 1) / 2,
                         contents.width() - 2 * kHorizontalMargin, metrics.height());
        return {contents, QPointF(line.topLeft()), static_cast<qreal>(line.width()), static_cast<qreal>(metrics.ascent())};
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
    }

    void contextMenuEvent(QContextMenuEvent* event) override
    {
        if (light) return LightRouting::contextMenuEvent(event);
        const std::unique_ptr<QMenu> menu(createStandardContextMenu());
        for (QAction* action : menu->actions()) {
            if (action->objectName() != QStringLiteral("edit-paste")) continue;
            action->disconnect();
            QObject::connect(action, &QAction::triggered, this, [this] { box_.PasteClipboard(); });
        }
        menu->exec(event->globalPos());
    }

private:
    LineTextBox& box_;
};

LineTextBox::LineTextBox(QWidget* parent) : edit_(new AddressEdit(parent, *this)), handle_(RegisterHandle(this))
{
    LightTextAccessible::Install();
    edit_->setMaxLength(std::numeric_limits<int>::max());
    edit_->setValidator(new FirstLineOfPaste(edit_));
    QObject::connect(edit_, &QLineEdit::textChanged, edit_, [this] {
        if (onChange && !Ended() && !light_) onChange();
    });
}

// The line edit belongs to the window, which outlives the box.
LineTextBox::~LineTextBox()
{
    edit_->light = nullptr;
    UnregisterHandle(handle_);
}

QLineEdit* LineTextBox::widget() { return edit_; }

void LineTextBox::ShowLight(bool light)
{
    if (light == (light_ != nullptr)) return;
    if (light) {
        light_ = std::make_unique<LightText>(*edit_, *edit_, exact_, true);
        light_->edited = [this] {
            if (onChange && !Ended()) onChange();
        };
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

std::u16string LineTextBox::Text() const { return light_ ? exact_ : FromQString(edit_->text()); }

void LineTextBox::SetText(std::u16string_view text)
{
    if (text.size() >= LightTextFrom()) {
        const bool changed = Text() != text;
        ShowLight(true);
        exact_ = text;
        light_->Reset();
        if (changed && onChange && !Ended()) onChange();
        return;
    }
    if (light_) {
        ShowLight(false);
        if (!text.empty() && onChange && !Ended()) onChange();  // the line edit was already empty
    }
    edit_->setText(ToQString(text));
}
bool LineTextBox::Enabled() const { return edit_->isEnabled(); }
void LineTextBox::SetEnabled(bool enabled) { edit_->setEnabled(enabled); }

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
    edit_->setCursorPosition(static_cast<int>(std::min<std::size_t>(start, static_cast<std::size_t>(edit_->text().size()))));
}

std::size_t LineTextBox::SelLength() const { return light_ ? light_->SelLength() : static_cast<std::size_t>(edit_->selectionLength()); }

void LineTextBox::SetSelLength(std::size_t length)
{
    if (light_) return light_->Select(light_->SelStart(), light_->SelStart() + length);
    const int start = static_cast<int>(SelStart());
    const int available = static_cast<int>(edit_->text().size()) - start;
    edit_->setSelection(start, static_cast<int>(std::min<std::size_t>(length, static_cast<std::size_t>(available))));
}

void LineTextBox::SetFocus() { edit_->setFocus(Qt::OtherFocusReason); }
void LineTextBox::CopySelection() { light_ ? light_->CopySelection() : edit_->copy(); }

void LineTextBox::PasteClipboard()
{
    if (light_) return light_->PasteClipboard();
    const std::optional<std::u16string> pasted = ClipboardText();
    if (pasted && edit_->text().size() + static_cast<qsizetype>(pasted->size()) >= static_cast<qsizetype>(LightTextFrom())) {
        // Too big for the line edit: the light view takes over, then pastes.
        const int from = edit_->hasSelectedText() ? edit_->selectionStart() : edit_->cursorPosition();
        const int length = edit_->selectionLength();
        std::u16string text = FromQString(edit_->text());
        ShowLight(true);
        exact_ = std::move(text);
        light_->Reset();
        light_->Select(static_cast<std::size_t>(from), static_cast<std::size_t>(from + length));
        return light_->PasteClipboard();
    }
    edit_->paste();
}

// ---- MultiLineTextBox ----

class CodeEdit;

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
        if (light) return event->ignore();
        box_.Drop([&] { QPlainTextEdit::dropEvent(event); });
    }

private:
    MultiLineTextBox& box_;
};

LightText* LightTextOf(QWidget* box)
{
    if (auto* code = dynamic_cast<CodeEdit*>(box)) return code->light;
    if (auto* address = dynamic_cast<AddressEdit*>(box)) return address->light;
    return nullptr;
}

MultiLineTextBox::MultiLineTextBox(QWidget* parent) : edit_(new CodeEdit(parent, *this)), handle_(RegisterHandle(this))
{
    LightTextAccessible::Install();
    edit_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit_->setTabChangesFocus(true);
    ChooseWrapMode(u"");
    QObject::connect(edit_->document(), &QTextDocument::contentsChange, edit_, [this](int position, int removed, int added) {
        if (light_) return;
        const int redoSteps = edit_->document()->availableRedoSteps();
        const bool undone = redoSteps > redoSteps_, redone = redoSteps < redoSteps_;
        redoSteps_ = redoSteps;
        if (dropped_) {
            exact_ = std::move(*dropped_);
            dropped_.reset();
        } else if (!editing_ && !(undone && UndoToDocument()) && !(redone && RedoToDocument())) {
            ApplyDocumentChange(position, removed, added);
        }
    });
    QObject::connect(edit_->document(), &QTextDocument::contentsChanged, edit_, [this] {
        if (onChange && !Ended() && !light_) onChange();
    });
}

MultiLineTextBox::~MultiLineTextBox()
{
    edit_->light = nullptr;
    UnregisterHandle(handle_);
}

QPlainTextEdit* MultiLineTextBox::widget() { return edit_; }

std::u16string MultiLineTextBox::Text() const { return Exact(); }

std::size_t DocumentPosition(std::u16string_view text, std::size_t exact)
{
    std::size_t position = 0;
    for (std::size_t i = 0; i < exact && i < text.size(); i += UnitsOfDocumentChar(text, i)) ++position;
    return position;
}

std::size_t ExactPosition(std::u16string_view text, std::size_t document)
{
    std::size_t i = 0;
    for (std::size_t position = 0; position < document && i < text.size(); ++position) i += UnitsOfDocumentChar(text, i);
    return i;
}

QString AsDocumentText(std::u16string_view text, std::size_t from, std::size_t to)
{
    QString shown;
    shown.reserve(static_cast<qsizetype>(to - from));
    for (std::size_t i = from; i < to; i += UnitsOfDocumentChar(text, i)) shown += IsBlockBreak(text[i]) ? u'\n' : QChar(text[i]);
    return shown;
}

int MultiLineTextBox::ToDocument(std::size_t exactPosition) const { return static_cast<int>(DocumentPosition(Exact(), exactPosition)); }

std::size_t MultiLineTextBox::ToExact(int documentPosition) const
{
    return ExactPosition(Exact(), static_cast<std::size_t>(std::max(0, documentPosition)));
}

// The user changed the document (typing, deleting, cutting, dropping, undo):
// the same change is made to the exact text. Qt may report a wider range than
// what changed, so the part both sides agree on is left alone.
void MultiLineTextBox::ApplyDocumentChange(int position, int removed, int added)
{
    const int documentEnd = edit_->document()->characterCount() - 1;  // the last separator is implicit
    added = std::clamp(added, 0, std::max(0, documentEnd - position));
    std::size_t from = ToExact(position);
    std::size_t to = ToExact(position + removed);
    QTextCursor cursor(edit_->document());
    cursor.setPosition(position);
    cursor.setPosition(position + added, QTextCursor::KeepAnchor);
    const std::u16string now = FromQString(cursor.selectedText());
    const std::u16string before = AsInDocument(exact_, from, to);

    std::size_t head = 0, tail = 0;
    while (head < now.size() && head < before.size() && now[head] == before[head]) from += UnitsOfDocumentChar(exact_, from), ++head;
    while (tail < now.size() - head && tail < before.size() - head &&
           now[now.size() - 1 - tail] == before[before.size() - 1 - tail])
        to -= UnitsOfDocumentCharBefore(exact_, to), ++tail;

    std::u16string inserted;
    for (std::size_t i = head; i < now.size() - tail; ++i) {
        if (now[i] == 0x2029) inserted += u"\r\n";  // a typed line break, as on Windows
        else inserted += now[i];
    }
    history_.Record({from, exact_.substr(from, to - from), inserted});
    exact_.replace(from, to - from, inserted);
}

// A drop is one edit of the document: the dragged text leaves its place
// (when it moves within the box), then goes in at the drop's. The document
// reports the two as one change, after both, so the exact text is worked out
// here and taken over when that report comes.
void MultiLineTextBox::Drop(const std::function<void()>& drop)
{
    const QTextCursor dragged = edit_->textCursor();
    dragFrom_ = ToExact(dragged.selectionStart());
    dragTo_ = ToExact(dragged.selectionEnd());
    charactersBeforeDrop_ = edit_->document()->characterCount();
    dropping_ = true;
    drop();
    dropping_ = false;
    ChooseWrapMode(exact_);
    if (exact_.size() >= LightTextFrom()) {
        const std::size_t caret = ToExact(edit_->textCursor().position());
        ShowLight(true);
        light_->Reset();
        light_->Select(caret, caret);
        if (onChange && !Ended()) onChange();
    }
}

void MultiLineTextBox::InsertDropped(std::u16string_view text)
{
    std::u16string next = exact_;
    if (edit_->document()->characterCount() < charactersBeforeDrop_) {
        history_.Record({dragFrom_, next.substr(dragFrom_, dragTo_ - dragFrom_), {}});
        next.erase(dragFrom_, dragTo_ - dragFrom_);
    }
    QTextCursor cursor = edit_->textCursor();
    const std::size_t at = ExactPosition(next, static_cast<std::size_t>(cursor.position()));
    history_.Record({at, {}, std::u16string(text)});
    next.insert(at, text);
    dropped_ = std::move(next);
    cursor.insertText(ToQString(text));
    edit_->setTextCursor(cursor);
}

// The document's undo and redo give back its text with every line break as
// one separator; the exact text is taken back through its own history instead,
// as far as the document went.
EditHistory::Reached MultiLineTextBox::ShowsDocument() const
{
    return [shown = FromQString(edit_->document()->toRawText())](const std::u16string& text) {
        return AsInDocument(text, 0, text.size()) == shown;
    };
}

bool MultiLineTextBox::UndoToDocument() { return history_.UndoUntil(exact_, ShowsDocument()); }
bool MultiLineTextBox::RedoToDocument() { return history_.RedoUntil(exact_, ShowsDocument()); }

void MultiLineTextBox::ShowLight(bool light)
{
    if (light == (light_ != nullptr)) return;
    editing_ = true;
    if (light) {
        light_ = std::make_unique<LightText>(*edit_->viewport(), *edit_, exact_, false);
        light_->edited = [this] {
            if (onChange && !Ended()) onChange();
        };
        edit_->clear();  // the text edit lays out no more than nothing
        light_->Place(edit_->TextPlacement());
    } else {
        light_.reset();
    }
    edit_->light = light_.get();
    LightTextAccessible::Renew(edit_);
    editing_ = false;
    edit_->viewport()->update();
}

void MultiLineTextBox::Replace(int from, int to, std::u16string_view text)
{
    const std::size_t exactFrom = ToExact(from);
    const std::size_t exactTo = ToExact(to);
    history_.Record({exactFrom, exact_.substr(exactFrom, exactTo - exactFrom), std::u16string(text)});
    std::u16string next = Exact().substr(0, exactFrom);
    next += text;
    next += std::u16string_view(exact_).substr(exactTo);

    ChooseWrapMode(next);
    if (next.size() >= LightTextFrom()) {
        exact_ = std::move(next);
        ShowLight(true);
        light_->Reset();
        light_->Select(exactFrom + text.size(), exactFrom + text.size());
        if (onChange && !Ended()) onChange();
        return;
    }
    exact_ = std::move(next);
    editing_ = true;
    QTextCursor cursor = edit_->textCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    cursor.insertText(ToQString(text));
    edit_->setTextCursor(cursor);
    editing_ = false;
}

void MultiLineTextBox::SetText(std::u16string_view text)
{
    ChooseWrapMode(text);
    exact_ = text;
    history_.Clear();
    if (text.size() >= LightTextFrom()) {
        ShowLight(true);
        light_->Reset();
        if (onChange && !Ended()) onChange();
        return;
    }
    ShowLight(false);
    editing_ = true;
    edit_->setPlainText(ToQString(text));
    editing_ = false;
}

// Word wrap, except that a very long run without a break opportunity would
// take minutes to lay out that way; such a text breaks anywhere instead.
void MultiLineTextBox::ChooseWrapMode(std::u16string_view text)
{
    constexpr std::size_t kLongestWordToWrap = 4096;
    std::size_t run = 0, longest = 0;
    for (char16_t c : text) {
        run = (c == u' ' || c == u'\t' || IsBlockBreak(c) || c == 0x2028) ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    const QTextOption::WrapMode mode = longest > kLongestWordToWrap ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
    edit_->setWordWrapMode(mode);
    if (light_) light_->SetWrapMode(mode);
}

bool MultiLineTextBox::Enabled() const { return edit_->isEnabled(); }
void MultiLineTextBox::SetEnabled(bool enabled) { edit_->setEnabled(enabled); }

void MultiLineTextBox::SetBackColor(Colour colour)
{
    backColor_ = colour;
    ApplyBackColor();
}

void MultiLineTextBox::ApplyBackColor()
{
    QPalette palette = edit_->palette();
    const QColor colour = Resolve(backColor_);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) palette.setColor(group, QPalette::Base, colour);
    edit_->setPalette(palette);
}

std::size_t MultiLineTextBox::SelStart() const { return light_ ? light_->SelStart() : ToExact(edit_->textCursor().selectionStart()); }

std::size_t MultiLineTextBox::SelLength() const
{
    if (light_) return light_->SelLength();
    const QTextCursor cursor = edit_->textCursor();
    return ToExact(cursor.selectionEnd()) - ToExact(cursor.selectionStart());
}

void MultiLineTextBox::SetSelStart(std::size_t start)
{
    if (light_) return light_->Select(start, start);
    QTextCursor cursor = edit_->textCursor();
    cursor.setPosition(ToDocument(start));
    edit_->setTextCursor(cursor);
}

void MultiLineTextBox::SetSelLength(std::size_t length)
{
    if (light_) return light_->Select(light_->SelStart(), light_->SelStart() + length);
    QTextCursor cursor = edit_->textCursor();
    const int anchor = cursor.selectionStart();
    cursor.setPosition(anchor);
    cursor.setPosition(ToDocument(ToExact(anchor) + length), QTextCursor::KeepAnchor);
    edit_->setTextCursor(cursor);
}

void MultiLineTextBox::SetFocus() { edit_->setFocus(Qt::OtherFocusReason); }

void MultiLineTextBox::CopySelection()
{
    if (light_) return light_->CopySelection();
    if (SelLength() == 0) return;  // as a Windows edit control: the clipboard keeps what it had
    QGuiApplication::clipboard()->setText(
        ToQString(std::u16string_view(Exact()).substr(SelStart(), SelLength())));
}

void MultiLineTextBox::PasteClipboard()
{
    if (light_) return light_->PasteClipboard();
    const std::optional<std::u16string> text = ClipboardText();
    if (!text || text->empty()) return;
    const QTextCursor cursor = edit_->textCursor();
    Replace(cursor.selectionStart(), cursor.selectionEnd(), *text);
}

}  // namespace ravelon::forms::qt
