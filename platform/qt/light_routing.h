#pragma once

#include <QContextMenuEvent>
#include <QDragLeaveEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QWheelEvent>
#include <memory>

#include "platform/qt/light_text.h"

namespace ravelon::forms::qt {

// Where a box keeps the LightText that shows its text, if one does.
class LightHolder {
public:
    LightText* light = nullptr;

protected:
    ~LightHolder() = default;
};

// The LightText showing a box's text, if one does.
inline LightText* LightTextOf(QObject* box)
{
    auto* holder = dynamic_cast<LightHolder*>(box);
    return holder ? holder->light : nullptr;
}

// Routes a box's input to its LightText while that shows the text.
template <class Base>
class LightRouting : public Base, public LightHolder {
public:
    using Base::Base;
    using LightHolder::light;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (!light) return Base::keyPressEvent(event);
        if (!light->Key(event)) event->ignore();
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        light ? light->MousePress(event) : Base::mousePressEvent(event);
    }
    void mouseMoveEvent(QMouseEvent* event) override { light ? light->MouseMove(event) : Base::mouseMoveEvent(event); }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        light ? light->MouseRelease(event) : Base::mouseReleaseEvent(event);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        light ? light->MouseDoubleClick(event) : Base::mouseDoubleClickEvent(event);
    }
    void wheelEvent(QWheelEvent* event) override { light ? light->Wheel(event) : Base::wheelEvent(event); }
    void dragEnterEvent(QDragEnterEvent* event) override
    {
        light ? static_cast<void>(light->DragMove(event)) : Base::dragEnterEvent(event);
    }
    void dragMoveEvent(QDragMoveEvent* event) override
    {
        light ? static_cast<void>(light->DragMove(event)) : Base::dragMoveEvent(event);
    }
    void dragLeaveEvent(QDragLeaveEvent* event) override { light ? light->DragLeave() : Base::dragLeaveEvent(event); }
    void dropEvent(QDropEvent* event) override { light ? light->Drop(event) : Base::dropEvent(event); }
    void inputMethodEvent(QInputMethodEvent* event) override
    {
        light ? light->InputMethod(event) : Base::inputMethodEvent(event);
    }
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override
    {
        const QVariant own = Base::inputMethodQuery(query);
        return light ? light->InputMethodQuery(query, own) : own;
    }
    void contextMenuEvent(QContextMenuEvent* event) override
    {
        if (!light) return Base::contextMenuEvent(event);
        const std::unique_ptr<QMenu> menu(Base::createStandardContextMenu());
        light->ContextMenu(event, *menu);
    }
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

}  // namespace ravelon::forms::qt
