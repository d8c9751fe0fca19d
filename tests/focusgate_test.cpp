// The focus gate on a small window of its own: a guarded field, and controls
// that take the focus or do not. Presses go through the window, as a user's
// do; a press sent straight to a widget would pass the gate by.
#include "focusgate.h"
#include "testsupport.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace brinevar;

namespace {

template <typename Widget> Widget *Named(Widget *widget, const char *name)
{
    widget->setObjectName(name);
    return widget;
}

class GateWindow : public QWidget {
public:
    explicit GateWindow(Dialogs &answers) : dialogs(&answers)
    {
        guarded->move(10, 10);
        other->move(10, 40);
        button->move(10, 70);
        list->setGeometry(10, 100, 120, 60);
        list->addItems({"0 Grass", "1 Savannah grass"});
        label->setGeometry(150, 10, 100, 20);
        disabled->move(150, 70);
        disabled->setEnabled(false);
        resize(300, 180);
        gate->setValidate(guarded, [this](bool &Cancel) {
            ++validations;
            if (refuse) {
                dialogs->message(this, "refused");
                Cancel = true;
            }
        });
        gate->connectCommand(button, [this] { ++commands; });
        label->setBuddy(other);
    }

    Dialogs *dialogs;
    bool refuse = true;
    int validations = 0;
    int commands = 0;
    QLineEdit *guarded = Named(new QLineEdit("18", this), "guarded");
    QLineEdit *other = Named(new QLineEdit(this), "other");
    QPushButton *button = Named(new QPushButton("&Save", this), "button");
    QListWidget *list = Named(new QListWidget(this), "list");
    QLabel *label = Named(new QLabel("&View path", this), "label");
    QPushButton *disabled = Named(new QPushButton("Off", this), "disabled");
    FocusGate *gate = new FocusGate(this);

    QWidget *named(const QString &name) { return findChild<QWidget *>(name); }
};

// Presses `button` on `target` through its window; on a list, on its first item.
void Click(QWidget *target, Qt::MouseButton button = Qt::LeftButton)
{
    auto *list = qobject_cast<QListWidget *>(target);
    if (!list)
        return ClickThroughWindow(target, button);
    QWidget *window = list->window();
    const QPoint at = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(window->windowHandle(), button, {}, list->viewport()->mapTo(window, at));
}

} // namespace

class FocusGateTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void pressOnControlThatTakesFocus_data();
    void pressOnControlThatTakesFocus();
    void pressThatGivesNoFocusRunsNoCheck_data();
    void pressThatGivesNoFocusRunsNoCheck();
    void refusedPressIsSwallowedUntilReleased();
    void refusedDoubleClickReachesNothing();
    void otherMouseButtonsMoveTheFocusToo();
    void tabKeys_data();
    void tabKeys();
    void otherKeysStayInTheField();
    void programAndClosingRunNoCheck();
    void enterPressesTheFocusedButton_data();
    void enterPressesTheFocusedButton();
    void commandsRunByOtherMeansAreRefusedAsAClickIs_data();
    void commandsRunByOtherMeansAreRefusedAsAClickIs();
    void captionMnemonicAsksBeforeGivingItsBuddyTheFocus();
    void realMessageBoxThenWindowIsActiveAgain();

private:
    std::unique_ptr<FakeDialogs> dialogs_;
    std::unique_ptr<GateWindow> window_;
};

void FocusGateTest::init()
{
    dialogs_ = std::make_unique<FakeDialogs>();
    window_ = std::make_unique<GateWindow>(*dialogs_);
    window_->show();
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    window_->guarded->setFocus();
    QCOMPARE(QApplication::focusWidget(), window_->guarded);
}

void FocusGateTest::cleanup()
{
    window_.reset();
    dialogs_.reset();
}

void FocusGateTest::pressOnControlThatTakesFocus_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("refuse");
    for (const char *target : {"other", "button", "list"}) {
        QTest::addRow("%s refused", target) << target << true;
        QTest::addRow("%s allowed", target) << target << false;
    }
}

void FocusGateTest::pressOnControlThatTakesFocus()
{
    QFETCH(QString, target);
    QFETCH(bool, refuse);
    GateWindow &w = *window_;
    w.refuse = refuse;
    QWidget *widget = w.named(target);
    QSignalSpy clicked(w.button, &QPushButton::clicked);
    Click(widget);

    QCOMPARE(w.validations, 1);
    QCOMPARE(dialogs_->messages, refuse ? QStringList{"refused"} : QStringList());
    QCOMPARE(QApplication::focusWidget(), refuse ? w.guarded : widget);
    QCOMPARE(clicked.size(), widget == w.button && !refuse ? 1 : 0);
    QCOMPARE(w.list->currentRow(), widget == w.list && !refuse ? 0 : -1);
    QCOMPARE(w.guarded->text(), QStringLiteral("18"));

    if (refuse) { // and again, each time
        Click(widget);
        QCOMPARE(w.validations, 2);
        QCOMPARE(dialogs_->messages.size(), 2);
        QCOMPARE(QApplication::focusWidget(), w.guarded);
    }
}

