// Widget tests of the main window on Qt's offscreen platform.
#include <QApplication>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include "app/keyboard_handling.h"
#include "app/main_window.h"
#include "app/picture_box.h"
#include "app/window_description.h"
#include "recording_handlers.h"

namespace {

// A shown, active main window with the keyboard handling the program installs.
struct ShownWindow {
    ShownWindow() : window(CreateMainWindow())
    {
        new KeyboardHandling(window);
        QApplication::setActiveWindow(window);
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(window);
    }
    ~ShownWindow() { delete window.data(); }

    template <class T = QWidget>
    T* control(ControlName name) const
    {
        return qobject_cast<T*>(window->Control(name));
    }

    QPointer<MainWindow> window;
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        generateClicks = 0;
        saveClicks = 0;
    }

    void windowLooksAsDescribed()
    {
        ShownWindow shown;
        MainWindow& window = *shown.window;
        QCOMPARE(window.windowTitle(), QString());
        QCOMPARE(window.frameGeometry().size(), QSize(567, 189));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(window.windowFlags() & Qt::WindowCloseButtonHint);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(window.frameGeometry().topLeft(), QPoint((screen.width() - 567) / 2, (screen.height() - 189) / 2));
        QCOMPARE(window.backgroundRole(), QPalette::Button);
        QVERIFY(!window.windowIcon().isNull());
        QVERIFY(window.windowIcon().availableSizes().contains(QSize(32, 32)));
        QVERIFY(window.windowIcon().availableSizes().contains(QSize(16, 16)));
    }

    void controlsAreCreatedInReverseDescriptionOrder()
    {
        ShownWindow shown;
        QStringList created;
        for (QObject* child : shown.window->children()) {
            if (!child->objectName().isEmpty()) created << child->objectName();
        }
        QCOMPARE(created, (QStringList{"表白", "名字", "透明标签1", "离婚", "透明标签2", "按钮1", "按钮2"}));
    }

    void controlsSitAtTheirPlaces()
    {
        ShownWindow shown;
        for (const ControlDescription& d : kControlDescriptions) {
            QWidget* control = shown.control(d.name);
            QVERIFY(control->isVisible());
            QVERIFY(control->isEnabled());
            const int height = d.kind == ControlKind::DropDownList ? control->sizeHint().height() : d.height;
            QCOMPARE(control->geometry(), QRect(d.left, d.top, d.width, height));
            for (int number : {PropertyLeft, PropertyTop, PropertyWidth, PropertyHeight}) {
                const int expected[] = {d.left, d.top, d.width, height};
                QCOMPARE(std::get<std::int32_t>(shown.window->ReadProperty(d.name, number)), expected[number]);
            }
        }
    }

    void controlsStartWithTheirContent()
    {
        ShownWindow shown;
        QCOMPARE(shown.control<QPushButton>(ControlName::按钮1)->text(), QString("生成"));
        QCOMPARE(shown.control<QPushButton>(ControlName::按钮2)->text(), QString("保存"));
        for (auto name : {ControlName::按钮1, ControlName::按钮2}) {
            QVERIFY(!shown.control<QPushButton>(name)->autoDefault());
            QVERIFY(!shown.control<QPushButton>(name)->isDefault());
        }
        for (auto [name, text] : {std::pair{ControlName::透明标签1, "名字："}, {ControlName::透明标签2, "内容"}}) {
            auto* label = shown.control<QLabel>(name);
            QCOMPARE(label->text(), QString(text));
            QCOMPARE(label->font().weight(), QFont::Bold);
            QCOMPARE(label->font().pixelSize(), 12);
            QVERIFY(!label->autoFillBackground());
            QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        }
        auto* list = shown.control<QComboBox>(ControlName::离婚);
        QVERIFY(!list->isEditable());
        QCOMPARE(list->count(), 4);
        for (int i = 0; i < 4; ++i) QCOMPARE(list->itemText(i), QString::fromUtf8(kTemplateItems[i]));
        QCOMPARE(list->currentText(), QString("嫁给我吧"));
        QCOMPARE(shown.control<QLineEdit>(ControlName::名字)->text(), QString());
        QCOMPARE(shown.control(ControlName::表白)->focusPolicy(), Qt::NoFocus);
        QCOMPARE(shown.control(ControlName::名字)->accessibleName(), QString("名字"));
        QCOMPARE(shown.control(ControlName::按钮1)->accessibleName(), QString("生成"));
    }

    void listRowsAreOnePixelTaller()
    {
        ShownWindow shown;
        auto* list = shown.control<QComboBox>(ControlName::离婚);
        QComboBox plain;
        plain.addItem(list->itemText(0));
        QStyleOptionViewItem option;
        option.initFrom(list->view());
        const QModelIndex index = list->model()->index(0, 0);
        QCOMPARE(list->itemDelegate()->sizeHint(option, index).height(),
                 plain.itemDelegate()->sizeHint(option, plain.model()->index(0, 0)).height() + 1);
    }

