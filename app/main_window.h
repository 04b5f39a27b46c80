// The program's one window: seven controls built from the window description,
// property access for the commands, and the outer size kept at 567x189.
#pragma once

#include <QWidget>
#include <array>

#include "app/control_properties.h"
#include "app/event_delivery.h"

class MainWindow : public QWidget, public PropertyAccess {
    Q_OBJECT
public:
    // Builds the window and its controls, hidden, and delivers the created event.
    explicit MainWindow(std::span<const HandlerBinding> handlers = MainWindowHandlers());

    PropertyValue ReadProperty(ControlName control, int number) const override;
    void WriteProperty(ControlName control, int number, const PropertyValue& value) override;

    QWidget* Control(ControlName name) const { return controls_[static_cast<std::size_t>(name)]; }

    // The client size that gives the outer size of the description with the
    // frame that the window manager reports (none before the window is mapped).
    QSize ClientSizeForOuterSize() const;

protected:
    bool event(QEvent* event) override;

private:
    QWidget* CreateControl(const struct ControlDescription& description);
    void ApplyTabOrder();
    void KeepOuterSize();

    EventDelivery delivery_;
    std::array<QWidget*, 7> controls_{};
};

// Builds the main window, shows and activates it. The window deletes itself when
// closed. Returns null when it cannot be created.
MainWindow* CreateMainWindow();

// The handler of the window's created event: the window needs nothing more.
void OnMainWindowCreated(PropertyAccess& window);
