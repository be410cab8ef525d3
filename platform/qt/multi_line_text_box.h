#pragma once

#include <QPlainTextEdit>
#include <functional>
#include <optional>

#include "platform/edit_history.h"
#include "platform/qt/qt_text_box.h"

namespace ravelon::forms::qt {

// The multi-line box. QTextDocument keeps every kind of line break as one
// block separator, so the box also keeps the exact text it was given or
// pasted, and applies each of the user's edits to it: units the user did not
// touch stay as they were, and a typed line break is CR LF.
class CodeEdit;

class MultiLineTextBox final : public QtTextBox {
public:
    explicit MultiLineTextBox(QWidget* parent);
    ~MultiLineTextBox();
    QPlainTextEdit* widget();

    std::u16string Text() const override;
    void SetText(std::u16string_view text) override;
    void SetBackColor(Colour colour) override;
    std::size_t SelStart() const override;
    void SetSelStart(std::size_t start) override;
    std::size_t SelLength() const override;
    void SetSelLength(std::size_t length) override;

    void CopySelection() override;
    void PasteClipboard() override;

private:
    friend class CodeEdit;
    const std::u16string& Exact() const { return exact_; }
    std::size_t ToExact(int documentPosition) const;
    int ToDocument(std::size_t exactPosition) const;
    void Replace(int from, int to, std::u16string_view text);
    void ApplyDocumentChange(int position, int removed, int added);
    struct Edit {
        std::size_t from, to;  // what was replaced, in the exact text
    };
    // Where the document's change of [position, position + removed) into `now`
    // was made at the caret; then `now` is cut to what came in.
    std::optional<Edit> EditAtCaret(int position, int removed, std::u16string& now) const;
    void Drop(const std::function<void()>& drop);
    void InsertDropped(std::u16string_view text);
    EditHistory::Change ApplyToExact(const EditHistory::Change& change);
    bool UndoToDocument();
    bool RedoToDocument();
    void ChooseWrapMode(std::u16string_view text);
    void ApplyBackColor();
    void ShowLight(bool light);
    void HandOverToLight(std::size_t caret, std::size_t firstShown);
    std::size_t FirstShown() const;

    CodeEdit* const edit_;
    bool editing_ = false;
    bool dropping_ = false;
    std::size_t dragFrom_ = 0, dragTo_ = 0;
    int charactersBeforeDrop_ = 0;
    std::optional<std::u16string> dropped_;  // the exact text once the drop is reported
    EditHistory history_;
    int undoSteps_ = 0, redoSteps_ = 0;       // the document's, after its last change
    std::pair<int, int> cursorBefore_{0, 0};  // the text edit's anchor and caret before its last change
};

}  // namespace ravelon::forms::qt