    void focusStartsInTheNameAndTabCycles()
    {
        ShownWindow shown;
        QCOMPARE(QApplication::focusWidget(), shown.control(ControlName::名字));
        const ControlName order[] = {ControlName::离婚, ControlName::按钮1, ControlName::按钮2, ControlName::名字};
        for (ControlName next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), shown.control(next));
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), shown.control(ControlName::按钮2));
    }

    void enterRunsNoCommandAndSpaceClicks()
    {
        ShownWindow shown;
        for (auto name : {ControlName::名字, ControlName::离婚, ControlName::按钮1, ControlName::按钮2}) {
            shown.control(name)->setFocus();
            QTest::keyClick(shown.control(name), Qt::Key_Return);
            QTest::keyClick(shown.control(name), Qt::Key_Enter, Qt::KeypadModifier);
        }
        QCOMPARE(generateClicks + saveClicks, 0);
        QVERIFY(shown.window->isVisible());

        shown.control(ControlName::按钮1)->setFocus();
        QTest::keyClick(shown.control(ControlName::按钮1), Qt::Key_Space);
        QCOMPARE(generateClicks, 1);
        QTest::mouseClick(shown.control(ControlName::按钮2), Qt::LeftButton);
        QCOMPARE(saveClicks, 1);
    }

    void escapeAloneClosesFromEveryControl_data()
    {
        QTest::addColumn<int>("control");
        QTest::newRow("名字") << int(ControlName::名字);
        QTest::newRow("离婚") << int(ControlName::离婚);
        QTest::newRow("按钮1") << int(ControlName::按钮1);
        QTest::newRow("按钮2") << int(ControlName::按钮2);
    }

    void escapeAloneClosesFromEveryControl()
    {
        QFETCH(int, control);
        ShownWindow shown;
        QWidget* focused = shown.control(static_cast<ControlName>(control));
        focused->setFocus();
        for (auto modifier : {Qt::ControlModifier, Qt::ShiftModifier, Qt::AltModifier}) {
            QTest::keyClick(focused, Qt::Key_Escape, modifier);
            QVERIFY(shown.window->isVisible());
        }
        QTest::keyClick(focused, Qt::Key_Escape);
        QTRY_VERIFY(shown.window.isNull());  // closed and deleted
    }

    void escapeClosesWhileTheListIsOpen()
    {
        ShownWindow shown;
        auto* list = shown.control<QComboBox>(ControlName::离婚);
        list->showPopup();
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        QTRY_VERIFY(shown.window.isNull());
    }

    void editTextReadsAsGbk()
    {
        ShownWindow shown;
        auto* edit = shown.control<QLineEdit>(ControlName::名字);
        const struct {
            QString typed;
            Text gbk;
        } cases[] = {
            {"", ""},
            {"张三", "\xD5\xC5\xC8\xFD"},
            {"张三 a_b.c~", "\xD5\xC5\xC8\xFD a_b.c~"},
            {QString::fromUtf8("\xE2\x82\xAC"), "\x80"},  // the euro sign is byte 0x80 in GBK
            {QString::fromUtf8("a\xE0\xB8\x81z"), "a?z"},   // Thai ko kai has no GBK form
            {QString(300, QChar('x')), Text(300, 'x')},    // longer than the box: whole
        };
        for (const auto& c : cases) {
            edit->setText(c.typed);
            QCOMPARE(std::get<Text>(shown.window->ReadProperty(ControlName::名字, PropertyEditText)), c.gbk);
        }
        shown.window->WriteProperty(ControlName::名字, PropertyEditText, Text("\xC0\xEE\xCB\xC4"));
        QCOMPARE(edit->text(), QString("李四"));
    }

    void selectionReadsAndWritesWithinRange()
    {
        ShownWindow shown;
        auto* list = shown.control<QComboBox>(ControlName::离婚);
        auto selection = [&] {
            return std::get<std::int32_t>(shown.window->ReadProperty(ControlName::离婚, PropertyListSelection));
        };
        QCOMPARE(selection(), 0);
        list->setCurrentIndex(3);
        QCOMPARE(selection(), 3);
        const std::pair<std::int32_t, std::int32_t> writes[] = {{-1, -1}, {2, 2}, {9, 3}, {-7, -1}};
        for (auto [written, read] : writes) {
            shown.window->WriteProperty(ControlName::离婚, PropertyListSelection, written);
            QCOMPARE(selection(), read);
        }
    }

    void pictureBytesComeBackUnchanged()
    {
        ShownWindow shown;
        auto picture = [&] { return std::get<ByteSet>(shown.window->ReadProperty(ControlName::表白, PropertyPicture)); };
        QVERIFY(picture().empty());
        const ByteSet html = ToByteSet(std::string_view("<html><body>404</body></html>\0\xFF", 31));
        shown.window->WriteProperty(ControlName::表白, PropertyPicture, html);
        QVERIFY(picture() == html);
        QVERIFY(picture() == html);
        shown.window->WriteProperty(ControlName::表白, PropertyPicture, ByteSet{});
        QVERIFY(picture().empty());
        // A property that a control does not have reads as no value.
        QVERIFY(std::holds_alternative<std::monostate>(shown.window->ReadProperty(ControlName::名字, PropertyPicture)));
    }

    void eventsWaitUntilTheWindowIsBuilt()
    {
        static int delivered = 0;
        const HandlerBinding table[] = {{ControlName::按钮1, EventKind::Click, [](PropertyAccess&) { ++delivered; }}};
        EventDelivery delivery(table);
        ShownWindow shown;
        delivery.Suspend();
        delivery.Deliver(*shown.window, ControlName::按钮1, EventKind::Click);
        QCOMPARE(delivered, 0);
        delivery.Resume();
        delivery.Deliver(*shown.window, ControlName::按钮1, EventKind::Click);
        delivery.Deliver(*shown.window, ControlName::按钮2, EventKind::Click);  // unbound: dropped
        QCOMPARE(delivered, 1);
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
