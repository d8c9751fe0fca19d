#include "formbuilder.h"

#include "linklabel.h"
#include "qtext.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QValidator>

#include <algorithm>
#include <limits>

namespace brinevar {
namespace {

// Keeps a field on one line: Qt's line edit takes line breaks from a paste or
// a drop as they come. Breaks at either end of the text, such as the line end
// a copied line brings along, go; each other break (CR LF counting as one)
// becomes a blank.
class SingleLine : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override
    {
        while (!input.isEmpty() && IsBreak(input.back()))
            input.chop(1);
        while (!input.isEmpty() && IsBreak(input.front())) {
            input.remove(0, 1);
            if (pos > 0)
                --pos;
        }
        pos = std::min(pos, int(input.size()));
        for (qsizetype i = 0; i < input.size(); ++i) {
            if (!IsBreak(input[i]))
                continue;
            if (input[i] == u'\r' && i + 1 < input.size() && input[i + 1] == u'\n') {
                input.remove(i + 1, 1);
                if (pos > i + 1)
                    --pos;
            }
            input[i] = u' ';
        }
        return Acceptable;
    }

private:
    static bool IsBreak(QChar c)
    {
        return c == u'\r' || c == u'\n' || c == QChar::LineSeparator ||
               c == QChar::ParagraphSeparator;
    }
};

// A list whose current item is current only while the list has the focus:
// Qt's accessible items report the current one as focused, also once the
// focus has left the list. The item comes back with the focus, where the
// keyboard left it; the selection stays as it is.
class FocusedList : public QListWidget {
public:
    using QListWidget::QListWidget;

protected:
    void focusInEvent(QFocusEvent *event) override
    {
        if (leftAt_ >= 0)
            selectionModel()->setCurrentIndex(model()->index(leftAt_, 0),
                                              QItemSelectionModel::NoUpdate);
        QListWidget::focusInEvent(event);
    }
    void focusOutEvent(QFocusEvent *event) override
    {
        QListWidget::focusOutEvent(event);
        leftAt_ = currentRow();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }

private:
    int leftAt_ = -1;
};

bool IsLabel(ControlKind kind)
{
    return kind == ControlKind::Label || kind == ControlKind::LinkLabel;
}

QWidget *Create(const ControlRow &row, QWidget *parent)
{
    const QString text = Utf8(row.text);
    switch (row.kind) {
    case ControlKind::TextField: {
        auto *field = new QLineEdit(text, parent);
        field->setMaxLength(std::numeric_limits<int>::max());
        KeepOnOneLine(field);
        return field;
    }
    case ControlKind::Label:
    case ControlKind::LinkLabel: {
        const QString shown = Utf8(ShownText(row.text));
        QLabel *label = row.kind == ControlKind::LinkLabel
                            ? new LinkLabel(shown, AccessKey(row.text), parent)
                            : new QLabel(shown, parent);
        if (row.textColour) {
            QPalette palette = label->palette();
            palette.setColor(QPalette::WindowText, ToQColor(*row.textColour));
            label->setPalette(palette);
        }
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFocusPolicy(Qt::NoFocus);
        // Labels are opaque, so a label stacked above another hides it.
        label->setAutoFillBackground(true);
        return label;
    }
    case ControlKind::CommandButton:
    case ControlKind::DefaultButton: {
        auto *button = new QPushButton(text, parent);
        // Enter and Esc trigger only a default button.
        const bool isDefault = row.kind == ControlKind::DefaultButton;
        button->setAutoDefault(isDefault);
        button->setDefault(isDefault);
        return button;
    }
    case ControlKind::ListBox: {
        auto *list = new FocusedList(parent);
        if (!text.isEmpty())
            list->addItems(text.split(QLatin1Char('\n')));
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        return list;
    }
    }
    return nullptr;
}

} // namespace

void KeepOnOneLine(QLineEdit *field)
{
    field->setValidator(new SingleLine(field));
}

QRect TwipsToRect(int left, int top, int width, int height, int dpi)
{
    return QRect(TwipsToPixels(left, dpi), TwipsToPixels(top, dpi), TwipsToPixels(width, dpi),
                 TwipsToPixels(height, dpi));
}

void PlaceControls(QWidget *parent, std::span<const ControlRow> rows, int dpi)
{
    for (const ControlRow &row : rows)
        if (QWidget *widget = FindControl(parent, Utf8(row.name), row.index))
            widget->setGeometry(TwipsToRect(row.left, row.top, row.width, row.height, dpi));
}

QWidgetList BuildControls(QWidget *parent, std::span<const ControlRow> rows)
{
    // Qt draws later siblings above earlier ones: create the labels first.
    QWidgetList widgets(qsizetype(rows.size()), nullptr);
    for (const bool labels : {true, false}) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const ControlRow &row = rows[i];
            if (IsLabel(row.kind) != labels)
                continue;
            QWidget *widget = Create(row, parent);
            widget->setObjectName(Utf8(row.name));
            if (row.index >= 0)
                widget->setProperty("index", row.index);
            widget->setGeometry(TwipsToRect(row.left, row.top, row.width, row.height));
            widgets[qsizetype(i)] = widget;
        }
    }

    QWidget *previous = nullptr;
    for (const ControlRow *row : FocusOrder(rows)) {
        QWidget *widget = widgets[row - rows.data()];
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
    return widgets;
}

QWidget *FindControl(const QWidget *parent, const QString &name, int index)
{
    const auto candidates = parent->findChildren<QWidget *>(name, Qt::FindDirectChildrenOnly);
    for (QWidget *widget : candidates) {
        const QVariant property = widget->property("index");
        if (property.isValid() ? property.toInt() == index : index < 0)
            return widget;
    }
    return nullptr;
}

void SetListColumns(QListWidget *list, int columns)
{
    list->setFlow(QListView::TopToBottom);
    list->setWrapping(true);
    list->setResizeMode(QListView::Adjust);
    list->setUniformItemSizes(true);
    // An item's trailing tab reaches past a narrow column (Qt's tab stops do
    // not shrink with the font); the text before it is whole, so nothing is
    // elided.
    list->setTextElideMode(Qt::ElideNone);
    // The viewport takes its size only when the list is first shown.
    const int width = list->contentsRect().width() / columns;
    list->setGridSize(QSize(width, list->fontMetrics().height()));
}

} // namespace brinevar