void FocusGateTest::pressThatGivesNoFocusRunsNoCheck_data()
{
    // clang-format off
    QTest::addColumn<QString>("target");
    QTest::newRow("label") << "label";
    QTest::newRow("disabled button") << "disabled";
    QTest::newRow("the field itself") << "guarded";
    QTest::newRow("bare window") << "window";
    // clang-format on
}

void FocusGateTest::pressThatGivesNoFocusRunsNoCheck()
{
    QFETCH(QString, target);
    GateWindow &w = *window_;
    if (target == "window")
        QTest::mouseClick(w.windowHandle(), Qt::LeftButton, {}, QPoint(280, 170));
    else
        Click(w.named(target));
    QCOMPARE(w.validations, 0);
    QVERIFY(dialogs_->messages.isEmpty());
    QCOMPARE(QApplication::focusWidget(), w.guarded);
}

void FocusGateTest::refusedPressIsSwallowedUntilReleased()
{
    // A drag from a refused press across the list selects nothing.
    GateWindow &w = *window_;
    auto itemAt = [&](int row) {
        return w.list->viewport()->mapTo(&w, w.list->visualItemRect(w.list->item(row)).center());
    };
    QTest::mousePress(w.windowHandle(), Qt::LeftButton, {}, itemAt(1));
    QTest::mouseMove(w.windowHandle(), itemAt(0));
    QTest::mouseRelease(w.windowHandle(), Qt::LeftButton, {}, itemAt(0));
    QCOMPARE(w.validations, 1);
    QCOMPARE(w.list->currentRow(), -1);
    QVERIFY(w.list->selectedItems().isEmpty());

    // Nothing is left behind: the next click passes.
    w.refuse = false;
    QSignalSpy clicked(w.button, &QPushButton::clicked);
    Click(w.button);
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(QApplication::focusWidget(), w.button);
}

void FocusGateTest::refusedDoubleClickReachesNothing()
{
    GateWindow &w = *window_;
    QSignalSpy clicked(w.button, &QPushButton::clicked);
    QSignalSpy doubleClicked(w.list, &QListWidget::itemDoubleClicked);
    for (QWidget *target : {static_cast<QWidget *>(w.button), static_cast<QWidget *>(w.list)})
        QTest::mouseDClick(w.windowHandle(), Qt::LeftButton, {}, target->mapTo(&w, QPoint(5, 5)));
    QCOMPARE(clicked.size(), 0);
    QCOMPARE(doubleClicked.size(), 0);
    QCOMPARE(w.list->currentRow(), -1);
    QCOMPARE(QApplication::focusWidget(), w.guarded);
    // Each of the two presses is refused once; the double click they make is not asked again.
    QCOMPARE(w.validations, 4);
    QCOMPARE(dialogs_->messages.size(), 4);
}

void FocusGateTest::otherMouseButtonsMoveTheFocusToo()
{
    GateWindow &w = *window_;
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        Click(w.button, button);
        QCOMPARE(QApplication::focusWidget(), w.guarded);
    }
    QCOMPARE(w.validations, 2);
    w.refuse = false;
    Click(w.button, Qt::RightButton);
    QCOMPARE(QApplication::focusWidget(), w.button);
}

void FocusGateTest::tabKeys_data()
{
    // clang-format off
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("refuse");
    QTest::addColumn<QString>("next");
    QTest::newRow("Tab refused") << int(Qt::Key_Tab) << 0 << true << "guarded";
    QTest::newRow("Tab allowed") << int(Qt::Key_Tab) << 0 << false << "other";
    QTest::newRow("Shift+Tab refused") << int(Qt::Key_Tab) << int(Qt::ShiftModifier) << true << "guarded";
    // Backwards wraps round to the last control that takes the focus.
    QTest::newRow("Shift+Tab allowed") << int(Qt::Key_Tab) << int(Qt::ShiftModifier) << false << "list";
    QTest::newRow("Backtab refused") << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << true << "guarded";
    // clang-format on
}

void FocusGateTest::tabKeys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, refuse);
    QFETCH(QString, next);
    GateWindow &w = *window_;
    w.refuse = refuse;
    QTest::keyClick(w.guarded, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(w.validations, 1);
    QCOMPARE(dialogs_->messages.size(), refuse ? 1 : 0);
    QCOMPARE(QApplication::focusWidget(), w.named(next));
    QCOMPARE(w.guarded->text(), QStringLiteral("18"));
}

