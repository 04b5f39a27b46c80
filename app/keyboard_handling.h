// The window's keyboard handling: sees every key press of the application before
// any widget does, so Escape closes the window whichever control has the focus,
// also while the open list of the drop-down box holds the keyboard.
#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

class KeyboardHandling : public QObject {
public:
    explicit KeyboardHandling(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool BelongsToWindow(QObject* watched) const;

    QPointer<QWidget> window_;
};
