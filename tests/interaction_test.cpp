// The main window in use: the focus order, keys in the fields, the link
// captions and their access keys, the terrain list and pasting.
#include "frmmain.h"
#include "linklabel.h"
#include "testsupport.h"

#include <QAccessible>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

using namespace brinevar;

namespace {

QString Describe(const QWidget *widget)
{
    const QVariant index = widget->property("index");
    return index.isValid() ? QStringLiteral("%1(%2)").arg(widget->objectName()).arg(index.toInt())
                           : widget->objectName();
}

const QStringList kFocusOrder = {
    "Text1",       "Text17",      "Text18",      "Text19",      "Text20",      "Text9",
    "Text10",      "Text11",      "Text12",      "Text13",      "Text15",      "Text16",
    "Text14",      "Text2",       "Text3",       "Text4",       "Text5",       "Text6",
    "Text7",       "Text8",       "Command3",    "cmdDefault",  "Command1(0)", "Command1(1)",
    "Command1(2)", "Command2(3)", "Command1(5)", "Command2(5)", "Command1(9)", "Command2(9)",
    "List1",       "Command2(0)"};

// clang-format off
const QStringList kTerrains = {
    "0 Grass", "1 Savannah grass\t", "2 Sand", "3 Dirt", "4 Rainforest floor", "5 Brown stone",
    "6 Gray stone", "7 Gravel", "8 Snow", "9 Fresh water", "10 Salt water", "11 Deciduous floor",
    "12 Waterfall", "13 Coniferous floor", "14 Concrete", "15 Asphalt", "16 Trampled", "17 Gunite"};
// clang-format on

} // namespace

class InteractionTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void focusWalksTheOrderBothWays();
    void enterAndEscInAFieldRunNothing();
    void linkLabelClickLeavesTheFocus_data();
    void linkLabelClickLeavesTheFocus();
    void terrainList();
    void screenReadersSeeAWindowAndWhereTheFocusIs();
    void selectingATerrainChangesNoField();
    void pastedLineBreaksBecomeBlanks();

private:
    std::unique_ptr<MainWindowSession> session_;
};

void InteractionTest::init()
{
    session_ = std::make_unique<MainWindowSession>();
}

void InteractionTest::cleanup()
{
    session_.reset();
}

void InteractionTest::focusWalksTheOrderBothWays()
{
    QVERIFY(session_->showActive());
    QCOMPARE(QApplication::focusWidget(), Field(session_->window, "saltWater"));

    QStringList forward{Describe(QApplication::focusWidget())};
    for (int i = 0; i < kFocusOrder.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        forward << Describe(QApplication::focusWidget());
    }
    QCOMPARE(forward, kFocusOrder + QStringList{"Text1"});

    QStringList backward{Describe(QApplication::focusWidget())};
    for (int i = 0; i < kFocusOrder.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        backward.prepend(Describe(QApplication::focusWidget()));
    }
    QCOMPARE(backward, kFocusOrder + QStringList{"Text1"});
}

void InteractionTest::enterAndEscInAFieldRunNothing()
{
    QVERIFY(session_->showActive());
    const TankSettings before = Texts(session_->window);
    for (const Setting &setting : Catalogue()) {
        QLineEdit *field = Field(session_->window, setting.name);
        field->setFocus();
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(field, key);
        QCOMPARE(QApplication::focusWidget(), field);
    }
    QVERIFY(session_->dialogs.messages.isEmpty());
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(session_->window.isVisible());
    QCOMPARE(Texts(session_->window), before);
}

void InteractionTest::linkLabelClickLeavesTheFocus_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("accessKey");
    QTest::newRow("View ZT Path") << "Label41" << int(Qt::Key_V);
    QTest::newRow("About") << "Label43" << int(Qt::Key_A);
}

