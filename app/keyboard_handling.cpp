#include "app/keyboard_handling.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

KeyboardHandling::KeyboardHandling(QWidget* window) : QObject(window), window_(window)
{
    qApp->installEventFilter(this);
}

bool KeyboardHandling::BelongsToWindow(QObject* watched) const
{
    // Popups such as the drop-down's list are windows of their own whose parent
    // chain still leads to the main window.
    for (auto* widget = qobject_cast<QWidget*>(watched); widget; widget = widget->parentWidget()) {
        if (widget == window_) return true;
    }
    return false;
}

bool KeyboardHandling::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !window_ || !BelongsToWindow(watched)) return false;

    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers held =
        key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    if (key->key() == Qt::Key_Escape && held == Qt::NoModifier) {
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        window_->close();
        return true;
    }
    // Tab and Shift+Tab follow the window's tab order through Qt's focus chain;
    // every other key goes to the focused control.
    return false;
}