void FocusGateTest::otherKeysStayInTheField()
{
    GateWindow &w = *window_;
    QTest::keyClick(w.guarded, Qt::Key_Return);
    QTest::keyClick(w.guarded, Qt::Key_Tab, Qt::ControlModifier);
    QTest::keyClicks(w.guarded, "5");
    QCOMPARE(w.validations, 0);
    QCOMPARE(w.guarded->text(), QStringLiteral("185"));
}

void FocusGateTest::programAndClosingRunNoCheck()
{
    GateWindow &w = *window_;
    w.guarded->setText("99");
    w.other->setText("x");
    QCOMPARE(w.validations, 0);
    w.close();
    QVERIFY(!w.isVisible());
    QCOMPARE(w.validations, 0);
    QVERIFY(dialogs_->messages.isEmpty());
}

void FocusGateTest::enterPressesTheFocusedButton_data()
{
    // clang-format off
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("commands");
    QTest::newRow("Return") << int(Qt::Key_Return) << 0 << 1;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 1;
    QTest::newRow("Space, as ever") << int(Qt::Key_Space) << 0 << 1;
    QTest::newRow("Ctrl+Return") << int(Qt::Key_Return) << int(Qt::ControlModifier) << 0;
    // clang-format on
}

void FocusGateTest::enterPressesTheFocusedButton()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, commands);
    GateWindow &w = *window_;
    w.button->setFocus();
    QTest::keyClick(w.button, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(w.commands, commands);
    QCOMPARE(w.validations, 0);
    QCOMPARE(QApplication::focusWidget(), w.button);
}

void FocusGateTest::commandsRunByOtherMeansAreRefusedAsAClickIs_data()
{
    QTest::addColumn<QString>("means");
    QTest::addColumn<bool>("refuse");
    for (const char *means : {"click()", "accessibility Press", "mnemonic Alt+S"}) {
        QTest::addRow("%s refused", means) << means << true;
        QTest::addRow("%s allowed", means) << means << false;
    }
}

void FocusGateTest::commandsRunByOtherMeansAreRefusedAsAClickIs()
{
    QFETCH(QString, means);
    QFETCH(bool, refuse);
    GateWindow &w = *window_;
    w.refuse = refuse;
    if (means == "click()") {
        w.button->click();
    } else if (means == "accessibility Press") {
        QAccessibleInterface *button = QAccessible::queryAccessibleInterface(w.button);
        QVERIFY(button && button->actionInterface());
        button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    } else {
        QTest::keyClick(&w, Qt::Key_S, Qt::AltModifier);
    }
    // The last two click 100 ms later, as an animated press does.
    QTRY_COMPARE(w.validations, 1);
    if (refuse) {
        QTest::qWait(300);
        QCOMPARE(w.commands, 0);
        QCOMPARE(dialogs_->messages, QStringList{"refused"});
        QCOMPARE(QApplication::focusWidget(), w.guarded);
    } else {
        QTRY_COMPARE(w.commands, 1);
        QVERIFY(dialogs_->messages.isEmpty());
    }
    QCOMPARE(w.validations, 1);
}

void FocusGateTest::captionMnemonicAsksBeforeGivingItsBuddyTheFocus()
{
    GateWindow &w = *window_;
    QTest::keyClick(&w, Qt::Key_V, Qt::AltModifier);
    QCOMPARE(w.validations, 1);
    QCOMPARE(QApplication::focusWidget(), w.guarded);
    w.refuse = false;
    QTest::keyClick(&w, Qt::Key_V, Qt::AltModifier);
    QCOMPARE(w.validations, 2);
    QCOMPARE(QApplication::focusWidget(), w.other);
}

void FocusGateTest::realMessageBoxThenWindowIsActiveAgain()
{
    Dialogs plain; // the plain Qt message box
    GateWindow &w = *window_;
    w.dialogs = &plain;
    QSignalSpy clicked(w.button, &QPushButton::clicked);
    // The box is answered with a press on its own window, which the gate lets by.
    MessageBoxSeen seen;
    AnswerNextMessageBox(seen);
    Click(w.button);

    QCOMPARE(seen.title, QStringLiteral("Brinevar"));
    QCOMPARE(seen.text, QStringLiteral("refused"));
    QCOMPARE(seen.buttons, 1);
    QCOMPARE(w.validations, 1);
    QCOMPARE(clicked.size(), 0);
    QTRY_COMPARE(QApplication::activeWindow(), &w);
    QCOMPARE(QApplication::focusWidget(), w.guarded);
    // Typing goes on into the field.
    QTest::keyClicks(QApplication::focusWidget(), "0");
    QCOMPARE(w.guarded->text(), QStringLiteral("180"));
}

QTEST_MAIN(FocusGateTest)
#include "focusgate_test.moc"