void InteractionTest::linkLabelClickLeavesTheFocus()
{
    QFETCH(QString, name);
    QFETCH(int, accessKey);
    auto *label = session_->window.findChild<LinkLabel *>(name);
    QVERIFY(label);
    // Only the label is tested here; what its click runs is tested elsewhere.
    QObject::disconnect(label, &LinkLabel::clicked, &session_->window, nullptr);
    QSignalSpy clicks(label, &LinkLabel::clicked);
    QVERIFY(session_->showActive());
    QLineEdit *field = session_->window.findChild<QLineEdit *>("Text8");
    field->setFocus();
    QTest::mouseClick(label, Qt::LeftButton);
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(QApplication::focusWidget(), field);
    // A press that ends outside the label is no click.
    QTest::mousePress(label, Qt::LeftButton);
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(-5, -5));
    QCOMPARE(clicks.size(), 1);
    // Its access key clicks it as the mouse does: the focus stays, and a
    // field's text that its check refuses is not checked, as it is not
    // checked when the caption is clicked.
    field->setText("99");
    QTest::keyClick(field, Qt::Key(accessKey), Qt::AltModifier);
    QCOMPARE(clicks.size(), 2);
    QCOMPARE(QApplication::focusWidget(), field);
    QVERIFY(session_->dialogs.messages.isEmpty());
    // A screen reader reads its words and its key, and presses it alike.
    QAccessibleInterface *link = QAccessible::queryAccessibleInterface(label);
    QCOMPARE(link->role(), QAccessible::StaticText);
    QCOMPARE(link->text(QAccessible::Name), label->text());
    QAccessibleActionInterface *actions = link->actionInterface();
    QVERIFY(actions);
    const QString press = QAccessibleActionInterface::pressAction();
    QCOMPARE(
        actions->keyBindingsForAction(press),
        QStringList{QKeySequence(Qt::ALT | Qt::Key(accessKey)).toString(QKeySequence::NativeText)});
    actions->doAction(press);
    QTRY_COMPARE(clicks.size(), 3);
    QCOMPARE(QApplication::focusWidget(), field);
}

void InteractionTest::terrainList()
{
    QListWidget *list = Find<QListWidget>(session_->window, "List1");
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    QCOMPARE(items, kTerrains);
    QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
    QVERIFY(list->selectedItems().isEmpty());
    QCOMPARE(list->currentRow(), -1);

    // Two columns, each filled from the top; every item in sight.
    QVERIFY(session_->showActive());
    QList<int> columns;
    for (int i = 0; i < list->count(); ++i) {
        const QRect rect = list->visualItemRect(list->item(i));
        QVERIFY2(list->viewport()->rect().contains(rect), qPrintable(items[i]));
        if (columns.isEmpty() || rect.x() > columns.last())
            columns << rect.x();
        else
            QCOMPARE(rect.x(), columns.last());
    }
    QCOMPARE(columns.size(), 2);
    QVERIFY(list->visualItemRect(list->item(1)).y() > list->visualItemRect(list->item(0)).y());
}

void InteractionTest::screenReadersSeeAWindowAndWhereTheFocusIs()
{
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(&session_->window);
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), "Brinevar");

    QVERIFY(session_->showActive());
    QListWidget *list = Find<QListWidget>(session_->window, "List1");
    list->setFocus(Qt::TabFocusReason);
    QAccessibleInterface *first = QAccessible::queryAccessibleInterface(list)->child(0);
    QVERIFY(first);
    QVERIFY(first->state().focused);
    QTest::keyClick(list, Qt::Key_Down);
    const int row = list->currentRow();
    // Once the focus has left the list, none of its items has it; coming
    // back, the keyboard goes on from where it left.
    Find<QWidget>(session_->window, "Command2", 0)->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < list->count(); ++i)
        QVERIFY2(!QAccessible::queryAccessibleInterface(list)->child(i)->state().focused,
                 qPrintable(list->item(i)->text()));
    list->setFocus(Qt::TabFocusReason);
    QCOMPARE(list->currentRow(), row);
}

void InteractionTest::selectingATerrainChangesNoField()
{
    QVERIFY(session_->showActive());
    const TankSettings before = Texts(session_->window);
    QListWidget *list = Find<QListWidget>(session_->window, "List1");
    QListWidgetItem *gunite = list->item(17);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(gunite).center());
    QVERIFY(gunite->isSelected());
    QCOMPARE(list->selectedItems().size(), 1);
    QCOMPARE(Texts(session_->window), before);
    QCOMPARE(session_->window.findChild<QLineEdit *>("Text8")->text(), "2");
}

void InteractionTest::pastedLineBreaksBecomeBlanks()
{
    QVERIFY(session_->showActive());
    QLineEdit *field = Field(session_->window, "saltWater");
    field->setFocus();
    field->selectAll();
    QGuiApplication::clipboard()->setText("1\r\n2\n3");
    QTest::keySequence(field, QKeySequence::Paste);
    QCOMPARE(field->text(), "1 2 3");
}

QTEST_MAIN(InteractionTest)
#include "interaction_test.moc"
