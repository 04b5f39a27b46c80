#include "app/main_window.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "app/drop_down_rows.h"
#include "app/picture_box.h"
#include "app/window_description.h"
#include "app/x11_window_title.h"
#include "commands/commands.h"
#include "encoding/code_page.h"

void OnMainWindowCreated(PropertyAccess&)
{
}

std::span<const HandlerBinding> MainWindowHandlers()
{
    static const std::array<HandlerBinding, 3> table{{
        {std::nullopt, EventKind::Created, OnMainWindowCreated},
        {ControlName::按钮1, EventKind::Click, OnGenerateClicked},
        {ControlName::按钮2, EventKind::Click, OnSaveClicked},
    }};
    return table;
}

namespace {

constexpr Qt::WindowFlags kWindowFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                         Qt::WindowCloseButtonHint;

QFont LabelFont()
{
    // No family of its own: the platform picks its default face for the request.
    QFont font;
    font.setPixelSize(12);
    font.setWeight(QFont::Bold);
    return font;
}

// The edit box's text as GBK, "?" for characters that GBK cannot hold.
Text ToGbk(const QString& text)
{
    ByteSet wide;
    wide.reserve(2 * (static_cast<std::size_t>(text.size()) + 1));
    for (QChar unit : text) {
        wide.push_back(static_cast<std::uint8_t>(unit.unicode() & 0xFF));
        wide.push_back(static_cast<std::uint8_t>(unit.unicode() >> 8));
    }
    wide.insert(wide.end(), {0, 0});
    return WideToText(wide, 0);
}

QString FromGbk(const Text& text)
{
    const ByteSet wide = TextToWide(text, 0);
    QString result;
    for (std::size_t i = 0; i + 1 < wide.size(); i += 2) {
        const char16_t unit = static_cast<char16_t>(wide[i] | (wide[i + 1] << 8));
        if (unit == 0) break;
        result.append(QChar(unit));
    }
    return result;
}

}  // namespace

MainWindow::MainWindow(std::span<const HandlerBinding> handlers)
    : QWidget(nullptr, kWindowFlags), delivery_(handlers)
{
    delivery_.Suspend();

    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8(kMainWindowDescription.title));
    setWindowIcon(QIcon(QStringLiteral(":/biaobai.ico")));
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    // The frame is unknown until the window manager has framed the window, so the
    // client starts at the outer size and shrinks once the frame is reported.
    setFixedSize(kMainWindowDescription.outerWidth, kMainWindowDescription.outerHeight);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    move(screen.x() + (screen.width() - kMainWindowDescription.outerWidth) / 2,
         screen.y() + (screen.height() - kMainWindowDescription.outerHeight) / 2);

    for (auto it = kControlDescriptions.rbegin(); it != kControlDescriptions.rend(); ++it) {
        controls_[static_cast<std::size_t>(it->name)] = CreateControl(*it);
    }
    ApplyTabOrder();
    for (QWidget* control : controls_) control->show();
    Control(ControlName::名字)->setFocus();

    delivery_.Resume();
    delivery_.Deliver(*this, std::nullopt, EventKind::Created);
}

QWidget* MainWindow::CreateControl(const ControlDescription& description)
{
    const QString content = QString::fromUtf8(description.content);
    QWidget* control = nullptr;
    switch (description.kind) {
    case ControlKind::PushButton: {
        auto* button = new QPushButton(content, this);
        // Never a default button: Enter runs no command anywhere in this window.
        button->setAutoDefault(false);
        button->setDefault(false);
        const ControlName name = description.name;
        connect(button, &QPushButton::clicked, this,
                [this, name] { delivery_.Deliver(*this, name, EventKind::Click); });
        control = button;
        break;
    }
    case ControlKind::TextLabel: {
        auto* label = new QLabel(content, this);
        label->setFont(LabelFont());
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        control = label;
        break;
    }
    case ControlKind::DropDownList: {
        auto* list = new QComboBox(this);
        list->setEditable(false);
        for (const char* item : kTemplateItems) list->addItem(QString::fromUtf8(item));
        MakeRowsOnePixelTaller(list);
        list->setCurrentIndex(std::clamp(kInitialTemplate, -1, list->count() - 1));
        control = list;
        break;
    }
    case ControlKind::EditBox: {
        auto* edit = new QLineEdit(this);
        edit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        control = edit;
        break;
    }
    case ControlKind::PictureBox:
        control = new PictureBox(this);
        break;
    }
    control->setObjectName(QString::fromUtf8(description.objectName));
    control->setAccessibleName(content.isEmpty() ? control->objectName() : content);
    if (!description.tabStop) control->setFocusPolicy(Qt::NoFocus);

    // The closed drop-down list is as high as the platform makes it for its font;
    // the open list sizes itself.
    const int height = description.kind == ControlKind::DropDownList ? control->sizeHint().height()
                                                                      : description.height;
    control->setGeometry(description.left, description.top, description.width, height);
    control->hide();
    return control;
}

