#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <functional>
#include <optional>

#include "platform/forms.h"
#include "platform/qt/edit_history.h"
#include "platform/qt/light_text.h"

namespace ravelon::forms::qt {

inline QString ToQString(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

inline std::u16string FromQString(const QString& text)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}

// What SendMessageA does to a text box.
class ClipboardTarget {
public:
    virtual void CopySelection() = 0;
    virtual void PasteClipboard() = 0;

protected:
    ~ClipboardTarget() = default;
};

WindowHandle RegisterHandle(ClipboardTarget* target);
void UnregisterHandle(WindowHandle handle);
ClipboardTarget* TargetOf(WindowHandle handle);

bool Ended();

// Units a QTextDocument turns into a block separator.
inline bool IsBlockBreak(char16_t c) { return c == u'\r' || c == u'\n' || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1; }

// A carriage return and line feed are one separator in the document.
inline std::size_t UnitsOfDocumentChar(std::u16string_view text, std::size_t i)
{
    return text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
}

// Positions in a box's text as its QTextDocument counts them, and back.
std::size_t DocumentPosition(std::u16string_view text, std::size_t exact);
std::size_t ExactPosition(std::u16string_view text, std::size_t document);
// text[from, to) as the document tells it: each line break one '\n'.
QString AsDocumentText(std::u16string_view text, std::size_t from, std::size_t to);

// From how many code units on a box shows its text through LightText rather
// than the toolkit's own box, which lays the whole text out at every blink of
// the cursor. Tests lower it to compare the two.
std::size_t LightTextFrom();
void SetLightTextFrom(std::size_t units);

// The LightText showing a box's text, if one does.
LightText* LightTextOf(QWidget* box);

// The single-line box: a QLineEdit without its 32,767-character limit that,
// like the platform's single-line box, keeps only the first line of a paste.
class AddressEdit;

class LineTextBox final : public TextBox, public ClipboardTarget {
public:
    explicit LineTextBox(QWidget* parent);
    ~LineTextBox();
    QLineEdit* widget();

    std::u16string Text() const override;
    void SetText(std::u16string_view text) override;
    bool Enabled() const override;
    void SetEnabled(bool enabled) override;
    Colour BackColor() const override { return backColor_; }
    void SetBackColor(Colour colour) override;
    std::size_t SelStart() const override;
    void SetSelStart(std::size_t start) override;
    std::size_t SelLength() const override;
    void SetSelLength(std::size_t length) override;
    WindowHandle hWnd() const override { return handle_; }
    void SetFocus() override;

    void CopySelection() override;
    void PasteClipboard() override;

private:
    friend class AddressEdit;
    void ShowLight(bool light);

    AddressEdit* edit_;
    Colour backColor_ = 0x80000005u;
    WindowHandle handle_;
    std::u16string exact_;  // the text, while LightText shows it
    std::unique_ptr<LightText> light_;
};

// The multi-line box. QTextDocument keeps every kind of line break as one
// block separator, so the box also keeps the exact text it was given or
// pasted, and applies each of the user's edits to it: units the user did not
// touch stay as they were, and a typed line break is CR LF.
class CodeEdit;

class MultiLineTextBox final : public TextBox, public ClipboardTarget {
public:
    explicit MultiLineTextBox(QWidget* parent);
    ~MultiLineTextBox();
    QPlainTextEdit* widget();

    std::u16string Text() const override;
    void SetText(std::u16string_view text) override;
    bool Enabled() const override;
    void SetEnabled(bool enabled) override;
    Colour BackColor() const override { return backColor_; }
    void SetBackColor(Colour colour) override;
    std::size_t SelStart() const override;
    void SetSelStart(std::size_t start) override;
    std::size_t SelLength() const override;
    void SetSelLength(std::size_t length) override;
    WindowHandle hWnd() const override { return handle_; }
    void SetFocus() override;

    void CopySelection() override;
    void PasteClipboard() override;

private:
    friend class CodeEdit;
    const std::u16string& Exact() const { return exact_; }
    std::size_t ToExact(int documentPosition) const;
    int ToDocument(std::size_t exactPosition) const;
    void Replace(int from, int to, std::u16string_view text);
    void ApplyDocumentChange(int position, int removed, int added);
    void Drop(const std::function<void()>& drop);
    void InsertDropped(std::u16string_view text);
    EditHistory::Reached ShowsDocument() const;  // whether an exact text is what the document holds
    bool UndoToDocument();
    bool RedoToDocument();
    void ChooseWrapMode(std::u16string_view text);
    void ApplyBackColor();
    void ShowLight(bool light);

    CodeEdit* edit_;
    Colour backColor_ = 0x80000005u;
    WindowHandle handle_;
    std::u16string exact_;
    bool editing_ = false;
    bool dropping_ = false;
    std::size_t dragFrom_ = 0, dragTo_ = 0;
    int charactersBeforeDrop_ = 0;
    std::optional<std::u16string> dropped_;  // the exact text once the drop is reported
    EditHistory history_;
    int redoSteps_ = 0;  // the document's, after its last change
    std::unique_ptr<LightText> light_;
};

// The colour a BackColor value paints in now.
QColor Resolve(Colour colour);

}  // namespace ravelon::forms::qt
