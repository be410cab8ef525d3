#pragma once

#include <QLineEdit>

#include "platform/edit_history.h"
#include "platform/qt/qt_text_box.h"

namespace ravelon::forms::qt {

// The single-line box: a QLineEdit without its 32,767-character limit that,
// like the platform's single-line box, keeps only the first line of a paste.
class AddressEdit;

class LineTextBox final : public QtTextBox {
public:
    explicit LineTextBox(QWidget* parent);
    ~LineTextBox();
    QLineEdit* widget();

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
    friend class AddressEdit;
    void ShowLight(bool light);
    EditHistory UndoSteps();

    AddressEdit* const edit_;  // exact_ holds the text while LightText shows it
};

}  // namespace ravelon::forms::qt