void MainWindow::ApplyTabOrder()
{
    // Tab stops by tab number; equal numbers keep reverse description order.
    std::vector<const ControlDescription*> order;
    for (auto it = kControlDescriptions.rbegin(); it != kControlDescriptions.rend(); ++it) {
        if (it->tabStop) order.push_back(&*it);
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const auto* a, const auto* b) { return a->tabNumber < b->tabNumber; });
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(Control(order[i - 1]->name), Control(order[i]->name));
    }
}

QSize MainWindow::ClientSizeForOuterSize() const
{
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    return QSize(kMainWindowDescription.outerWidth - frame.left() - frame.right(),
                 kMainWindowDescription.outerHeight - frame.top() - frame.bottom());
}

void MainWindow::KeepOuterSize()
{
    const QSize client = ClientSizeForOuterSize();
    if (client != size()) setFixedSize(client);
}

bool MainWindow::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowActivate:
        KeepOuterSize();
        break;
    case QEvent::WinIdChange:
        ClearWindowTitle(this);
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

PropertyValue MainWindow::ReadProperty(ControlName name, int number) const
{
    QWidget* control = Control(name);
    switch (number) {
    case PropertyLeft: return control->x();
    case PropertyTop: return control->y();
    case PropertyWidth: return control->width();
    case PropertyHeight: return control->height();
    case PropertyTag: return control->property("tag").toByteArray().toStdString();
    case PropertyVisible: return std::int32_t{control->isVisibleTo(this)};
    case PropertyDisabled: return std::int32_t{!control->isEnabled()};
    case PropertyMousePointer: return std::int32_t{0};
    default: break;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(control); edit && number == PropertyEditText) {
        return ToGbk(edit->text());
    }
    if (auto* list = qobject_cast<QComboBox*>(control); list && number == PropertyListSelection) {
        return std::int32_t{list->currentIndex()};
    }
    if (auto* box = qobject_cast<PictureBox*>(control); box && number == PropertyPicture) {
        return box->ReadPicture();
    }
    return std::monostate{};
}

void MainWindow::WriteProperty(ControlName name, int number, const PropertyValue& value)
{
    QWidget* control = Control(name);
    const auto* whole = std::get_if<std::int32_t>(&value);
    const auto* text = std::get_if<Text>(&value);
    switch (number) {
    case PropertyLeft: if (whole) control->move(*whole, control->y()); return;
    case PropertyTop: if (whole) control->move(control->x(), *whole); return;
    case PropertyWidth: if (whole) control->resize(*whole, control->height()); return;
    case PropertyHeight: if (whole) control->resize(control->width(), *whole); return;
    case PropertyTag: if (text) control->setProperty("tag", QByteArray::fromStdString(*text)); return;
    case PropertyVisible: if (whole) control->setVisible(*whole != 0); return;
    case PropertyDisabled: if (whole) control->setEnabled(*whole == 0); return;
    default: break;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(control); edit && text && number == PropertyEditText) {
        edit->setText(FromGbk(*text));
    } else if (auto* list = qobject_cast<QComboBox*>(control); list && whole && number == PropertyListSelection) {
        list->setCurrentIndex(std::clamp(*whole, -1, list->count() - 1));
    } else if (auto* box = qobject_cast<PictureBox*>(control); box && number == PropertyPicture) {
        if (const auto* bytes = std::get_if<ByteSet>(&value)) box->WritePicture(*bytes);
        else if (std::holds_alternative<std::monostate>(value)) box->WritePicture({});
    }
}

MainWindow* CreateMainWindow()
{
    auto* window = new MainWindow();
    window->show();
    window->activateWindow();
    window->raise();
    return window;
}
